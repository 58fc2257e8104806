#pragma once

#include "cli/NameVariant.h"
#include "cli/SeededRandom.h"
#include "generate/AliasTable.h"
#include "generate/Romanize.h"
#include "store/NameReadings.h"

#include <QHash>
#include <QStringList>
#include <cstdint>
#include <vector>

class FrequencyWeights;

// The names of one part (given or family) as a pane would show them, each with its spellings:
// a name is drawn uniformly from the list (a name stored twice counts twice, as in the window),
// then, where a record needs its kanji, kana, another romaji style or its gender, one of its
// spellings uniformly. With weights, a name and its spelling are drawn together, as common as
// they are; given names first by the decade of birth, then among those given in it.
class NamePool
{
public:
    struct Source
    {
        const QStringList *pane = nullptr; // the entries as the pane shows them
        const NameReadings *readings = nullptr; // null for the user list
        std::vector<ReadingList> lists; // the reading lists the names come from, in order
        RomajiStyle style = RomajiStyle::Passport;
        std::string defaultGender; // of a name without readings: "male", "female" or empty
        const QHash<QString, std::string> *genders = nullptr; // or by its prepared name, when given
        bool distinct = false; // each prepared name once (for --unique)
        const FrequencyWeights *weights = nullptr; // or uniform
        ReadingList list = ReadingList::Last; // whose least weight a name without readings takes
    };
    // The decade of a given name drawn by weight; NoDecade for a surname or a uniform draw.
    static constexpr int NoDecade = -1;

    explicit NamePool(const Source &source);

    std::uint64_t size() const { return m_names.size(); }
    bool isEmpty() const { return m_names.empty(); }
    std::vector<NameVariant> &variants() { return m_variants; }

    // A name from names, then its spelling from spellings: the names drawn do not depend on
    // whether a spelling is.
    const NameVariant &draw(SeededRandom &names, SeededRandom &spellings, bool withSpelling) const
    {
        return pick(names.below(m_names.size()), spellings, withSpelling);
    }
    const NameVariant &pick(std::uint64_t name, SeededRandom &spellings, bool withSpelling) const
    {
        // A spelling is drawn even for a name that has one: a branch on the count, taken at
        // random, cost more than the draw.
        const Range range = m_names[name];
        return m_variants[range.first + (withSpelling ? spellings.below(range.count) : 0)];
    }

    bool isWeighted() const { return !m_tables.empty(); }
    // By weight: for a given name, a decade of birth among the years, then a name and spelling
    // among those given in it, two values of names; for a surname one.
    const NameVariant &drawWeighted(SeededRandom &names, int &decade) const
    {
        decade = m_decades.isEmpty() ? NoDecade : static_cast<int>(m_decadeOf[m_decades.pick(names.next())]);
        return m_variants[m_tables[decade == NoDecade ? 0 : m_tableOf[static_cast<std::size_t>(decade)]].pick(
            names.next())];
    }

private:
    void makeTables(const Source &source, const std::vector<const Spelling *> &spellings);

    struct Range
    {
        std::uint32_t first;
        std::uint32_t count;
    };

    std::vector<NameVariant> m_variants;
    std::vector<Range> m_names;
    // By weight: the variants' tables (one, or one a decade with births among the years) and the
    // table of those decades.
    std::vector<AliasTable> m_tables;
    AliasTable m_decades;
    std::vector<std::uint32_t> m_decadeOf; // per column of m_decades
    std::vector<std::uint32_t> m_tableOf; // per decade, its table in m_tables
};
