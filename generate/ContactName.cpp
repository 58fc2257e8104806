#include "generate/ContactName.h"

#include "generate/CopyInSteps.h"

#include <algorithm>
#include <cstring>

namespace {
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
    // The digits first: they are kept whole, the names shortened to make room.
    char digits[24];
    std::size_t digitCount = 0;
    if (number) {
        digitCount = static_cast<std::size_t>(decimal(digits, *number, 2) - digits);
    } else if (below(bits >> 16, 4) == 0) {
        std::memcpy(digits, DigitPairs.data() + 2 * (10 + below(bits >> 32, 90)), 2);
        digitCount = 2;
    }

    // Both names in a pattern of the table; else the one there is, or "user" (with the slack a
    // name has).
    static const char kUser[Step + 4] = "user";
    std::string_view first = given.empty() ? family : given;
    std::string_view second;
    char separator = '\0';
    if (given.empty() && family.empty()) {
        first = std::string_view(kUser, 4);
    } else if (!given.empty() && !family.empty()) {
        const Shape &shape = kShapes[below(bits, Patterns)];
        first = (shape.familyFirst ? family : given).substr(0, shape.firstCut);
        second = (shape.familyFirst ? given : family).substr(0, shape.secondCut);
        separator = shape.separator;
    }
    // Each name shortened to what room is left, the first no shorter than half of it.
    const std::size_t room = maxLength - digitCount - (separator ? 1 : 0);
    const std::size_t firstSize = std::min(first.size(), std::max(room / 2, room - std::min(room, second.size())));
    const std::size_t secondSize = std::min(second.size(), room - firstSize);
    char *end = copyInSteps<Step>(out, first.data(), firstSize);
    if (secondSize > 0) {
        if (separator)
            *end++ = separator;
        end = copyInSteps<Step>(end, second.data(), secondSize);
    }
    std::memcpy(end, digits, digitCount);
    end += digitCount;
    // A login is three characters at least.
    if (static_cast<std::size_t>(end - out) < MinLogin)
        end = decimal(end, 10 + below(bits >> 48, 90), 2);
    return static_cast<std::size_t>(end - out);
}
