#pragma once

#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bytes a text output is written in: UTF-8, UTF-8 after a byte-order mark, or CP932 (the
// Shift_JIS of Japanese Windows) through the system's iconv. Texts are converted once each, when
// a writer prepares them, never per record.
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
    // ASCII as it is, every other character from a table that converts each one once. The text
    // was checked encodable; out has room for its UTF-8 bytes, which CP932 never exceeds.
    char *write(std::string_view utf8, char *out) const;

private:
    std::optional<std::string> converted(iconv_t converter, std::string_view text) const;

    struct Converted
    {
        std::string utf8;
        std::string bytes;
    };

    Kind m_kind;
    mutable std::vector<Converted> m_table; // a handful: the era names and 年, 月, 日
    iconv_t m_encoder = reinterpret_cast<iconv_t>(-1);
    iconv_t m_decoder = reinterpret_cast<iconv_t>(-1);
};
