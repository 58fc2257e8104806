#pragma once

#include "lists/ListEditContext.h"
#include "lists/ListKind.h"
#include "lists/NameFile.h"

#include <QList>
#include <QStringList>
#include <QUrl>

class ErrorTrap;

// "Load First Names From File" (PushButton6) and "Load Last Names From File" (PushButton7):
// the user picks name files, each is loaded into the chosen list, then the panes are refilled.
class NameFileLoader
{
public:
    explicit NameFileLoader(const ListEditContext &context);

    void loadFiles(ListKind kind);
    // Files dropped on a pane: loaded as loadFiles loads the same files chosen in its dialog.
    // Only files on this computer are taken; the others are named in one plain message first.
    void loadDroppedFiles(ListKind kind, const QList<QUrl> &urls);

    // Loads one file's names into the table of the kind and the current list source. Every
    // file is stored whole or not at all: its names go in under one transaction, and a file
    // that cannot be read or is no UTF-8 text is refused before anything is stored, and so is
    // every file while the database is read-only. A name the database refuses is reported at
    // its step and the others are still stored; a failure of the database itself (locked,
    // corrupt, a table missing) is reported once and none of the file's names are kept.
    void FileToListview(const QString &path, ListKind kind);

    // The step reported when the database refuses a name from the given place of a line.
    static int insertLine(NameFile::Place place, ListKind kind, ListSource source);

private:
    // Each file in the order given, under the busy pointer, then one reload reported at [140].
    void loadPaths(ListKind kind, const QStringList &paths, ErrorTrap &trap);

    const ListEditContext &m_context;
};
