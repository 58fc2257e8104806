#pragma once

#include "generate/BirthYears.h"
#include "store/NameFrequencies.h"

// The weight each spelling is drawn by when names are as common as they are: a surname by the
// people who bear it, a given name by the people given it in the years of birth chosen (a decade
// partly inside them counts for the part inside).
class FrequencyWeights
{
public:
    FrequencyWeights(const NameFrequencies &frequencies, BirthYears years);

    const BirthYears &years() const { return m_years; }
    // The weight of a spelling; of a name without one (null: a name without readings) the least
    // of the list it is drawn from.
    double of(const Spelling *spelling, ReadingList list) const;
    // The same, for those born in one decade (0 for the 1920s) among the years.
    double inDecade(const Spelling *spelling, ReadingList list, int decade) const;
    double inDecade(const NameFrequency &frequency, int decade) const;
    // The row of a spelling, looked up once for a caller that weighs it for many decades.
    const NameFrequency &frequencyOf(const Spelling *spelling, ReadingList list) const;

private:
    const NameFrequencies &m_frequencies;
    BirthYears m_years;
};
