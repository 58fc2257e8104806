#pragma once

#include <cstdint>
#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bytes a text output is written in: UTF-8, UTF-8 after a byte-order mark, or CP932 (the
// Shift_JIS of Japanese Windows) through the system's iconv. Each character goes through iconv
// once, there and back, into a table: CP932 has no shift states, so a text's bytes are its
// characters' bytes one after another, and the tens of thousands of names cost a lookup each.
class OutputEncoding
{
public:
    enum class Kind {
        Utf8,
        Utf8Bom,
        Cp932,
    };

    explicit OutputEncoding(Kind kind = Kind::Utf8);
    ~OutputEncoding();
    OutputEncoding(const OutputEncoding &) = delete;
    OutputEncoding &operator=(const OutputEncoding &) = delete;

    Kind kind() const { return m_kind; }
    // What a file starts with: the mark, or nothing.
    std::string_view byteOrderMark() const;
    // The text in this encoding, or nothing when it has no exact form in it: a character CP932
    // lacks, or one it would give back as another (〜 and ¥ come back as ～ and \).
    std::optional<std::string> encoded(std::string_view utf8) const;
    // Writes a text made per record (a date in the era calendar) at out, and returns its end:
    // ASCII as it is, every other character from the table. The text was checked encodable; out
    // has room for its UTF-8 bytes, which CP932 never exceeds.
    char *write(std::string_view utf8, char *out) const;

private:
    // A character of the Basic Multilingual Plane in CP932: its one or two bytes, and how many.
    struct Bytes
    {
        char bytes[2];
        std::uint8_t size; // 0: none that comes back as the same character
    };

    std::optional<std::string> converted(iconv_t converter, std::string_view text) const;
    std::optional<std::string> roundTripped(std::string_view utf8) const;
    // The character's bytes from the table, converted the first time it is met.
    const Bytes &bytesOf(char32_t character, std::string_view utf8) const;

    Kind m_kind;
    // By code point, up to U+FFFF: CP932 has nothing beyond, and texts beyond go whole.
    mutable std::vector<Bytes> m_table;
    mutable std::vector<bool> m_known;
    iconv_t m_encoder = reinterpret_cast<iconv_t>(-1);
    iconv_t m_decoder = reinterpret_cast<iconv_t>(-1);
};
