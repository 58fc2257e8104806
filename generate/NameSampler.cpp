#include "generate/NameSampler.h"

#include "generate/FrequencyWeights.h"

namespace {
constexpr std::uint64_t NameStream = 0;
constexpr std::uint64_t SpellingStream = 1;
constexpr std::uint64_t DecadeStream = 2;
constexpr std::uint64_t OrderStream = 3;

} // namespace

NameSampler::NameSampler(Part first, Part last, const CounterRandom &random, std::uint64_t origin, Options options)
    : m_first(std::move(first))
    , m_last(std::move(last))
    , m_random(random)
    , m_origin(origin)
    , m_options(options)
{
    if (m_options.weights) {
        m_firstTables = tablesOf(m_first, *m_options.weights);
        m_lastTables = tablesOf(m_last, *m_options.weights);
    }
    const auto firstCount = static_cast<std::uint64_t>(m_options.firstWanted ? m_first.names() : 1);
    const auto lastCount = static_cast<std::uint64_t>(m_options.lastWanted ? m_last.names() : 1);
    if (__builtin_mul_overflow(firstCount, lastCount, &m_combinations))
        m_combinations = UINT64_MAX; // more than any count can ask for
    if (m_options.unique && m_combinations > 0)
        m_order.emplace(m_combinations, m_random, OrderStream);
}

NameSampler::Tables NameSampler::tablesOf(const Part &part, const FrequencyWeights &weights)
{
    Tables tables;
    const std::size_t forms = part.spellings.size();
    if (forms == 0)
        return tables;
    std::vector<double> column(forms);
    if (part.list == ReadingList::Last) {
        for (std::size_t form = 0; form < forms; ++form)
            column[form] = weights.of(part.spellings[form], part.list);
        tables.forms.emplace_back(column);
        return tables;
    }
    // The decade first, by the births it holds among these names, then a name given in it: the
    // mix of one table of the decades' sum, and the decade is known for the record.
    std::vector<const NameFrequency *> rows(forms);
    for (std::size_t form = 0; form < forms; ++form)
        rows[form] = &weights.frequencyOf(part.spellings[form], part.list);
    std::vector<double> decadeWeights;
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
        if (weights.years().yearsIn(decade) == 0)
            continue;
        double total = 0;
        for (std::size_t form = 0; form < forms; ++form) {
            column[form] = weights.inDecade(*rows[form], decade);
            total += column[form];
        }
        tables.forms.emplace_back(column);
        tables.decadeOf.push_back(decade);
        decadeWeights.push_back(total);
    }
    tables.decades = AliasTable(decadeWeights);
    return tables;
}

std::int32_t NameSampler::weightedForm(
    const Part &part, const Tables &tables, std::uint64_t position, int &decade) const
{
    if (tables.forms.empty() || part.names() <= 0)
        return NoName;
    std::size_t table = 0;
    if (!tables.decades.isEmpty()) {
        table = tables.decades.pick(m_random.unit(position, DecadeStream));
        decade = tables.decadeOf[table];
    }
    return static_cast<std::int32_t>(tables.forms[table].pick(m_random.unit(position, NameStream)));
}

NameSampler::Person NameSampler::drawnOtherwise(std::uint64_t index, std::uint64_t position) const
{
    Person person;
    if (m_order) {
        const std::uint64_t combination = m_order->at(index);
        const auto lastCount = static_cast<std::uint64_t>(m_options.lastWanted ? m_last.names() : 1);
        // The combination names the names; their spellings are drawn as usual.
        const std::uint64_t spelling = spellingBits(position);
        if (m_options.lastWanted && m_last.names() > 0)
            person.last = spelled(m_last, combination % lastCount, spelling >> 32);
        if (m_options.firstWanted && m_first.names() > 0)
            person.first = spelled(m_first, combination / lastCount, spelling & 0xffffffffU);
        return person;
    }
    int unused = NoDecade;
    person.last = weightedForm(m_last, m_lastTables, position, unused);
    person.first = weightedForm(m_first, m_firstTables, position + 1, person.decade);
    return person;
}
