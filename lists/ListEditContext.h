#pragma once

#include "app/shared/Outcome.h"
#include "lists/GenderFilter.h"
#include "lists/ListSource.h"

#include <QString>
#include <functional>

class Prompts;

// What adding, loading, deleting and clearing need from the main window, so that the
// step sequences run without a window. The choices are read through callbacks at the
// moment a step needs them, as the option buttons hold them then.
struct ListEditContext
{
    Prompts &prompts;
    // names.mdb (NameStore::pathIn of the application folder).
    QString databasePath;
    // The title of plain messages and input boxes.
    QString applicationTitle;
    std::function<ListSource()> listSource;
    std::function<GenderFilter()> genderFilter;
    // Refills both panes; a failure comes back to the handler that asked.
    std::function<Outcome()> reloadLists;
    // The main window's pointer: busy hourglass (true) or normal (false).
    std::function<void(bool busy)> setBusyPointer;
};
