#pragma once

#include "cli/RecordField.h"
#include "cli/RecordWriter.h"

#include <array>
#include <string_view>
#include <vector>

class OutputFile;

// csv (RFC 4180: a header line, CRLF, fields quoted where they need it) and tsv (a header
// line, LF, tabs and line breaks inside a name written as spaces). Unknown fields are empty.
// A record's own fields (dates, digits, addresses) never need quoting: they are copied as they
// are, each followed by its separator.
class DelimitedRecordWriter : public RecordWriter
{
public:
    enum class Kind {
        Csv,
        Tsv,
    };

    // Without header, the records alone: a slice of a roster after its first.
    DelimitedRecordWriter(OutputFile &output, Kind kind, std::vector<RecordField> fields, bool header = true);

    void prepare(NameVariant &variant, RecordPart part) const override;
    // The longest record the prepared variants can make, for writing it without a check per field.
    void measure(const std::vector<NameVariant> &variants, RecordPart part) override;
    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born,
        const PersonTexts *person) override;

    static std::string csvField(const std::string &text);

private:
    std::string encoded(const std::string &text) const;

    OutputFile &m_output;
    Kind m_kind;
    char m_separator;
    std::string_view m_lineEnd;
    std::vector<RecordField> m_fields;
    bool m_header;
    std::vector<RecordPart> m_part; // per field
    bool m_uses[RecordPartCount] = {}; // whether any field is of the part
    bool m_usesPerson = false;
    std::vector<std::size_t> m_slot; // per field: its place among the fields of its part
    // Per field, for records with fields of the person: what it copies and what follows it.
    struct FieldStep
    {
        std::uint8_t part; // a RecordPart
        std::uint8_t slot;
        std::uint8_t afterSize; // 0 for a field of a name, whose text holds its separator
        char after[2];
    };
    std::vector<FieldStep> m_steps;
    std::vector<std::size_t> m_longest; // per field
    std::size_t m_longestRecord = 0;
};
