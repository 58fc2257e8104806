#pragma once

#include <QItemSelection>
#include <QString>

// The texts (column 1) of the selected rows, one a line, in list order whatever order they were
// picked in, each row once, with no line end after the last. Built straight into one string:
// a million rows never exist as a list of texts beside it.
QString SelectedRowsText(const QItemSelection &selection);
