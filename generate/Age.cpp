#include "generate/Age.h"

int Age::on(const QDate &birth, const QDate &day)
{
    if (birth > day)
        return -1;
    return on(birth.year(), birth.month(), birth.day(), day.year(), day.month(), day.day());
}

std::pair<QDate, QDate> Age::birthsFor(int youngest, int oldest, const QDate &day)
{
    // The last birth of the youngest is that many years back (29 February back to a common year
    // is 28 February, a year older on the 29th's 1 March); the first birth of the oldest the
    // day after one more year back.
    return {day.addYears(-(oldest + 1)).addDays(1), day.addYears(-youngest)};
}
