#include "store/NameFrequencies.h"

#include "store/TsvTable.h"

#include <QFile>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

namespace {
constexpr int kColumns = 4 + NameFrequency::DecadeCount;

// A count of people: finite, not negative. from_chars, not QByteArray::toDouble: two hundred
// thousand of them are read before the first name, and toDouble cost half the start.
std::optional<double> count(QByteArrayView field)
{
    // The shipped counts are whole numbers: read as such, at a fraction of a double's cost.
    if (!field.isEmpty() && field.size() <= 12) {
        std::int64_t whole = 0;
        bool digits = true;
        for (const char c : field) {
            digits = digits && c >= '0' && c <= '9';
            whole = whole * 10 + (c - '0');
        }
        if (digits)
            return static_cast<double>(whole);
    }
    double value = 0;
    const char *end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.isEmpty() || error != std::errc() || stop != end || !(value >= 0.0) || value > 1e12)
        return std::nullopt;
    return value;
}

// One row, or nothing when it is not of the table's shape.
std::optional<std::pair<ReadingList, NameFrequency>> parsed(std::span<const QByteArrayView> fields)
{
    const std::optional<ReadingList> list = readingListNamed(fields[0]);
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
    // FNV-1a over the UTF-16 units, a few instructions each: Qt's seeded string hash took
    // hundreds a lookup, and every run by weight looks up each spelling of its panes.
    constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    std::uint64_t hash = (0xcbf29ce484222325ULL ^ static_cast<std::uint64_t>(list)) * kPrime;
    const auto add = [&hash](QStringView text) {
        for (const QChar c : text)
            hash = (hash ^ c.unicode()) * kPrime;
    };
    add(kanji);
    // A unit no text holds between the two: 山田/だ never hashes as 山/田だ.
    hash = (hash ^ 0xffffU) * kPrime;
    add(hiragana);
    return static_cast<std::size_t>(hash);
}

Outcome NameFrequencies::load(const QString &path, NameFrequencies &frequencies)
{
    frequencies = NameFrequencies();
    NameFrequencies loaded;
    std::array<bool, 3> seen{};
    int skipped = 0;
    // A list without rows would be drawn as if every name were as rare as its least common.
    const TsvTable::Shape shape{kColumns, QStringLiteral("list, kanji, hiragana, people, 1920s, ..., 2020s"), 3,
        {QByteArrayLiteral("male"), QByteArrayLiteral("female"), QByteArrayLiteral("last")}};
    const Outcome read = TsvTable::read(path, shape,
        [&](std::span<const QByteArrayView> fields) {
            const auto row = parsed(fields);
            if (!row)
                return false;
            const auto [list, frequency] = *row;
            // The reader hands each list, kanji and hiragana once.
            Row entry{list, QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]), frequency};
            const std::size_t hash = hashOf(list, entry.kanji, entry.hiragana);
            if (loaded.m_index.contains(hash))
                loaded.m_collided.push_back(loaded.m_rows.size());
            else
                loaded.m_index.insert(hash, loaded.m_rows.size());
            loaded.m_rows.push_back(std::move(entry));
            // The least of each column of the list; not a decade in which a name could not be
            // given (its kanji not yet permitted), or every name without readings would be lost.
            NameFrequency &base = loaded.m_base[static_cast<std::size_t>(list)];
            const bool first = !seen[static_cast<std::size_t>(list)];
            seen[static_cast<std::size_t>(list)] = true;
            base.people = first ? frequency.people : std::min(base.people, frequency.people);
            for (std::size_t d = 0; d < base.born.size(); ++d) {
                if (frequency.born[d] > 0)
                    base.born[d] = base.born[d] > 0 ? std::min(base.born[d], frequency.born[d]) : frequency.born[d];
            }
            return true;
        },
        skipped);
    loaded.m_problem = read.isOk() ? QString() : read.description();
    frequencies = std::move(loaded);
    return read;
}

const NameFrequencies &NameFrequencies::shipped(const QString &applicationFolder)
{
    return TsvTable::shipped<NameFrequencies>(applicationFolder, QStringLiteral("frequency.tsv"));
}

const NameFrequency &NameFrequencies::of(ReadingList list, QStringView kanji, QStringView hiragana) const
{
    const Row *row = find(list, kanji, hiragana);
    return row ? row->frequency : base(list);
}

const NameFrequencies::Row *NameFrequencies::find(ReadingList list, QStringView kanji, QStringView hiragana) const
{
    const auto matches = [&](std::size_t at) {
        const Row &row = m_rows[at];
        return row.list == list && row.kanji == kanji && row.hiragana == hiragana;
    };
    const auto found = m_index.constFind(hashOf(list, kanji, hiragana));
    if (found == m_index.cend())
        return nullptr;
    if (matches(*found))
        return &m_rows[*found];
    for (const std::size_t at : m_collided) {
        if (matches(at))
            return &m_rows[at];
    }
    return nullptr;
}
