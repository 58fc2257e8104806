#include "cli/OutputEncoding.h"

#include <algorithm>
#include <cstring>

namespace {
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool isAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// The bytes of the UTF-8 sequence at i, or 0 where none starts.
[[gnu::always_inline]] inline std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// The character a well-formed sequence spells, or 0 for an overlong one or a surrogate.
[[gnu::always_inline]] inline char32_t codePoint(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return lead;
    char32_t character = lead & (0x7F >> sequence.size());
    for (std::size_t k = 1; k < sequence.size(); ++k)
        character = (character << 6) | (static_cast<unsigned char>(sequence[k]) & 0x3F);
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (character < smallest[sequence.size()] || (character >= 0xD800 && character <= 0xDFFF))
        return 0;
    return character;
}
} // namespace

OutputEncoding::OutputEncoding(Kind kind)
    : m_kind(kind)
{
    if (m_kind == Kind::Cp932) {
        m_encoder = iconv_open("CP932", "UTF-8");
        m_decoder = iconv_open("UTF-8", "CP932");
    }
}

OutputEncoding::~OutputEncoding()
{
    if (m_encoder != kNoConverter)
        iconv_close(m_encoder);
    if (m_decoder != kNoConverter)
        iconv_close(m_decoder);
}

std::string_view OutputEncoding::byteOrderMark() const
{
    return m_kind == Kind::Utf8Bom ? std::string_view("\xEF\xBB\xBF", 3) : std::string_view();
}

std::optional<std::string> OutputEncoding::encoded(std::string_view utf8) const
{
    // ASCII is the same bytes in all three (CP932's 0x5C and 0x7E read as \ and ~ by iconv).
    if (m_kind != Kind::Cp932 || isAscii(utf8))
        return std::string(utf8);
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = sequenceLength(utf8, i);
        const char32_t character = length == 0 ? 0 : codePoint(utf8.substr(i, length));
        if (character == 0 || character > 0xFFFF)
            return roundTripped(utf8); // nothing CP932 has: iconv says so of the whole
        const Bytes &known = bytesOf(character, utf8.substr(i, length));
        if (known.size == 0)
            return std::nullopt;
        bytes.append(known.bytes, known.size);
        i += length;
    }
    return bytes;
}

char *OutputEncoding::write(std::string_view utf8, char *out) const
{
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80 || m_kind != Kind::Cp932) {
            *out++ = utf8[i++];
            continue;
        }
        const std::size_t length = std::max<std::size_t>(sequenceLength(utf8, i), 1);
        const char32_t character = length == 1 ? 0 : codePoint(utf8.substr(i, length));
        if (character == 0 || character > 0xFFFF || bytesOf(character, utf8.substr(i, length)).size == 0) {
            *out++ = '?';
            i += length;
            continue;
        }
        const Bytes &known = m_table[character];
        i += length;
        std::memcpy(out, known.bytes, 2);
        out += known.size;
    }
    return out;
}

const OutputEncoding::Bytes &OutputEncoding::bytesOf(char32_t character, std::string_view utf8) const
{
    if (m_table.empty()) {
        m_table.resize(0x10000);
        m_known.resize(0x10000);
    }
    Bytes &known = m_table[character];
    if (!m_known[character]) {
        m_known[character] = true;
        const std::optional<std::string> bytes = roundTripped(utf8);
        if (bytes && !bytes->empty() && bytes->size() <= 2) {
            std::memcpy(known.bytes, bytes->data(), bytes->size());
            known.size = static_cast<std::uint8_t>(bytes->size());
        }
    }
    return known;
}

std::optional<std::string> OutputEncoding::roundTripped(std::string_view utf8) const
{
    std::optional<std::string> bytes = converted(m_encoder, utf8);
    if (!bytes || converted(m_decoder, *bytes) != std::string(utf8))
        return std::nullopt;
    return bytes;
}

std::optional<std::string> OutputEncoding::converted(iconv_t converter, std::string_view text) const
{
    if (converter == kNoConverter)
        return std::nullopt;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    // Neither direction more than doubles a text's length (UTF-8's 3 bytes for a 1-byte kana).
    std::string out(text.size() * 3 + 4, '\0');
    char *in = const_cast<char *>(text.data());
    std::size_t inLeft = text.size();
    char *to = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}
