#include "store/NameReadings.h"

#include <QByteArrayList>
#include <QFile>
#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace {

std::optional<ReadingList> listNamed(QByteArrayView name)
{
    if (name == "male")
        return ReadingList::Male;
    if (name == "female")
        return ReadingList::Female;
    if (name == "last")
        return ReadingList::Last;
    return std::nullopt;
}

} // namespace

QString NameReadings::key(ReadingList list, QStringView romaji)
{
    QString key = romaji.toString().toLower();
    key.prepend(QChar(u'0' + static_cast<int>(list)));
    return key;
}

Outcome NameReadings::load(const QString &path, NameReadings &readings)
{
    readings = NameReadings();
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        readings.m_problem = QStringLiteral("%1: %2").arg(path, file.errorString());
        return Outcome::failure(readings.m_problem);
    }

    struct Row
    {
        QString key;
        Spelling spelling;
    };
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(text.count('\n')));
    // A file saved by a Windows editor starts with a byte-order mark and ends its lines in CRLF.
    qsizetype lineStart = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int lineNumber = 0;
    int skipped = 0;
    int firstSkipped = 0;
    while (lineStart < text.size()) {
        ++lineNumber;
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QByteArrayView line(text.constData() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || (lineNumber == 1 && line.startsWith("list\t")))
            continue;
        // Split in place: no copy of the line or of its fields before they become texts.
        std::array<QByteArrayView, 5> fields;
        qsizetype fieldCount = 0;
        for (qsizetype from = 0; fieldCount < 6;) {
            const qsizetype tab = line.indexOf('\t', from);
            if (fieldCount < 5)
                fields[static_cast<std::size_t>(fieldCount)] = line.sliced(from, (tab < 0 ? line.size() : tab) - from);
            ++fieldCount;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        const std::optional<ReadingList> list = fieldCount == 5 ? listNamed(fields[0]) : std::nullopt;
        // One bad row costs that row, not the names of every other.
        if (!list || fields[1].isEmpty() || fields[2].isEmpty() || fields[4].isEmpty()) {
            if (skipped++ == 0)
                firstSkipped = lineNumber;
            continue;
        }
        rows.push_back({key(*list, QString::fromUtf8(fields[4])),
            Spelling{QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]), QString::fromUtf8(fields[3]), *list}});
    }
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
    if (skipped > 0) {
        loaded.m_problem = QStringLiteral("%1: %2 skipped, the first at line %3, which is not "
                                          "\"list, kanji, hiragana, katakana, romaji\"")
                               .arg(path, skipped == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(skipped))
                               .arg(firstSkipped);
    }
    readings = std::move(loaded);
    return readings.m_problem.isEmpty() ? Outcome() : Outcome::failure(readings.m_problem);
}

const NameReadings &NameReadings::shipped(const QString &applicationFolder)
{
    // Read once a run, the first time a name's spellings are asked for: start-up reads nothing.
    static std::map<QString, NameReadings> tables;
    auto found = tables.find(applicationFolder);
    if (found == tables.end()) {
        NameReadings readings;
        static_cast<void>(load(applicationFolder + QStringLiteral("/readings.tsv"), readings));
        found = tables.emplace(applicationFolder, std::move(readings)).first;
    }
    return found->second;
}

std::span<const Spelling> NameReadings::spellings(ReadingList list, QStringView romaji) const
{
    const auto found = m_index.constFind(key(list, romaji));
    if (found == m_index.cend())
        return {};
    return std::span<const Spelling>(m_spellings)
        .subspan(static_cast<std::size_t>(found->first), static_cast<std::size_t>(found->second));
}
