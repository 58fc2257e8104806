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
    // The completed years on a day; -1 for a birth after it.
    static int on(int birthYear, int birthMonth, int birthDay, int year, int month, int day);
    static int on(const QDate &birth, const QDate &day);
    // The first and the last day of birth of the people aged youngest to oldest on a day.
    static std::pair<QDate, QDate> birthsFor(int youngest, int oldest, const QDate &day);
};
