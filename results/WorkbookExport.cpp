#include "results/WorkbookExport.h"

#include "generate/GeneratedNames.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <xlsxwriter.h>

namespace {
Outcome failure(const QString &path, lxw_error error)
{
    return Outcome::failure(
        QStringLiteral("The workbook %1 could not be written: %2").arg(path, QString::fromUtf8(lxw_strerror(error))));
}

// Closes the workbook when the writing ends early too, so its temporary files go away.
class Workbook
{
public:
    explicit Workbook(const QString &path)
    {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        m_workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    }
    ~Workbook()
    {
        if (m_workbook)
            workbook_close(m_workbook);
    }
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    lxw_workbook *get() const { return m_workbook; }
    lxw_error close()
    {
        lxw_workbook *workbook = m_workbook;
        m_workbook = nullptr;
        return workbook_close(workbook);
    }

private:
    lxw_workbook *m_workbook = nullptr;
};

struct Cell
{
    const char *text = nullptr; // NUL-terminated inside the row buffer
    qsizetype bytes = 0;
};

// Kanji and kana are full-width: twice a digit's width.
bool cellsAreWide(NameWriting writing)
{
    return !NameWritings::isRomaji(writing);
}

// Cuts the UTF-8 row in place at its first two spaces (0x20 never stands inside a longer
// character), so each piece ends in a NUL and goes to the sheet without a copy.
std::array<Cell, 2> splitInPlace(char *row, qsizetype bytes)
{
    char *firstSpace = static_cast<char *>(std::memchr(row, ' ', static_cast<std::size_t>(bytes)));
    if (!firstSpace)
        return {Cell{row, bytes}, Cell{}};
    *firstSpace = '\0';
    char *rest = firstSpace + 1;
    const qsizetype restBytes = bytes - (rest - row);
    char *secondSpace = static_cast<char *>(std::memchr(rest, ' ', static_cast<std::size_t>(restBytes)));
    if (secondSpace)
        *secondSpace = '\0';
    return {Cell{row, firstSpace - row}, Cell{rest, secondSpace ? secondSpace - rest : restBytes}};
}

// Characters, not bytes, decide the width: count the bytes that start a character.
qsizetype characterCount(const Cell &cell)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < cell.bytes; ++i) {
        if ((static_cast<unsigned char>(cell.text[i]) & 0xC0) != 0x80)
            ++count;
    }
    return count;
}
} // namespace

double WorkbookExport::columnWidth(qsizetype characters, bool wide)
{
    // A character unit is the width of a digit, and a kanji or kana takes two; one more leaves
    // the margins of the cell.
    return static_cast<double>(characters) * (wide ? 2.0 : 1.0) + 1.0;
}

Outcome WorkbookExport::write(const GeneratedNames &names, Layout layout, const QString &path, Step *failedStep)
{
    Step step = Step::None;
    Outcome outcome = writeRows(names, layout, path, step);
    if (failedStep)
        *failedStep = step;
    // A workbook that stopped half-way is no result to open later.
    if (outcome.isFailure())
        QFile::remove(path);
    return outcome;
}

Outcome WorkbookExport::writeRows(const GeneratedNames &names, Layout layout, const QString &path, Step &failedStep)
{
    failedStep = Step::Create;
    Workbook workbook(path);
    if (!workbook.get())
        return Outcome::failure(QStringLiteral("The workbook %1 could not be created.").arg(path));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), nullptr);
    if (!sheet)
        return Outcome::failure(QStringLiteral("The workbook %1 could not be given a sheet.").arg(path));

    // Kanji with their hiragana take four cells in two-cell rows: the kanji of each part, then
    // the hiragana; every other writing is the row's text split at its spaces.
    const bool readingCells = layout == Layout::TwoCells && names.writing() == NameWriting::KanjiHiragana;
    std::array<qsizetype, 4> longest{};
    std::array<Cell, 4> cells{};
    QByteArray row;
    for (int i = 1; i <= names.count(); ++i) {
        // Emptied, not freed: one buffer serves every row.
        row.resize(0);
        std::size_t cellCount = 2;
        if (readingCells) {
            QByteArrayView pieces[4];
            cellCount = static_cast<std::size_t>(names.utf8Cells(i, pieces));
            // Each piece NUL-terminated in the one row buffer, which is sized first so that
            // it never moves under the cells.
            qsizetype bytes = 0;
            for (std::size_t c = 0; c < cellCount; ++c)
                bytes += pieces[c].size() + 1;
            row.reserve(bytes);
            for (std::size_t c = 0; c < cellCount; ++c) {
                cells[c] = Cell{row.constData() + row.size(), pieces[c].size()};
                row.append(pieces[c]);
                row.append('\0');
            }
        } else {
            names.appendUtf8(i, row);
            const qsizetype bytes = row.size();
            row.append('\0');
            const std::array<Cell, 2> split = layout == Layout::TwoCells
                ? splitInPlace(row.data(), bytes)
                : std::array<Cell, 2>{Cell{row.data(), bytes}, Cell{}};
            cells[0] = split[0];
            cells[1] = split[1];
        }
        const auto sheetRow = static_cast<lxw_row_t>(i - 1);
        for (std::size_t column = 0; column < cellCount; ++column) {
            // An empty piece leaves the cell empty.
            if (cells[column].bytes == 0)
                continue;
            const lxw_error error
                = worksheet_write_string(sheet, sheetRow, static_cast<lxw_col_t>(column), cells[column].text, nullptr);
            if (error != LXW_NO_ERROR) {
                failedStep = column == 0 ? Step::FirstCell : (column == 1 ? Step::SecondCell : Step::ReadingCell);
                return failure(path, error);
            }
            // A text has at most as many characters as bytes: count only what may be longer.
            if (cells[column].bytes > longest[column])
                longest[column] = std::max(longest[column], characterCount(cells[column]));
        }
    }

    // Column settings go into the sheet when the workbook closes, so they may follow the rows.
    failedStep = Step::FitColumns;
    for (std::size_t column = 0; column < longest.size(); ++column) {
        if (longest[column] == 0)
            continue;
        const auto sheetColumn = static_cast<lxw_col_t>(column);
        const lxw_error error = worksheet_set_column(
            sheet, sheetColumn, sheetColumn, columnWidth(longest[column], cellsAreWide(names.writing())), nullptr);
        if (error != LXW_NO_ERROR)
            return failure(path, error);
    }
    failedStep = Step::Finish;
    const lxw_error error = workbook.close();
    if (error != LXW_NO_ERROR)
        return failure(path, error);
    failedStep = Step::None;
    return {};
}

Outcome WorkbookExport::newWorkbookPath(const QString &workbookFolder, QString &path)
{
    path.clear();
    const QString folder
        = workbookFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::TempLocation) : workbookFolder;
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("Toviska-results-XXXXXX.xlsx")));
    // The file must outlive the export: the spreadsheet application opens it afterwards.
    file.setAutoRemove(false);
    if (!file.open())
        return Outcome::failure(
            QStringLiteral("No workbook file could be made in %1: %2").arg(folder, file.errorString()));
    path = file.fileName();
    return {};
}
