#pragma once

#include "generate/AliasTable.h"
#include "generate/CounterRandom.h"
#include "generate/UniqueOrder.h"
#include "store/NameReadings.h"

#include <cstdint>
#include <optional>
#include <vector>

class FrequencyWeights;

// The people of a roster, drawn alike for the window and the command line. Person i is a pure
// function of the key, the roster's origin and i, never of the people before it, so any slice of
// a roster is drawn at once, on any core or machine.
//
// Each person takes, at the positions origin + 2i (the last name) and origin + 2i + 1 (the first
// name): from stream 0 the name and from stream 2 a given name's decade of birth; and at
// origin + 2i from stream 1 the spellings of both (the high half the last name's). By weight, a
// name and its spelling are drawn together, and a given name's decade after it, by the people
// given that spelling in each decade: the mix of a decade drawn first, by its births. Both
// names are drawn whatever the part, so a part never changes the people of a roster that is not
// unique. A name is drawn uniformly (indexBelowBits of the value) and then its spelling
// uniformly; or, by weight, a name and its spelling together as common as they are; or, unique,
// each combination of the wanted parts' names once, in the order of a keyed permutation.
class NameSampler
{
public:
    static constexpr std::int32_t NoName = -1;
    static constexpr int NoDecade = -1;
    // The streams of the counter generator a person's values come from.
    static constexpr std::uint64_t NameStream = 0;
    static constexpr std::uint64_t SpellingStream = 1;
    static constexpr std::uint64_t DecadeStream = 2;
    static constexpr std::uint64_t OrderStream = 3;
    // Of what a record adds to its people, each at the person's first place (origin + 2i): they
    // never change who is drawn.
    static constexpr std::uint64_t BirthDayStream = 4;
    static constexpr std::uint64_t EmailStream = 5;
    static constexpr std::uint64_t LoginStream = 6;

    // The names of one part. The forms of name n (its spellings; one for a name without
    // readings) are starts[n] to starts[n + 1] - 1.
    struct Part
    {
        std::vector<std::int32_t> starts{0}; // per name its first form, and one past the last
        std::vector<const Spelling *> spellings; // per form, for its weight; null without readings
        ReadingList list = ReadingList::Last; // whose least weight a name without readings takes

        std::int32_t names() const { return static_cast<std::int32_t>(starts.size()) - 1; }
    };

    struct Options
    {
        bool withSpellings = true; // uniform: a spelling drawn for each name, else its first form
        const FrequencyWeights *weights = nullptr; // or uniform
        bool withDecades = false; // by weight: a given name's decade of birth drawn too
        bool unique = false; // each combination once (the parts' names distinct)
        bool firstWanted = true; // a unique order counts the combinations of the wanted parts only
        bool lastWanted = true;
    };

    // The forms drawn for one person, or NoName for an empty part.
    struct Person
    {
        std::int32_t first = NoName;
        std::int32_t last = NoName;
        int decade = NoDecade; // of the given name drawn by weight
        std::uint64_t combination = 0; // of a unique roster: its number, never another person's
    };

    NameSampler(Part first, Part last, const CounterRandom &random, std::uint64_t origin, Options options);

    // An index below n (n > 0) from 64 uniform bits: exactly the integer part of r * n for
    // r = (bits >> 11) / 2^53, the value CounterRandom::unit gives, in one integer multiply.
    static std::uint64_t indexBelowBits(std::uint64_t bits, std::uint64_t n)
    {
        return static_cast<std::uint64_t>((static_cast<Wide>(bits >> 11) * n) >> 53);
    }

    // What a unique roster can hold: the product of the wanted parts' names, at most 2^64 - 1.
    std::uint64_t combinations() const { return m_combinations; }
    // Inline: toviska-cli draws ten million a second.
    Person at(std::uint64_t index) const
    {
        const std::uint64_t position = m_origin + 2 * index;
        if (m_order)
            return unique(index, position);
        if (m_options.weights) {
            Person person;
            int unused = NoDecade;
            person.last = weightedForm(m_lastTables, position, unused);
            person.first = weightedForm(m_firstTables, position + 1, person.decade);
            return person;
        }
        const std::uint64_t spelling = spellingBits(position);
        return {uniformForm(m_first, position + 1, spelling & 0xffffffffU), uniformForm(m_last, position, spelling >> 32),
            NoDecade};
    }

private:
    __extension__ typedef unsigned __int128 Wide;

    struct Tables
    {
        // By weight: the forms' table over the years, and for given names per form the table of
        // its decades (when asked for).
        AliasTable forms;
        std::vector<AliasTable> decades;
    };

    static Tables tablesOf(const Part &part, const FrequencyWeights &weights, bool withDecades);
    // The form of a name: its spelling from 32 bits (0 without spellings: the first). No branch
    // on the count of spellings: taken at random, it cost more than the multiply.
    static std::int32_t spelled(const Part &part, std::uint64_t name, std::uint64_t spelling)
    {
        const std::int32_t first = part.starts[static_cast<std::size_t>(name)];
        const auto spellings = static_cast<std::uint64_t>(part.starts[static_cast<std::size_t>(name) + 1] - first);
        return first + static_cast<std::int32_t>((spelling * spellings) >> 32);
    }
    // The form of a name drawn uniformly at a position.
    std::int32_t uniformForm(const Part &part, std::uint64_t position, std::uint64_t spelling) const
    {
        const std::int32_t names = part.names();
        if (names <= 0)
            return NoName;
        const std::uint64_t name
            = indexBelowBits(m_random.bits(position, NameStream), static_cast<std::uint64_t>(names));
        // Without spellings the name's first form, without a look at its count.
        return m_options.withSpellings ? spelled(part, name, spelling) : part.starts[static_cast<std::size_t>(name)];
    }
    // Both spellings of person at a position: one value, its high half the last name's.
    std::uint64_t spellingBits(std::uint64_t position) const
    {
        return m_options.withSpellings ? m_random.bits(position, SpellingStream) : 0;
    }
    // The person of a unique roster: the index-th combination of names.
    Person unique(std::uint64_t index, std::uint64_t position) const;
    // A name and its spelling by weight, and a given name's decade when asked for.
    std::int32_t weightedForm(const Tables &tables, std::uint64_t position, int &decade) const
    {
        if (tables.forms.isEmpty())
            return NoName;
        const auto form = static_cast<std::int32_t>(tables.forms.pick(m_random.bits(position, NameStream)));
        if (!tables.decades.empty()) {
            decade = static_cast<int>(
                tables.decades[static_cast<std::size_t>(form)].pick(m_random.bits(position, DecadeStream)));
        }
        return form;
    }

    Part m_first;
    Part m_last;
    CounterRandom m_random;
    std::uint64_t m_origin;
    Options m_options;
    Tables m_firstTables;
    Tables m_lastTables;
    std::uint64_t m_lastCount = 1; // the last names a unique order counts: 1 when not wanted
    std::uint64_t m_combinations = 0;
    std::optional<UniqueOrder> m_order;
};
