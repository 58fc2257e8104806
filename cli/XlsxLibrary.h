#pragma once

#include <QString>
#include <xlsxwriter.h>

// libxlsxwriter, opened the first time a workbook is written. Linked, it and the libraries it
// pulls in (libcrypto among them) cost every run of toviska-cli a third of a one-name run's
// time, for a format few runs write.
class XlsxLibrary
{
public:
    // The library's functions, or null with why in error when it cannot be opened.
    static const XlsxLibrary *open(QString &error);

    decltype(&workbook_new_opt) newWorkbook = nullptr;
    decltype(&workbook_add_worksheet) addWorksheet = nullptr;
    decltype(&worksheet_write_string) writeString = nullptr;
    decltype(&workbook_close) closeWorkbook = nullptr;
    decltype(&lxw_strerror) errorText = nullptr;
};
