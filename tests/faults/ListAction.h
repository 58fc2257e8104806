#pragma once

#include <QByteArray>
#include <QString>

class ListEditFixture;

// The user actions that touch names.mdb, run against a damaged or locked database.
enum class ListAction {
    Reload, // an option click refilling the panes
    AddName, // Add First Name, with the user list chosen
    LoadFile, // Load First Names From File
    ClearNames, // Clear the user first names
};

// A name file of count lines "Loaded0", "Loaded1", ... with CR LF line ends.
QByteArray numberedFile(int count);
// Runs the action as its handler does; nameFile is what the open dialog answers.
void runListAction(ListEditFixture &fixture, ListAction action, const QString &nameFile);
