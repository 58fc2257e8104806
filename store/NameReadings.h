#pragma once

#include "app/shared/Outcome.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The built-in list a spelling belongs to: a built-in first name is male or female.
enum class ReadingList : std::uint8_t {
    Male,
    Female,
    Last,
};

// The list a table's first field names ("male", "female", "last"), or nothing.
std::optional<ReadingList> readingListNamed(QByteArrayView name);
// The name a table gives the list in its first field.
QString readingListName(ReadingList list);

// One way of writing a built-in name: its kanji and its kana reading.
struct Spelling
{
    QString kanji;
    QString hiragana;
    QString katakana;
    ReadingList list = ReadingList::Last;
};

// The kanji and kana of the built-in names (readings.tsv, shipped beside names.mdb). Looked up
// by list and romaji name as stored, any letter case. A name without readings (one the user
// added, every user-list name) simply has no spellings. names.mdb knows nothing of them.
class NameReadings
{
public:
    NameReadings() = default;

    // Reads a table of rows "list, kanji, hiragana, katakana, romaji", after a header line when
    // it has one; LF or CRLF line ends, a UTF-8 byte-order mark allowed. A file that cannot be
    // read is a failure "<path>: <why>" and leaves readings empty; one damaged as a whole
    // (empty, without rows, cut short: TsvTable::read) is one too, with skippedRows() 0, the
    // rows before the damage kept. A row of another shape is skipped, not the table: readings
    // keeps every good row and the outcome is a failure "<path>: <n> rows skipped, the first at
    // line <l> ...", so that a caller can tell.
    static Outcome load(const QString &path, NameReadings &readings);
    // The table of an application folder (its readings.tsv), read on first use and kept for
    // the rest of the run; what went wrong reading it is its problem().
    static const NameReadings &shipped(const QString &applicationFolder);

    // Why the table is missing or incomplete ("<path>: <why>"), as load reported it; empty
    // when every row was read.
    const QString &problem() const { return m_problem; }
    // How many rows of a table that was read were skipped; 0 when it could not be read at all.
    int skippedRows() const { return m_skippedRows; }
    bool isEmpty() const { return m_spellings.empty(); }
    // Whether any spelling of the list was read.
    bool hasList(ReadingList list) const;
    qsizetype count() const { return static_cast<qsizetype>(m_spellings.size()); }

    // Every spelling of the name in that list, in the table's order; empty when it has none.
    std::span<const Spelling> spellings(ReadingList list, QStringView romaji) const;

private:
    static QString key(ReadingList list, QStringView romaji);

    // Spellings of one list and name stand together; the index gives where.
    std::vector<Spelling> m_spellings;
    QHash<QString, std::pair<qsizetype, qsizetype>> m_index;
    QString m_problem;
    int m_skippedRows = 0;
};
