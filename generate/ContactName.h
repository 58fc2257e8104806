#pragma once

#include <QString>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// The local part of an email address or a login made from a person's names in passport romaji,
// the way Japanese addresses are commonly made: hanako.yamada, yamada.hanako, h.yamada,
// hanako_yamada or yamadah, now and then with two digits. Lower-case ASCII letters, digits and
// . _ only, never a dot first, last or twice in a row: an RFC 5322 dot-atom, and a login of
// [a-z0-9._-].
class ContactName
{
public:
    static constexpr std::size_t MaxEmailLocal = 64; // RFC 5321
    static constexpr std::size_t MaxLogin = 32;
    static constexpr std::size_t MinLogin = 3;
    static constexpr std::size_t Step = 32;

    // A name's letters in lower-case ASCII, accents dropped (Ō is o), anything else left out.
    static std::string asciiOf(const QString &name);

    // Writes the name made of given and family (either may be empty) to out, at most maxLength
    // bytes, and returns its length. The pattern and the digits come from bits. With a number,
    // the name ends in it (two digits at least) instead of digits drawn: names have no digits,
    // so two different numbers never give one name, whatever the names.
    // Names are copied in whole steps of Step bytes, a few vector moves rather than a call each:
    // given and family must be readable, and out writable, Step bytes past maxLength.
    static std::size_t write(std::string_view given, std::string_view family, std::uint64_t bits,
        std::optional<std::uint64_t> number, std::size_t maxLength, char *out)
    {
        return number || given.empty() || family.empty() ? writeAny(given, family, bits, number, maxLength, out)
                                                         : writeBoth(given, family, bits, maxLength, out);
    }
    // The common case, both names and no number, inline: two of these a record, a million
    // records a run. Names to shorten, or too short for a login, go the general way.
    Q_ALWAYS_INLINE static std::size_t writeBoth(
        std::string_view given, std::string_view family, std::uint64_t bits, std::size_t maxLength, char *out)
    {
        // The pattern drawn from a table rather than a switch: a random choice among five
        // branches was mispredicted on most records.
        const Shape &shape = kShapes[below(bits, Patterns)];
        const std::string_view first = shape.familyFirst ? family : given;
        const std::string_view second = shape.familyFirst ? given : family;
        const std::size_t firstSize = std::min<std::size_t>(first.size(), shape.firstCut);
        const std::size_t secondSize = std::min<std::size_t>(second.size(), shape.secondCut);
        // Two digits, now and then: written always, counted only when drawn.
        const std::size_t digitCount = below(bits >> 16, 4) == 0 ? 2 : 0;
        const std::size_t size = firstSize + shape.separatorSize + secondSize + digitCount;
        // Names that must be shortened, that make less than a login, or that take more than a
        // step go the general way: one test for all, rarely true.
        if (size - MinLogin > maxLength - MinLogin || (first.size() | second.size()) >= Step)
            return writeAny(given, family, bits, std::nullopt, maxLength, out);
        std::memcpy(out, first.data(), Step);
        char *end = out + firstSize;
        *end = shape.separator;
        end += shape.separatorSize;
        std::memcpy(end, second.data(), Step);
        end += secondSize;
        std::memcpy(end, DigitPairs.data() + 2 * (10 + below(bits >> 32, 90)), 2);
        end += digitCount;
        return static_cast<std::size_t>(end - out);
    }

private:
    // Which name comes first, how much of each (all, or the initial) and what joins them.
    struct Shape
    {
        bool familyFirst;
        std::uint8_t firstCut;
        std::uint8_t secondCut;
        char separator;
        std::uint8_t separatorSize;
    };
    static constexpr std::uint8_t Whole = 0xff;
    static constexpr unsigned Patterns = 5;
    static constexpr Shape kShapes[Patterns] = {
        {false, Whole, Whole, '.', 1}, // hanako.yamada
        {true, Whole, Whole, '.', 1}, // yamada.hanako
        {false, 1, Whole, '.', 1}, // h.yamada
        {false, Whole, Whole, '_', 1}, // hanako_yamada
        {true, Whole, 1, '\0', 0}, // yamadah
    };

    // "00" to "99", two characters each.
    static constexpr std::array<char, 200> DigitPairs = [] {
        std::array<char, 200> pairs{};
        for (std::size_t i = 0; i < 100; ++i) {
            pairs[2 * i] = static_cast<char>('0' + i / 10);
            pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
        return pairs;
    }();
    static std::size_t writeAny(std::string_view given, std::string_view family, std::uint64_t bits,
        std::optional<std::uint64_t> number, std::size_t maxLength, char *out);

    // Of 16 bits, a value below n.
    static unsigned below(std::uint64_t bits, unsigned n)
    {
        return static_cast<unsigned>(((bits & 0xffffU) * n) >> 16);
    }
};
