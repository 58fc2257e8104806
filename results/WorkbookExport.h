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
        // Kanji with hiragana: A and B the kanji of the parts, C and D their hiragana.
        TwoCells,
        OneCell, // A the whole row
    };

    // The part of the writing that failed, so that the caller can name its own step.
    enum class Step {
        None,
        Create, // the new workbook and its sheet
        FirstCell, // a cell of column A
        SecondCell, // a cell of column B
        ReadingCell, // a cell of column C or D: the hiragana of kanji with their hiragana
        FitColumns,
        Finish, // the workbook put together into its file
    };

    // Writes the workbook to path (replaced if it exists). Rows stream to disk as they are
    // written, so a million names take little memory. On a failure, failedStep (when given)
    // names the part that failed, and no file is left at path.
    static Outcome write(const GeneratedNames &names, Layout layout, const QString &path, Step *failedStep = nullptr);
    // A new, unique .xlsx path in folder (the temporary folder when empty) that lasts after the
    // export: the spreadsheet application reads it later. Empty with a failure when none can be made.
    static Outcome newWorkbookPath(const QString &folder, QString &path);

    // The column width, in the sheet's character units, that fits a text of that many characters,
    // full-width ones (kanji and kana) when wide.
    static double columnWidth(qsizetype characters, bool wide = false);

private:
    static Outcome writeRows(const GeneratedNames &names, Layout layout, const QString &path, Step &failedStep);
};
