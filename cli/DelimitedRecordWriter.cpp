#include "cli/DelimitedRecordWriter.h"

#include "cli/OutputFile.h"

#include <cstring>

DelimitedRecordWriter::DelimitedRecordWriter(OutputFile &output, Kind kind, std::vector<RecordField> fields)
    : m_output(output)
    , m_kind(kind)
    , m_fields(std::move(fields))
{ }

std::string DelimitedRecordWriter::csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string DelimitedRecordWriter::encoded(const std::string &text) const
{
    if (m_kind == Kind::Csv)
        return csvField(text);
    std::string plain = text;
    for (char &c : plain) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return plain;
}

void DelimitedRecordWriter::prepare(NameVariant &variant) const
{
    for (int attribute = 0; attribute < static_cast<int>(variant.encoded.size()); ++attribute)
        variant.encoded[static_cast<std::size_t>(attribute)] = encoded(variant.text(attribute));
}

Outcome DelimitedRecordWriter::begin()
{
    const char separator = m_kind == Kind::Csv ? ',' : '\t';
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            m_output.append(separator);
        m_output.append(recordFieldName(m_fields[i]), std::strlen(recordFieldName(m_fields[i])));
    }
    m_output.append(m_kind == Kind::Csv ? "\r\n" : "\n", m_kind == Kind::Csv ? 2 : 1);
    return {};
}

void DelimitedRecordWriter::write(const NameVariant *given, const NameVariant *family)
{
    const char separator = m_kind == Kind::Csv ? ',' : '\t';
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            m_output.append(separator);
        const NameVariant *part = isGivenField(m_fields[i]) ? given : family;
        if (part)
            m_output.append(part->encoded[static_cast<std::size_t>(attributeOf(m_fields[i]))]);
    }
    if (m_kind == Kind::Csv)
        m_output.append("\r\n", 2);
    else
        m_output.append('\n');
}
