#pragma once

#include <QItemSelection>
#include <QString>
#include <functional>

// The texts (column 1) of the selected rows, one a line, in list order whatever order they were
// picked in, each row once, with no line end after the last. Built straight into one string:
// a million rows never exist as a list of texts beside it. appendRowText, when given, appends a
// 0-based row's text in place of the model's display text.
QString SelectedRowsText(
    const QItemSelection &selection, const std::function<void(int row, QString &buffer)> &appendRowText = {});
