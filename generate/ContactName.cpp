#include "generate/ContactName.h"

#include <algorithm>
#include <cstring>

namespace {
enum class Pattern {
    GivenDotFamily, // hanako.yamada
    FamilyDotGiven, // yamada.hanako
    InitialDotFamily, // h.yamada
    GivenUnderscoreFamily, // hanako_yamada
    FamilyInitial, // yamadah
};
constexpr int kPatterns = 5;

// Of 16 bits, a value below n.
unsigned below(std::uint64_t bits, unsigned n)
{
    return static_cast<unsigned>(((bits & 0xffffU) * n) >> 16);
}

// Copies text, whole steps from its start: the caller's slack takes what runs past its end.
char *put(char *out, const char *text, std::size_t size)
{
    std::memcpy(out, text, ContactName::Step);
    for (std::size_t done = ContactName::Step; done < size; done += ContactName::Step)
        std::memcpy(out + done, text + done, ContactName::Step);
    return out + size;
}

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

std::size_t ContactName::write(std::string_view given, std::string_view family, std::uint64_t bits,
    std::optional<std::uint64_t> number, std::size_t maxLength, char *out)
{
    // The digits first: they are kept whole, the names shortened to make room.
    char digits[24];
    char *digitsEnd = digits;
    if (number) {
        digitsEnd = decimal(digits, *number, 2);
    } else if (below(bits >> 16, 4) == 0) {
        const unsigned value = 10 + below(bits >> 32, 90);
        digits[0] = static_cast<char>('0' + value / 10);
        digits[1] = static_cast<char>('0' + value % 10);
        digitsEnd = digits + 2;
    }
    const auto digitCount = static_cast<std::size_t>(digitsEnd - digits);

    // "user" with the slack a name has.
    static const char kUser[Step + 4] = "user";
    std::string_view first = given;
    std::string_view second = family;
    char separator = '\0';
    if (given.empty() && family.empty()) {
        first = std::string_view(kUser, 4);
    } else if (!given.empty() && !family.empty()) {
        switch (static_cast<Pattern>(below(bits, kPatterns))) {
        case Pattern::GivenDotFamily:
            separator = '.';
            break;
        case Pattern::FamilyDotGiven:
            std::swap(first, second);
            separator = '.';
            break;
        case Pattern::InitialDotFamily:
            first = std::string_view(given.data(), 1);
            separator = '.';
            break;
        case Pattern::GivenUnderscoreFamily:
            separator = '_';
            break;
        case Pattern::FamilyInitial:
            first = family;
            second = std::string_view(given.data(), 1);
            break;
        }
    } else if (given.empty()) {
        first = family;
        second = {};
    }
    // Each name shortened to what room is left, the first no shorter than half of it.
    const std::size_t room = maxLength - digitCount - (separator ? 1 : 0);
    const std::size_t firstSize = std::min(first.size(), std::max(room / 2, room - std::min(room, second.size())));
    const std::size_t secondSize = std::min(second.size(), room - firstSize);
    char *end = put(out, first.data(), firstSize);
    if (secondSize > 0) {
        if (separator)
            *end++ = separator;
        end = put(end, second.data(), secondSize);
    }
    for (const char *digit = digits; digit < digitsEnd; ++digit)
        *end++ = *digit;
    // A login is three characters at least.
    if (static_cast<std::size_t>(end - out) < MinLogin)
        end = decimal(end, 10 + below(bits >> 48, 90), 2);
    return static_cast<std::size_t>(end - out);
}
