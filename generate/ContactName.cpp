#include "generate/ContactName.h"

#include <algorithm>
#include <cstring>

namespace {
// The general way, for any names and a number: which names come first and second (given,
// family, "user" or none), how much of each and what joins them.
struct AnyShape
{
    std::uint8_t first;
    std::uint8_t firstCut;
    std::uint8_t second;
    std::uint8_t secondCut;
    char separator;
};
constexpr std::uint8_t kGiven = 0;
constexpr std::uint8_t kFamily = 1;
constexpr std::uint8_t kUser = 2;
constexpr std::uint8_t kNone = 3;
constexpr std::uint8_t kWhole = 0xff;
constexpr AnyShape kAnyShapes[] = {
    {kGiven, kWhole, kFamily, kWhole, '.'}, // hanako.yamada
    {kFamily, kWhole, kGiven, kWhole, '.'}, // yamada.hanako
    {kGiven, 1, kFamily, kWhole, '.'}, // h.yamada
    {kGiven, kWhole, kFamily, kWhole, '_'}, // hanako_yamada
    {kFamily, kWhole, kGiven, 1, '\0'}, // yamadah
    {kGiven, kWhole, kNone, kWhole, '\0'}, // a given name alone
    {kFamily, kWhole, kNone, kWhole, '\0'}, // a family name alone
    {kUser, kWhole, kNone, kWhole, '\0'}, // no name at all
};

char *decimal(char *out, std::uint64_t value, int minDigits)
{
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count < minDigits)
        digits[count++] = '0';
    while (count > 0)
        *out++ = digits[--count];
    return out;
}
} // namespace

std::string ContactName::asciiOf(const QString &name)
{
    std::string ascii;
    for (const QChar c : name.normalized(QString::NormalizationForm_KD)) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            ascii += static_cast<char>(u);
        else if (u >= u'A' && u <= u'Z')
            ascii += static_cast<char>(u - u'A' + u'a');
    }
    return ascii;
}

std::size_t ContactName::writeAny(std::string_view given, std::string_view family, std::uint64_t bits,
    std::optional<std::uint64_t> number, std::size_t maxLength, char *out)
{
    // The digits first: they are kept whole, the names shortened to make room. Drawn digits are
    // two, written whether drawn or not and counted only when drawn: no branch on a coin toss.
    char digits[24];
    std::size_t digitCount = 0;
    if (number) {
        digitCount = static_cast<std::size_t>(decimal(digits, *number, 2) - digits);
    } else {
        const unsigned value = 10 + below(bits >> 32, 90);
        digits[0] = static_cast<char>('0' + value / 10);
        digits[1] = static_cast<char>('0' + value % 10);
        digitCount = below(bits >> 16, 4) == 0 ? 2 : 0;
    }

    // "user" with the slack a name has.
    static const char kUserText[Step + 4] = "user";
    const char *const texts[] = {given.data(), family.data(), kUserText, kUserText};
    const std::size_t sizes[] = {given.size(), family.size(), 4, 0};
    const unsigned shape = !given.empty() && !family.empty() ? below(bits, Patterns)
        : !given.empty()                                     ? 5
        : !family.empty()                                    ? 6
                                                             : 7;
    const AnyShape &s = kAnyShapes[shape];
    const std::size_t firstWhole = std::min<std::size_t>(sizes[s.first], s.firstCut);
    const std::size_t secondWhole = std::min<std::size_t>(sizes[s.second], s.secondCut);
    const std::size_t separatorSize = s.separator ? 1 : 0;

    // Each name shortened to what room is left, the first no shorter than half of it.
    const std::size_t room = maxLength - digitCount - separatorSize;
    const std::size_t firstSize = std::min(firstWhole, std::max(room / 2, room - std::min(room, secondWhole)));
    const std::size_t secondSize = std::min(secondWhole, room - firstSize);
    char *end = put(out, texts[s.first], firstSize);
    *end = s.separator;
    end += secondSize > 0 ? separatorSize : 0;
    end = put(end, texts[s.second], secondSize);
    if (number) {
        std::memcpy(end, digits, digitCount);
    } else {
        std::memcpy(end, digits, 2);
    }
    end += digitCount;
    // A login is three characters at least.
    if (static_cast<std::size_t>(end - out) < MinLogin)
        end = decimal(end, 10 + below(bits >> 48, 90), 2);
    return static_cast<std::size_t>(end - out);
}
