#include "cli/BirthDayTexts.h"

#include "generate/Age.h"
#include "generate/Wareki.h"

#include <algorithm>
#include <charconv>
#include <cstring>

BirthDayTexts::ShortText BirthDayTexts::shortText(std::string_view text)
{
    ShortText shortText;
    shortText.size = static_cast<std::uint8_t>(std::min(text.size(), sizeof shortText.text));
    std::memcpy(shortText.text, text.data(), shortText.size);
    return shortText;
}

BirthDayTexts::BirthDayTexts(const QDate &from, const QDate &to, const QDate &asOf)
    : m_firstDay(from.toJulianDay())
{
    m_rows.resize(static_cast<std::size_t>(std::max<qint64>(0, to.toJulianDay() - m_firstDay + 1)));
    int asOfYear = 0;
    int asOfMonth = 0;
    int asOfDay = 0;
    asOf.getDate(&asOfYear, &asOfMonth, &asOfDay);
    int year = 0;
    int month = 0;
    int day = 0;
    from.getDate(&year, &month, &day);
    char text[Wareki::MaxBytes];
    m_monthDays.resize(1 + 12 * 31);
    // Day by day in calendar order: a table of 40,000 days costs less than a million records.
    for (Row &row : m_rows) {
        const int digits[] = {year / 1000, year / 100 % 10, year / 10 % 10, year % 10, -1, month / 10, month % 10, -1,
            day / 10, day % 10};
        for (std::size_t i = 0; i < sizeof row.date; ++i)
            row.date[i] = digits[i] < 0 ? '-' : static_cast<char>('0' + digits[i]);
        row.dateSize = sizeof row.date;
        const int age = Age::on(year, month, day, asOfYear, asOfMonth, asOfDay);
        // None for a birth after --as-of (or past 9999 years).
        if (age >= 0 && age < 10000) {
            while (m_ages.size() <= static_cast<std::size_t>(age) + 1) {
                const int value = static_cast<int>(m_ages.size()) - 1;
                m_ages.push_back(
                    shortText(std::string_view(text, std::to_chars(text, text + sizeof text, value).ptr - text)));
            }
            row.age = static_cast<std::uint16_t>(age + 1);
        }
        // The era and its year, then the month and the day: each fits its room until 2118.
        const std::string_view wareki(text, Wareki::write(year, month, day, text));
        const std::size_t yearAt = wareki.find("年");
        const std::size_t yearEnds = yearAt + std::string_view("年").size();
        const std::string_view eraYear = wareki.substr(0, yearEnds);
        if (yearAt != std::string_view::npos && eraYear.size() < sizeof(ShortText::text)) {
            // Days come in order: a new era or year is the last one's next.
            const ShortText &latest = m_eraYears.back();
            if (std::string_view(latest.text, latest.size) != eraYear)
                m_eraYears.push_back(shortText(eraYear));
            row.eraYear = static_cast<std::uint8_t>(m_eraYears.size() - 1);
            row.monthDay = static_cast<std::uint16_t>(1 + (month - 1) * 31 + (day - 1));
            ShortText &monthDay = m_monthDays[row.monthDay];
            if (monthDay.size == 0)
                monthDay = shortText(wareki.substr(yearEnds));
        }
        static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int daysOfMonth = kMonthDays[month - 1] + (month == 2 && QDate::isLeapYear(year) ? 1 : 0);
        if (++day > daysOfMonth) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
}
