#pragma once

#include "app/shared/Outcome.h"

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <span>

// The shipped tables' one file form: UTF-8 rows of tab-separated fields, LF or CRLF line ends
// (a file saved by a Windows editor), a byte-order mark and a header line "list\t..." allowed.
namespace TsvTable {

// Hands each row of exactly columns fields to row, as views into the file read whole; a row of
// another count, or one row refuses, is skipped and counted, not the table. A file that cannot
// be read is a failure "<path>: <why>"; skipped rows a failure "<path>: <n> rows skipped, the
// first at line <l>, which is not "<shape>"", the good rows kept.
Outcome read(const QString &path, int columns, const QString &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped);

} // namespace TsvTable
