#pragma once

#include "app/shared/Outcome.h"
#include "store/NameReadings.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>
#include <array>
#include <vector>

// How common a spelling is: for a surname, the people estimated to bear it; for a given name,
// the people estimated to have been given it in each decade of birth, the 1920s to the 2020s.
struct NameFrequency
{
    static constexpr int DecadeCount = 11;

    double people = 0;
    std::array<double, DecadeCount> born{};
};

// The frequencies of the built-in spellings (frequency.tsv, shipped beside readings.tsv), looked
// up by list, kanji and hiragana. A spelling the table does not hold (a name never ranked, or
// added to the built-in list) is as common as the least common of its list.
class NameFrequencies
{
public:
    NameFrequencies() = default;

    // Reads rows "list, kanji, hiragana, people, 1920s, ..., 2020s" (given names fill the
    // decades, surnames leave them empty), after a header line when it has one; LF or CRLF, a
    // byte-order mark allowed. As with the readings, a file that cannot be read or is damaged
    // as a whole (TsvTable::read; here also a list without rows) is a failure "<path>: <why>",
    // and a bad row (also a row given again with other numbers) is skipped and counted in a
    // failure "<path>: <n> rows skipped, ...", the good rows kept.
    static Outcome load(const QString &path, NameFrequencies &frequencies);
    // The table of an application folder (its frequency.tsv), read on first use and kept.
    static const NameFrequencies &shipped(const QString &applicationFolder);

    const QString &problem() const { return m_problem; }
    bool isEmpty() const { return m_rows.empty(); }

    const NameFrequency &of(ReadingList list, QStringView kanji, QStringView hiragana) const;
    // The least common of the list, what a spelling without a row counts as.
    const NameFrequency &base(ReadingList list) const { return m_base[static_cast<std::size_t>(list)]; }

private:
    // Rows are found by a hash of their list, kanji and hiragana, then checked: a run looks up
    // every spelling of its panes, and a key text made for each cost more than the drawing.
    static std::size_t hashOf(ReadingList list, QStringView kanji, QStringView hiragana);

    struct Row
    {
        ReadingList list;
        QString kanji;
        QString hiragana;
        NameFrequency frequency;
    };
    const Row *find(ReadingList list, QStringView kanji, QStringView hiragana) const;

    std::vector<Row> m_rows;
    QHash<std::size_t, std::size_t> m_index; // by hash; rows whose hash is taken stand in m_collided
    std::vector<std::size_t> m_collided;
    std::array<NameFrequency, 3> m_base{};
    QString m_problem;
};
