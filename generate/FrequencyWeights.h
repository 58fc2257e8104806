#pragma once

#include "generate/BirthYears.h"
#include "store/NameFrequencies.h"

#include <QDate>
#include <array>
#include <map>

class KanjiDates;

// The weight each spelling is drawn by when names are as common as they are: a surname by the
// people who bear it, a given name by the people given it in the years of birth chosen. A
// decade's people are spread evenly over the days the name could be given in it, so a decade
// partly inside the years counts for its part inside, and a name whose kanji were permitted only
// in the course of a decade is given only after that day.
class FrequencyWeights
{
public:
    using Decades = std::array<double, NameFrequency::DecadeCount>;

    FrequencyWeights(const NameFrequencies &frequencies, const KanjiDates &kanjiDates, BirthYears years);

    // The weight of a spelling; of a name without one (null: a name without readings) the least
    // of the list it is drawn from, given on any day.
    double of(const Spelling *spelling, ReadingList list) const;
    // A given name's weight in each decade (0 for the 1920s), among the years.
    Decades inDecades(const Spelling *spelling, ReadingList list) const;
    // The day from which a spelling could be given; any day for a name without readings.
    QDate permittedFrom(const Spelling *spelling) const;

private:
    // The row of a spelling; of a name without one, the least of its list.
    const NameFrequency &frequencyOf(const Spelling *spelling, ReadingList list) const;
    // The part of each decade's people given a name permitted from a day (invalid: never) that
    // were born in the years chosen.
    const Decades &sharesFrom(const QDate &permitted) const;

    const NameFrequencies &m_frequencies;
    const KanjiDates &m_kanjiDates;
    BirthYears m_years;
    mutable std::map<qint64, Decades> m_shares; // by the permitted day's Julian day
};
