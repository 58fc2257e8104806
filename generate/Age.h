#pragma once

#include <QDate>
#include <utility>

// Age in completed years, as Japanese law counts it (年齢計算ニ関スル法律): a year is completed at
// the end of the day before the birthday, so a person is a year older on the birthday itself.
// Born on 29 February, that day before is 28 February in every year: in a common year a year
// older on 1 March.
class Age
{
public:
    // The completed years on a day; -1 for a birth after it. Inline: a million records a run.
    static int on(int birthYear, int birthMonth, int birthDay, int year, int month, int day)
    {
        int age = year - birthYear;
        // The birthday of that year; 29 February is 1 March of a common year.
        int anniversaryMonth = birthMonth;
        int anniversaryDay = birthDay;
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (birthMonth == 2 && birthDay == 29 && !leap) {
            anniversaryMonth = 3;
            anniversaryDay = 1;
        }
        if (month < anniversaryMonth || (month == anniversaryMonth && day < anniversaryDay))
            --age;
        return age < 0 ? -1 : age;
    }
    static int on(const QDate &birth, const QDate &day);
    // The first and the last day of birth of the people aged youngest to oldest on a day.
    static std::pair<QDate, QDate> birthsFor(int youngest, int oldest, const QDate &day);
};
