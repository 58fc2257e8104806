#include "generate/Age.h"

int Age::on(int birthYear, int birthMonth, int birthDay, int year, int month, int day)
{
    int age = year - birthYear;
    // The birthday of that year; 29 February is 1 March of a common year.
    int anniversaryMonth = birthMonth;
    int anniversaryDay = birthDay;
    if (birthMonth == 2 && birthDay == 29 && !QDate::isLeapYear(year)) {
        anniversaryMonth = 3;
        anniversaryDay = 1;
    }
    if (month < anniversaryMonth || (month == anniversaryMonth && day < anniversaryDay))
        --age;
    return age < 0 ? -1 : age;
}

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
