#include "cli/JsonRecordWriter.h"

#include "cli/OutputFile.h"

JsonRecordWriter::JsonRecordWriter(OutputFile &output, Kind kind, std::vector<RecordField> fields, RecordStyle style)
    : m_output(output)
    , m_kind(kind)
    , m_fields(std::move(fields))
    , m_style(style)
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_keys.push_back((i > 0 ? "," : "") + jsonString(recordFieldName(m_fields[i])) + ":");
}

std::string JsonRecordWriter::jsonString(const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            quoted += "\\u00";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0xf];
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

void JsonRecordWriter::prepare(NameVariant &variant, RecordPart) const
{
    for (int attribute = 0; attribute < static_cast<int>(variant.spelling->encoded.size()); ++attribute) {
        variant.spelling->encoded[static_cast<std::size_t>(attribute)]
            = variant.isKnown(attribute) ? jsonString(variant.text(attribute)) : std::string("null");
    }
}

Outcome JsonRecordWriter::begin()
{
    if (m_kind == Kind::Array)
        m_output.append('[');
    return {};
}

void JsonRecordWriter::write(
    const NameVariant *given, const NameVariant *family, const NameVariant *born, const PersonTexts *person)
{
    if (m_kind == Kind::Array)
        m_output.append(m_first ? "\n" : ",\n", m_first ? 1 : 2);
    m_first = false;
    m_output.append('{');
    const NameVariant *const parts[RecordPartCount] = {given, family, born};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_output.append(m_keys[i]);
        if (attributeOf(m_fields[i]) == NameAttribute::BankKana) {
            writeBankKana(given, family);
            continue;
        }
        if (partOf(m_fields[i]) == RecordPart::Person) {
            // Dates, digits and addresses: nothing in them to escape. The age is a number.
            const std::size_t field = PersonTexts::indexOf(attributeOf(m_fields[i]));
            if (!person || !person->isKnown(field)) {
                m_output.append("null", 4);
            } else if (m_fields[i] == RecordField::Age) {
                m_output.append(person->field(field).data(), person->field(field).size());
            } else {
                m_output.append('"');
                m_output.append(person->field(field).data(), person->field(field).size());
                m_output.append('"');
            }
            continue;
        }
        const NameVariant *part = parts[static_cast<int>(partOf(m_fields[i]))];
        if (part)
            m_output.append(part->spelling->encoded[static_cast<std::size_t>(attributeOf(m_fields[i]))]);
        else
            m_output.append("null", 4);
    }
    m_output.append('}');
    if (m_kind == Kind::Lines)
        m_output.append('\n');
}

void JsonRecordWriter::writeBankKana(const NameVariant *given, const NameVariant *family)
{
    // As csv writes it; null when neither name is known. Its characters need no escaping.
    std::string text;
    if (family)
        text += m_style.text(*family, NameAttribute::BankKana, RecordPart::Family);
    if (given)
        text += m_style.text(*given, NameAttribute::BankKana, RecordPart::Given);
    if (text.empty()) {
        m_output.append("null", 4);
        return;
    }
    m_output.append('"');
    m_output.append(text);
    m_output.append('"');
}

Outcome JsonRecordWriter::finish()
{
    if (m_kind == Kind::Array)
        m_output.append("\n]\n", 3);
    return {};
}
