#pragma once

#include <QDate>
#include <cstdint>
#include <string_view>
#include <vector>

// The texts of every day of birth a run can draw, written once: a run draws up to a million
// people from some 40,000 days. Its date (YYYY-MM-DD), its age on a day and its date in the era
// calendar (昭和64年1月7日). A day's row is 16 bytes, its texts copied from it and from small
// tables in pieces of fixed size: the rows are read at random, and a smaller table is more often
// in the cache.
class BirthDayTexts
{
public:
    struct ShortText
    {
        char text[15] = {}; // copied whole
        std::uint8_t size = 0;
    };
    struct alignas(16) Row
    {
        char date[10] = {}; // YYYY-MM-DD
        std::uint8_t dateSize = 0; // none for no day
        std::uint8_t eraYear = 0; // the era, its year and 年
        std::uint16_t monthDay = 0; // the month and the day
        std::uint16_t age = 0;
    };

    BirthDayTexts() = default;
    // The days from from to to, their ages on asOf (none for a birth after it).
    BirthDayTexts(const QDate &from, const QDate &to, const QDate &asOf);

    // A day of those, by its Julian day.
    const Row &of(qint64 julianDay) const { return m_rows[static_cast<std::size_t>(julianDay - m_firstDay)]; }
    // Texts all empty.
    const Row &none() const { return m_none; }
    const ShortText &age(const Row &row) const { return m_ages[row.age]; }
    const ShortText &eraYear(const Row &row) const { return m_eraYears[row.eraYear]; }
    const ShortText &monthDay(const Row &row) const { return m_monthDays[row.monthDay]; }

private:
    static ShortText shortText(std::string_view text);

    qint64 m_firstDay = 0;
    std::vector<Row> m_rows;
    Row m_none;
    // Each with none first, the index of a day without a date.
    std::vector<ShortText> m_eraYears = {{}}; // 昭和64年, 平成元年 ...
    std::vector<ShortText> m_monthDays = {{}}; // 1月1日 ... 12月31日, by month * 31 + day
    std::vector<ShortText> m_ages = {{}}; // 0, 1, 2 ...
};
