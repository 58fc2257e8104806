#pragma once

#include "app/shared/Outcome.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <map>
#include <span>

// The shipped tables' one file form: UTF-8 rows of tab-separated fields, LF or CRLF line ends
// (a file saved by a Windows editor), a byte-order mark and a header line naming the first
// column of the shape ("list\t...") allowed.
namespace TsvTable {

// Hands each row of exactly columns fields to row, as views into the file read whole; a row of
// another count, or one row refuses, is skipped and counted, not the table. A file that cannot
// be read is a failure "<path>: <why>"; skipped rows a failure "<path>: <n> rows skipped, the
// first at line <l>, which is not "<shape>"", the good rows kept.
Outcome read(const QString &path, int columns, const QString &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped);

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
