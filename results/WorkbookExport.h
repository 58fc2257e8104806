#pragma once

#include "app/shared/Outcome.h"

#include <QString>

class GeneratedNames;

// The results as a new .xlsx workbook for the spreadsheet application: one row per name from
// row 1, no header, the columns fitted to their contents.
class WorkbookExport
{
public:
    enum class Layout {
        // The row split at every single space: A the first piece, B the second, further pieces
        // dropped. A row without a space leaves B empty; two spaces in a row give an empty piece.
        TwoCells,
        OneCell, // A the whole row
    };

    // Writes the workbook to path (replaced if it exists). Rows stream to disk as they are
    // written, so a million names take little memory.
    static Outcome write(const GeneratedNames &names, Layout layout, const QString &path);
    // A new, unique .xlsx path in the temporary folder that lasts after the export: the
    // spreadsheet application reads it later. Empty with a failure when none can be made.
    static Outcome newWorkbookPath(QString &path);

    // The column width, in the sheet's character units, that fits a text of that many characters.
    static double columnWidth(qsizetype characters);

private:
    static Outcome writeRows(const GeneratedNames &names, Layout layout, const QString &path);
};
