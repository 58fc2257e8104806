#include "cli/DelimitedRecordWriter.h"

#include "cli/OutputFile.h"

#include <algorithm>
#include <cstring>

DelimitedRecordWriter::DelimitedRecordWriter(
    OutputFile &output, Kind kind, std::vector<RecordField> fields, bool header)
    : m_output(output)
    , m_kind(kind)
    , m_separator(kind == Kind::Csv ? ',' : '\t')
    , m_lineEnd(kind == Kind::Csv ? "\r\n" : "\n")
    , m_fields(std::move(fields))
    , m_header(header)
{
    std::size_t taken[RecordPartCount] = {};
    m_longest.assign(m_fields.size(), 0);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const RecordField field = m_fields[i];
        m_part.push_back(partOf(field));
        const std::string_view after = i + 1 < m_fields.size() ? std::string_view(&m_separator, 1) : m_lineEnd;
        if (m_part.back() == RecordPart::Person) {
            m_usesPerson = true;
            m_slot.push_back(PersonTexts::indexOf(attributeOf(field)));
            const std::size_t slot = m_slot.back();
            m_longest[i] = PersonTexts::Starts[slot + 1] - PersonTexts::Starts[slot] - Step + after.size();
            m_steps.push_back({static_cast<std::uint8_t>(RecordPart::Person), static_cast<std::uint8_t>(slot),
                static_cast<std::uint8_t>(after.size()), {after[0], after.size() > 1 ? after[1] : '\0'}});
            continue;
        }
        m_uses[static_cast<int>(m_part.back())] = true;
        m_slot.push_back(taken[static_cast<int>(m_part.back())]++);
        m_steps.push_back({static_cast<std::uint8_t>(m_part.back()), static_cast<std::uint8_t>(m_slot.back()), 0, {}});
    }
}

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

void DelimitedRecordWriter::prepare(NameVariant &variant, RecordPart part) const
{
    // Every field of its part as this spelling would fill it, with its separator or, for the
    // last field, the line end: one copy per field written.
    std::string block;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_part[i] != part)
            continue;
        block += encoded(variant.text(static_cast<int>(attributeOf(m_fields[i]))));
        if (i + 1 < m_fields.size())
            block += m_separator;
        else
            block += m_lineEnd;
        variant.fieldEnd[m_slot[i]] = static_cast<std::uint32_t>(block.size());
    }
    // write() copies in whole steps of Step bytes: room to read past the last field.
    block.append(Step, '\0');
    variant.setHot(block);
}

void DelimitedRecordWriter::measure(const std::vector<NameVariant> &variants, RecordPart part)
{
    for (const NameVariant &variant : variants) {
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (m_part[i] == part && part != RecordPart::Person)
                m_longest[i] = std::max(m_longest[i], variant.field(m_slot[i]).size());
        }
    }
    // Each field may be copied up to Step bytes too far, overwritten by the next one.
    m_longestRecord = Step;
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_longestRecord += m_longest[i];
}

Outcome DelimitedRecordWriter::begin()
{
    if (!m_header)
        return {};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            m_output.append(m_separator);
        m_output.append(recordFieldName(m_fields[i]), std::strlen(recordFieldName(m_fields[i])));
    }
    m_output.append(m_lineEnd.data(), m_lineEnd.size());
    return {};
}

void DelimitedRecordWriter::write(
    const NameVariant *given, const NameVariant *family, const NameVariant *born, const PersonTexts *person)
{
    const NameVariant *const parts[RecordPartCount] = {given, family, born};
    const bool whole = (given || !m_uses[0]) && (family || !m_uses[1]) && (born || !m_uses[2])
        && (person || !m_usesPerson);
    if (whole && m_longestRecord <= OutputFile::Capacity) {
        // Fixed-size copies compile to a few vector moves; a call to memcpy per field of a
        // dozen bytes cost more than all the drawing.
        char *out = m_output.reserve(m_longestRecord);
        // Records of names alone, the common case, without a test per field.
        if (!m_usesPerson) {
            for (std::size_t i = 0; i < m_part.size(); ++i)
                out = copyInSteps(out, parts[static_cast<int>(m_part[i])]->field(m_slot[i]));
            m_output.advance(out);
            return;
        }
        for (const FieldStep &step : m_steps) {
            if (step.afterSize != 0) {
                out = copyInSteps(out, person->field(step.slot));
                std::memcpy(out, step.after, 2);
                out += step.afterSize;
            } else {
                out = copyInSteps(out, parts[step.part]->field(step.slot));
            }
        }
        m_output.advance(out);
        return;
    }
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_part[i] == RecordPart::Person) {
            if (person)
                m_output.append(person->field(m_slot[i]).data(), person->field(m_slot[i]).size());
            m_output.append(m_steps[i].after, m_steps[i].afterSize);
            continue;
        }
        const NameVariant *part = parts[static_cast<int>(m_part[i])];
        if (part)
            m_output.append(part->field(m_slot[i]).data(), part->field(m_slot[i]).size());
        else if (i + 1 < m_fields.size())
            m_output.append(m_separator);
        else
            m_output.append(m_lineEnd.data(), m_lineEnd.size());
    }
}
