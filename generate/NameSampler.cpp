#include "generate/NameSampler.h"

#include "generate/FrequencyWeights.h"

#include <numeric>

NameSampler::NameSampler(Part first, Part last, const CounterRandom &random, std::uint64_t origin, Options options)
    : m_first(std::move(first))
    , m_last(std::move(last))
    , m_random(random)
    , m_origin(origin)
    , m_options(options)
{
    if (m_options.weights) {
        m_firstTables = tablesOf(m_first, *m_options.weights, m_options.withDecades);
        m_lastTables = tablesOf(m_last, *m_options.weights, false);
    }
    const auto firstCount = static_cast<std::uint64_t>(m_options.firstWanted ? m_first.names() : 1);
    m_lastCount = static_cast<std::uint64_t>(m_options.lastWanted ? m_last.names() : 1);
    if (__builtin_mul_overflow(firstCount, m_lastCount, &m_combinations))
        m_combinations = UINT64_MAX; // more than any count can ask for
    if (m_options.unique && m_combinations > 0)
        m_order.emplace(m_combinations, m_random, OrderStream);
}

NameSampler::Tables NameSampler::tablesOf(const Part &part, const FrequencyWeights &weights, bool withDecades)
{
    Tables tables;
    const std::size_t forms = part.spellings.size();
    if (forms == 0)
        return tables;
    std::vector<double> column(forms);
    // The decade of a given name drawn, by the people given it in each: with the form drawn by
    // the decades' sum, the same mix as a decade drawn first, and the people of a seed stay the
    // same whether or not their decade is asked for.
    const bool decades = withDecades && part.list != ReadingList::Last;
    if (decades)
        tables.decades.reserve(forms);
    for (std::size_t form = 0; form < forms; ++form) {
        if (!decades) {
            column[form] = weights.of(part.spellings[form], part.list);
            continue;
        }
        const FrequencyWeights::Decades inDecades = weights.inDecades(part.spellings[form], part.list);
        column[form] = std::accumulate(inDecades.begin(), inDecades.end(), 0.0);
        tables.decades.emplace_back(inDecades);
    }
    tables.forms = AliasTable(column);
    return tables;
}

NameSampler::Person NameSampler::unique(std::uint64_t index, std::uint64_t position) const
{
    Person person;
    const std::uint64_t combination = m_order->at(index);
    person.combination = combination;
    // The combination names the names; their spellings are drawn as usual.
    const std::uint64_t spelling = spellingBits(position);
    if (m_options.lastWanted && m_last.names() > 0)
        person.last = spelled(m_last, combination % m_lastCount, spelling >> 32);
    if (m_options.firstWanted && m_first.names() > 0)
        person.first = spelled(m_first, combination / m_lastCount, spelling & 0xffffffffU);
    return person;
}
