#include "generate/Wareki.h"

#include <cstring>

namespace {
struct Era
{
    int year;
    int month;
    int day;
    const char *name; // UTF-8, two kanji
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

char *put(char *out, const char *utf8)
{
    const std::size_t size = std::strlen(utf8);
    std::memcpy(out, utf8, size);
    return out + size;
}
} // namespace

std::size_t Wareki::write(int year, int month, int day, char *out)
{
    if (year < 1873)
        return 0;
    for (const Era &era : kEras) {
        const bool begun = year > era.year || (year == era.year && (month > era.month || (month == era.month && day >= era.day)));
        if (!begun)
            continue;
        char *end = put(out, era.name);
        const int inEra = year - era.year + 1;
        end = inEra == 1 ? put(end, "元") : number(end, inEra);
        end = put(end, "年");
        end = number(end, month);
        end = put(end, "月");
        end = number(end, day);
        end = put(end, "日");
        return static_cast<std::size_t>(end - out);
    }
    return 0;
}

QString Wareki::text(const QDate &date)
{
    char buffer[MaxBytes];
    const std::size_t size = write(date.year(), date.month(), date.day(), buffer);
    return QString::fromUtf8(buffer, static_cast<qsizetype>(size));
}
