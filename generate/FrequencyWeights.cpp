#include "generate/FrequencyWeights.h"

#include "generate/BirthDays.h"
#include "store/KanjiDates.h"

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

double FrequencyWeights::of(const Spelling *spelling, ReadingList list) const
{
    if ((spelling ? spelling->list : list) == ReadingList::Last)
        return (
            spelling ? m_frequencies.of(spelling->list, spelling->kanji, spelling->hiragana) : m_frequencies.base(list))
            .people;
    const Decades decades = inDecades(spelling, list);
    return std::accumulate(decades.begin(), decades.end(), 0.0);
}

FrequencyWeights::Decades FrequencyWeights::inDecades(const Spelling *spelling, ReadingList list) const
{
    const NameFrequency &frequency
        = spelling ? m_frequencies.of(spelling->list, spelling->kanji, spelling->hiragana) : m_frequencies.base(list);
    const QDate permitted = permittedFrom(spelling);
    Decades weights{};
    for (int decade = 0; decade < BirthYears::DecadeCount; ++decade) {
        const qint64 given = BirthDays(decade, BirthYears(), permitted).count();
        if (given > 0) {
            weights[static_cast<std::size_t>(decade)] = frequency.born[static_cast<std::size_t>(decade)]
                * static_cast<double>(BirthDays(decade, m_years, permitted).count()) / static_cast<double>(given);
        }
    }
    return weights;
}
