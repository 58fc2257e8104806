#pragma once

#include "app/shared/Outcome.h"
#include "lists/GenderFilter.h"
#include "lists/ListSource.h"

#include <QString>

class NameListModel;

// Refills the two list panes from names.mdb for the chosen list source and gender filter,
// the names proper-cased in the order the queries return them.
class ListReloader
{
public:
    explicit ListReloader(QString databasePath);

    // A failure ends the reload where it happens. A pane whose query fails before returning a
    // row keeps its previous entries; one that fails part-way shows the rows read so far; a pane
    // refilled before the failure keeps its new entries. With no list source chosen (or no
    // gender filter, for the first names of the built-in list) that pane is left as it is.
    Outcome reload(ListSource source, GenderFilter gender, NameListModel &firstNames, NameListModel &lastNames) const;

private:
    QString m_databasePath;
};
