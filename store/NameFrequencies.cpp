#include "store/NameFrequencies.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <map>
#include <optional>

namespace {
constexpr int kColumns = 4 + NameFrequency::DecadeCount;

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

// A count of people: finite, not negative. from_chars, not QByteArray::toDouble: two hundred
// thousand of them are read before the first name, and toDouble cost half the start.
std::optional<double> count(QByteArrayView field)
{
    double value = 0;
    const char *end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.isEmpty() || error != std::errc() || stop != end || !(value >= 0.0) || value > 1e12)
        return std::nullopt;
    return value;
}

// One row, or nothing when it is not of the table's shape.
std::optional<std::pair<ReadingList, NameFrequency>> parsed(const std::array<QByteArrayView, kColumns> &fields)
{
    const std::optional<ReadingList> list = listNamed(fields[0]);
    const std::optional<double> people = count(fields[3]);
    if (!list || fields[1].isEmpty() || fields[2].isEmpty() || !people)
        return std::nullopt;
    NameFrequency frequency;
    frequency.people = *people;
    for (int d = 0; d < NameFrequency::DecadeCount; ++d) {
        const QByteArrayView field = fields[static_cast<std::size_t>(4 + d)];
        // A surname has no decades; a given name has every one.
        if (*list == ReadingList::Last) {
            if (!field.isEmpty())
                return std::nullopt;
            continue;
        }
        const std::optional<double> born = count(field);
        if (!born)
            return std::nullopt;
        frequency.born[static_cast<std::size_t>(d)] = *born;
    }
    return std::pair{*list, frequency};
}
} // namespace

std::size_t NameFrequencies::hashOf(ReadingList list, QStringView kanji, QStringView hiragana)
{
    return qHashMulti(0, static_cast<int>(list), kanji, hiragana);
}

Outcome NameFrequencies::load(const QString &path, NameFrequencies &frequencies)
{
    frequencies = NameFrequencies();
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        frequencies.m_problem = QStringLiteral("%1: %2").arg(path, file.errorString());
        return Outcome::failure(frequencies.m_problem);
    }

    NameFrequencies loaded;
    std::array<bool, 3> seen{};
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
        std::array<QByteArrayView, kColumns> fields;
        int fieldCount = 0;
        for (qsizetype from = 0; fieldCount <= kColumns;) {
            const qsizetype tab = line.indexOf('\t', from);
            if (fieldCount < kColumns)
                fields[static_cast<std::size_t>(fieldCount)] = line.sliced(from, (tab < 0 ? line.size() : tab) - from);
            ++fieldCount;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        const auto row = fieldCount == kColumns ? parsed(fields) : std::nullopt;
        if (!row) {
            if (skipped++ == 0)
                firstSkipped = lineNumber;
            continue;
        }
        const auto [list, frequency] = *row;
        Row entry{list, QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]), frequency};
        // A row given twice counts once, as first given.
        if (!loaded.find(list, entry.kanji, entry.hiragana)) {
            loaded.m_index.emplace(hashOf(list, entry.kanji, entry.hiragana), loaded.m_rows.size());
            loaded.m_rows.push_back(std::move(entry));
        }
        // The least of each column of the list.
        NameFrequency &base = loaded.m_base[static_cast<std::size_t>(list)];
        const bool first = !seen[static_cast<std::size_t>(list)];
        seen[static_cast<std::size_t>(list)] = true;
        base.people = first ? frequency.people : std::min(base.people, frequency.people);
        for (std::size_t d = 0; d < base.born.size(); ++d)
            base.born[d] = first ? frequency.born[d] : std::min(base.born[d], frequency.born[d]);
    }
    if (skipped > 0) {
        loaded.m_problem = QStringLiteral("%1: %2 skipped, the first at line %3, which is not "
                                          "\"list, kanji, hiragana, people, 1920s, ..., 2020s\"")
                               .arg(path, skipped == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(skipped))
                               .arg(firstSkipped);
    }
    frequencies = std::move(loaded);
    return frequencies.m_problem.isEmpty() ? Outcome() : Outcome::failure(frequencies.m_problem);
}

const NameFrequencies &NameFrequencies::shipped(const QString &applicationFolder)
{
    static std::map<QString, NameFrequencies> tables;
    auto found = tables.find(applicationFolder);
    if (found == tables.end()) {
        NameFrequencies frequencies;
        static_cast<void>(load(applicationFolder + QStringLiteral("/frequency.tsv"), frequencies));
        found = tables.emplace(applicationFolder, std::move(frequencies)).first;
    }
    return found->second;
}

const NameFrequency &NameFrequencies::of(ReadingList list, QStringView kanji, QStringView hiragana) const
{
    const Row *row = find(list, kanji, hiragana);
    return row ? row->frequency : base(list);
}

const NameFrequencies::Row *NameFrequencies::find(ReadingList list, QStringView kanji, QStringView hiragana) const
{
    const auto [first, last] = m_index.equal_range(hashOf(list, kanji, hiragana));
    for (auto it = first; it != last; ++it) {
        const Row &row = m_rows[it->second];
        if (row.list == list && row.kanji == kanji && row.hiragana == hiragana)
            return &row;
    }
    return nullptr;
}
