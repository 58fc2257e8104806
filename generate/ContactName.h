#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
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
        std::optional<std::uint64_t> number, std::size_t maxLength, char *out);
};
