#include "generate/BirthDays.h"

#include "store/KanjiDates.h"

#include <algorithm>

BirthDays::BirthDays(int decade, const BirthYears &years, const QDate &permitted)
{
    const int firstYear = std::max(years.from(), BirthYears::FirstYear + 10 * decade);
    const int lastYear = std::min(years.to(), BirthYears::FirstYear + 10 * decade + 9);
    const qint64 first = QDate(firstYear, 1, 1).toJulianDay();
    const qint64 last = QDate(lastYear + 1, 1, 1).toJulianDay();
    const qint64 restricted = KanjiDates::restrictedFrom().toJulianDay();
    m_spans[0] = {first, std::min(last, restricted)};
    if (permitted.isValid())
        m_spans[1] = {std::max({first, restricted, permitted.toJulianDay()}), last};
}

QDate BirthDays::at(qint64 index) const
{
    const qint64 before = m_spans[0].count();
    return QDate::fromJulianDay(index < before ? m_spans[0].first + index : m_spans[1].first + index - before);
}
