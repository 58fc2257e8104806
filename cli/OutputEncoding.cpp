#include "cli/OutputEncoding.h"

#include <algorithm>

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
    std::optional<std::string> bytes = converted(m_encoder, utf8);
    if (!bytes || converted(m_decoder, *bytes) != std::string(utf8))
        return std::nullopt;
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
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const std::string_view character = utf8.substr(i, length);
        i += length;
        auto it = std::find_if(
            m_table.begin(), m_table.end(), [&](const Converted &known) { return known.utf8 == character; });
        if (it == m_table.end())
            it = m_table.insert(m_table.end(), {std::string(character), encoded(character).value_or("?")});
        out = std::copy(it->bytes.begin(), it->bytes.end(), out);
    }
    return out;
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
