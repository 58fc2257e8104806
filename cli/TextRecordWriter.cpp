#include "cli/TextRecordWriter.h"

#include "cli/OutputFile.h"

TextRecordWriter::TextRecordWriter(OutputFile &output, NameAttribute script, bool givenFirst)
    : m_output(output)
    , m_script(script)
    , m_givenFirst(givenFirst)
{ }

void TextRecordWriter::prepare(NameVariant &variant) const
{
    const int script = static_cast<int>(m_script);
    // A built-in name the readings do not know is still a name: its romaji stands in.
    variant.encoded[0] = variant.isKnown(script) ? variant.text(script) : variant.romaji;
}

void TextRecordWriter::write(const NameVariant *given, const NameVariant *family)
{
    const NameVariant *first = m_givenFirst ? given : family;
    const NameVariant *second = m_givenFirst ? family : given;
    if (first)
        m_output.append(first->encoded[0]);
    if (first && second)
        m_output.append(' ');
    if (second)
        m_output.append(second->encoded[0]);
    m_output.append('\n');
}
