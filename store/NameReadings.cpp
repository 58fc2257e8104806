#include "store/NameReadings.h"

#include "store/TsvTable.h"

#include <QByteArrayList>
#include <QFile>
#include <algorithm>
#include <array>
#include <optional>

std::optional<ReadingList> readingListNamed(QByteArrayView name)
{
    if (name == "male")
        return ReadingList::Male;
    if (name == "female")
        return ReadingList::Female;
    if (name == "last")
        return ReadingList::Last;
    return std::nullopt;
}

bool NameReadings::hasList(ReadingList list) const
{
    return std::any_of(m_spellings.begin(), m_spellings.end(), [list](const Spelling &s) { return s.list == list; });
}

QString readingListName(ReadingList list)
{
    switch (list) {
    case ReadingList::Male:
        return QStringLiteral("male");
    case ReadingList::Female:
        return QStringLiteral("female");
    case ReadingList::Last:
        break;
    }
    return QStringLiteral("last");
}

QString NameReadings::key(ReadingList list, QStringView romaji)
{
    QString key = romaji.toString().toLower();
    key.prepend(QChar(u'0' + static_cast<int>(list)));
    return key;
}

Outcome NameReadings::load(const QString &path, NameReadings &readings)
{
    readings = NameReadings();
    struct Row
    {
        QString key;
        Spelling spelling;
    };
    std::vector<Row> rows;
    int skipped = 0;
    const Outcome read = TsvTable::read(path, 5, QStringLiteral("list, kanji, hiragana, katakana, romaji"),
        [&rows](std::span<const QByteArrayView> fields) {
            const std::optional<ReadingList> list = readingListNamed(fields[0]);
            if (!list || fields[1].isEmpty() || fields[2].isEmpty() || fields[4].isEmpty())
                return false;
            rows.push_back({key(*list, QString::fromUtf8(fields[4])),
                Spelling{QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]), QString::fromUtf8(fields[3]),
                    *list}});
            return true;
        },
        skipped);
    // Each name's spellings together, in the table's order.
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.key < b.key; });

    NameReadings loaded;
    loaded.m_spellings.reserve(rows.size());
    for (Row &row : rows) {
        const auto at = static_cast<qsizetype>(loaded.m_spellings.size());
        auto group = loaded.m_index.find(row.key);
        if (group == loaded.m_index.end())
            loaded.m_index.insert(row.key, {at, 1});
        else
            ++group->second;
        loaded.m_spellings.push_back(std::move(row.spelling));
    }
    loaded.m_skippedRows = skipped;
    loaded.m_problem = read.isOk() ? QString() : read.description();
    readings = std::move(loaded);
    return read;
}

const NameReadings &NameReadings::shipped(const QString &applicationFolder)
{
    return TsvTable::shipped<NameReadings>(applicationFolder, QStringLiteral("readings.tsv"));
}

std::span<const Spelling> NameReadings::spellings(ReadingList list, QStringView romaji) const
{
    const auto found = m_index.constFind(key(list, romaji));
    if (found == m_index.cend())
        return {};
    return std::span<const Spelling>(m_spellings)
        .subspan(static_cast<std::size_t>(found->first), static_cast<std::size_t>(found->second));
}
