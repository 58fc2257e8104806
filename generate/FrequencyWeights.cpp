#include "generate/FrequencyWeights.h"

#include "generate/BirthDays.h"
#include "store/KanjiDates.h"

#include <limits>
#include <numeric>

static_assert(BirthYears::DecadeCount == NameFrequency::DecadeCount, "one column a decade");

FrequencyWeights::FrequencyWeights(const NameFrequencies &frequencies, const KanjiDates &kanjiDates, BirthYears years)
    : m_frequencies(frequencies)
    , m_kanjiDates(kanjiDates)
    , m_years(years)
{ }

QDate FrequencyWeights::permittedFrom(const Spelling *spelling) const
{
    return spelling ? m_kanjiDates.permittedFrom(spelling->kanji) : KanjiDates::restrictedFrom();
}

const NameFrequency &FrequencyWeights::frequencyOf(const Spelling *spelling, ReadingList list) const
{
    return spelling ? m_frequencies.of(spelling->list, spelling->kanji, spelling->hiragana) : m_frequencies.base(list);
}

double FrequencyWeights::of(const Spelling *spelling, ReadingList list) const
{
    if ((spelling ? spelling->list : list) == ReadingList::Last)
        return frequencyOf(spelling, list).people;
    const Decades decades = inDecades(spelling, list);
    return std::accumulate(decades.begin(), decades.end(), 0.0);
}

FrequencyWeights::Decades FrequencyWeights::inDecades(const Spelling *spelling, ReadingList list) const
{
    const NameFrequency &frequency = frequencyOf(spelling, list);
    const Decades &shares = sharesFrom(permittedFrom(spelling));
    Decades weights{};
    for (std::size_t decade = 0; decade < weights.size(); ++decade)
        weights[decade] = frequency.born[decade] * shares[decade];
    return weights;
}

const FrequencyWeights::Decades &FrequencyWeights::sharesFrom(const QDate &permitted) const
{
    // Thousands of spellings share a handful of days: each day's shares are worked out once.
    const qint64 key = permitted.isValid() ? permitted.toJulianDay() : std::numeric_limits<qint64>::min();
    auto found = m_shares.find(key);
    if (found != m_shares.end())
        return found->second;
    Decades shares{};
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
        const qint64 given = BirthDays(decade, BirthYears(), permitted).count();
        if (given > 0) {
            shares[static_cast<std::size_t>(decade)]
                = static_cast<double>(BirthDays(decade, m_years, permitted).count()) / static_cast<double>(given);
        }
    }
    return m_shares.emplace(key, shares).first->second;
}
