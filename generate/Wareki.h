#pragma once

#include <QDate>
#include <QString>
#include <cstddef>

// A date in the Japanese era calendar, as forms write dates of birth: 昭和45年3月12日, and 元年 for
// an era's first year. The eras begin on their exact days: 大正 1912-07-30, 昭和 1926-12-25,
// 平成 1989-01-08, 令和 2019-05-01.
class Wareki
{
public:
    // The most UTF-8 bytes a date takes.
    static constexpr std::size_t MaxBytes = 32;

    // Writes the date's UTF-8 to out (room for MaxBytes) and returns its length: nothing before 1873, when Japan
    // took the Gregorian calendar.
    static std::size_t write(int year, int month, int day, char *out);
    static QString text(const QDate &date);
};
