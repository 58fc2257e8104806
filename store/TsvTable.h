#pragma once

#include "app/shared/Outcome.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <map>
#include <span>

// The shipped tables' one file form: UTF-8 rows of tab-separated fields, LF or CRLF line ends
// (a file saved by a Windows editor), a byte-order mark and a header line naming the first
// column of the shape ("list\t...") allowed, the first line that is not blank.
namespace TsvTable {

// What a table's rows look like.
struct Shape
{
    int columns = 0;
    QString text; // the fields as a message names them: "list, kanji, ..."
    // Rows alike in their first keyColumns fields are one row: a repeat of the same row counts
    // once, one with other values is a bad row. 0: rows are not keyed.
    int keyColumns = 0;
    // The first fields that must each begin at least one good row.
    QList<QByteArray> lists;
};

// Hands each row of exactly columns fields to row, as views into the file read whole; a row of
// another count, a repeat with other values, or one row refuses, is skipped and counted, not
// the table. A file that cannot be read, or one damaged as a whole, is a failure
// "<path>: <why>" with skipped 0: empty, without a row, without a row of one of the lists, or
// cut short (its last line has no line end: a row, or a number, may be cut in half). Skipped
// rows alone are a failure "<path>: <n> rows skipped, the first at line <l>, ...", the good
// rows kept.
Outcome read(const QString &path, const Shape &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped);
inline Outcome read(const QString &path, int columns, const QString &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped)
{
    return read(path, Shape{columns, shape, 0, {}}, row, skipped);
}

// The table of an application folder (its file fileName), read by Table::load on first use and
// kept for the rest of the run: start-up reads nothing, and a run reads each table once.
template <typename Table> const Table &shipped(const QString &applicationFolder, const QString &fileName)
{
    static std::map<QString, Table> tables;
    auto found = tables.find(applicationFolder);
    if (found == tables.end()) {
        Table table;
        static_cast<void>(Table::load(applicationFolder + QLatin1Char('/') + fileName, table));
        found = tables.emplace(applicationFolder, std::move(table)).first;
    }
    return found->second;
}

} // namespace TsvTable
