#include "generate/FrequencyWeights.h"

static_assert(BirthYears::DecadeCount == NameFrequency::DecadeCount, "one column a decade");

FrequencyWeights::FrequencyWeights(const NameFrequencies &frequencies, BirthYears years)
    : m_frequencies(frequencies)
    , m_years(years)
{ }

const NameFrequency &FrequencyWeights::frequencyOf(const Spelling *spelling, ReadingList list) const
{
    return spelling ? m_frequencies.of(spelling->list, spelling->kanji, spelling->hiragana) : m_frequencies.base(list);
}

double FrequencyWeights::of(const Spelling *spelling, ReadingList list) const
{
    const NameFrequency &frequency = frequencyOf(spelling, list);
    if ((spelling ? spelling->list : list) == ReadingList::Last)
        return frequency.people;
    double weight = 0;
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade)
        weight += inDecade(frequency, decade);
    return weight;
}

double FrequencyWeights::inDecade(const Spelling *spelling, ReadingList list, int decade) const
{
    return inDecade(frequencyOf(spelling, list), decade);
}

double FrequencyWeights::inDecade(const NameFrequency &frequency, int decade) const
{
    return frequency.born[static_cast<std::size_t>(decade)] * m_years.yearsIn(decade) / 10.0;
}
