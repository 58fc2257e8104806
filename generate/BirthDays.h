#pragma once

#include "generate/BirthYears.h"

#include <QDate>
#include <array>

// The days a given name can have been given on within one decade and the years of birth chosen:
// every day before 1948, and from 1948 only the days from the one its kanji were all permitted
// (KanjiDates::permittedFrom; never, for an invalid date). At most two spans of days.
class BirthDays
{
public:
    BirthDays(int decade, const BirthYears &years, const QDate &permitted);

    qint64 count() const { return m_spans[0].count() + m_spans[1].count(); }
    // The index-th of those days in calendar order, index < count().
    QDate at(qint64 index) const;

private:
    struct Span
    {
        qint64 first = 0; // Julian days, last excluded
        qint64 last = 0;
        qint64 count() const { return last > first ? last - first : 0; }
    };
    std::array<Span, 2> m_spans;
};
