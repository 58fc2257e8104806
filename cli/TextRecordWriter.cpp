#include "cli/TextRecordWriter.h"

#include "cli/OutputFile.h"

#include <algorithm>

TextRecordWriter::TextRecordWriter(
    OutputFile &output, NameAttribute script, bool givenFirst, bool familyCapitals, RecordStyle style)
    : m_output(output)
    , m_script(script)
    , m_givenFirst(givenFirst)
    , m_familyCapitals(familyCapitals)
    , m_style(style)
    , m_encoding(style.encoding)
{ }

Outcome TextRecordWriter::begin()
{
    if (m_style.fileStart)
        m_output.append(m_encoding.byteOrderMark().data(), m_encoding.byteOrderMark().size());
    return {};
}

void TextRecordWriter::prepare(NameVariant &variant, RecordPart part) const
{
    const int script = static_cast<int>(m_script);
    // A built-in name the readings do not know is still a name: its romaji stands in.
    std::string block = variant.isKnown(script) ? variant.text(script) : variant.spelling->romaji;
    // Capitals of ASCII letters alone: kanji and kana have none, and a romaji style's macrons
    // stay as they are written (YŪKI would be another spelling).
    if (m_familyCapitals && part == RecordPart::Family) {
        for (char &c : block) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
    }
    // Checked against the encoding by the command before the output was opened.
    block = m_encoding.encoded(block).value_or(block);
    variant.fieldEnd[0] = static_cast<std::uint32_t>(block.size());
    // write() copies in whole steps: room to read past the text.
    block.append(Step, '\0');
    variant.setHot(block);
}

void TextRecordWriter::measure(const std::vector<NameVariant> &variants, RecordPart part)
{
    // A line holds the names alone.
    if (part == RecordPart::Born)
        return;
    for (const NameVariant &variant : variants)
        m_longestPart = std::max(m_longestPart, variant.field(0).size());
}

void TextRecordWriter::write(const NameVariant *given, const NameVariant *family, const NameVariant *, const PersonTexts *)
{
    const NameVariant *first = m_givenFirst ? given : family;
    const NameVariant *second = m_givenFirst ? family : given;
    if (!first)
        std::swap(first, second);
    // Two parts, a space and a line end, and the step a copy may run past its part.
    const std::size_t longest = 2 * m_longestPart + 2 + Step;
    if (longest > OutputFile::Capacity) {
        m_output.append(first->field(0).data(), first->field(0).size());
        if (second) {
            m_output.append(' ');
            m_output.append(second->field(0).data(), second->field(0).size());
        }
        m_output.append('\n');
        return;
    }
    char *out = copyInSteps(m_output.reserve(longest), first->field(0));
    if (second) {
        *out++ = ' ';
        out = copyInSteps(out, second->field(0));
    }
    *out++ = '\n';
    m_output.advance(out);
}
