#include "generate/Wareki.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {
struct Era
{
    int year;
    int month;
    int day;
    char name[7]; // UTF-8, two kanji of three bytes
};

// Latest first.
constexpr Era kEras[] = {
    {2019, 5, 1, "令和"},
    {1989, 1, 8, "平成"},
    {1926, 12, 25, "昭和"},
    {1912, 7, 30, "大正"},
    {1868, 10, 23, "明治"},
};

char *number(char *out, int value)
{
    if (value >= 10)
        *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

// One kanji, three bytes: a copy of fixed size, a move rather than a call (a million dates
// a run).
char *kanji(char *out, const char (&utf8)[4])
{
    std::memcpy(out, utf8, 3);
    return out + 3;
}

// The date written out, era by era.
std::size_t writeSlowly(int year, int month, int day, char *out)
{
    if (year < 1873)
        return 0;
    const int date = (year * 100 + month) * 100 + day;
    for (const Era &era : kEras) {
        if (date < (era.year * 100 + era.month) * 100 + era.day)
            continue;
        std::memcpy(out, era.name, 6);
        char *end = out + 6;
        const int inEra = year - era.year + 1;
        end = inEra == 1 ? kanji(end, "元") : number(end, inEra);
        end = kanji(end, "年");
        end = number(end, month);
        end = kanji(end, "月");
        end = number(end, day);
        end = kanji(end, "日");
        return static_cast<std::size_t>(end - out);
    }
    return 0;
}

// The era and year of each year's days (those before an era's first day and those from it) and
// the month and day of each day, written once: a date is then two copies of fixed size.
struct Pieces
{
    static constexpr int FirstYear = 1873;
    static constexpr int LastYear = 2199;
    struct Text
    {
        char bytes[16];
        std::uint8_t size;
    };
    struct Year
    {
        Text before; // the era the year begins in
        Text from; // from the first day of an era that begins in it
        int eraBegins = 1231 + 1; // month * 100 + day; past the year when none does
    };
    std::array<Year, LastYear - FirstYear + 1> years{};
    std::array<Text, 13 * 32> days{};

    Pieces()
    {
        for (int year = FirstYear; year <= LastYear; ++year) {
            Year &row = years[static_cast<std::size_t>(year - FirstYear)];
            for (const Era &era : kEras) {
                if (era.year == year)
                    row.eraBegins = era.month * 100 + era.day;
            }
            prefix(year, 1, 1, row.before);
            if (row.eraBegins <= 1231)
                prefix(year, row.eraBegins / 100, row.eraBegins % 100, row.from);
        }
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                Text &text = days[static_cast<std::size_t>(month * 32 + day)];
                char *end = number(text.bytes, month);
                end = kanji(end, "月");
                end = number(end, day);
                end = kanji(end, "日");
                text.size = static_cast<std::uint8_t>(end - text.bytes);
            }
        }
    }

    // The era and year of a day, the date with its month and day cut off.
    static void prefix(int year, int month, int day, Text &text)
    {
        char full[Wareki::MaxBytes];
        const std::string_view date(full, writeSlowly(year, month, day, full));
        text.size = static_cast<std::uint8_t>(date.find("年") + 3);
        std::memcpy(text.bytes, full, text.size);
    }
};
} // namespace

std::size_t Wareki::write(int year, int month, int day, char *out)
{
    if (year < Pieces::FirstYear || year > Pieces::LastYear || month < 1 || month > 12 || day < 1 || day > 31)
        return writeSlowly(year, month, day, out);
    static const Pieces pieces;
    const Pieces::Year &row = pieces.years[static_cast<std::size_t>(year - Pieces::FirstYear)];
    const Pieces::Text &prefix = month * 100 + day >= row.eraBegins ? row.from : row.before;
    const Pieces::Text &suffix = pieces.days[static_cast<std::size_t>(month * 32 + day)];
    std::memcpy(out, prefix.bytes, 16);
    std::memcpy(out + prefix.size, suffix.bytes, 16);
    return prefix.size + suffix.size;
}

QString Wareki::text(const QDate &date)
{
    char buffer[MaxBytes];
    const std::size_t size = write(date.year(), date.month(), date.day(), buffer);
    return QString::fromUtf8(buffer, static_cast<qsizetype>(size));
}
