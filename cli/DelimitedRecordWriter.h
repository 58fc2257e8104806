#pragma once

#include "cli/OutputEncoding.h"
#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/RecordWriter.h"

#include <array>
#include <string_view>
#include <vector>

class OutputFile;

// csv (RFC 4180: a header line, CRLF, fields quoted where they need it) and tsv (a header
// line, LF, tabs and line breaks inside a name written as spaces). Unknown fields are empty.
class DelimitedRecordWriter : public RecordWriter
{
public:
    enum class Kind {
        Csv,
        Tsv,
    };

    // Without header, the records alone: a slice of a roster after its first.
    DelimitedRecordWriter(
        OutputFile &output, Kind kind, std::vector<RecordField> fields, bool header = true, RecordStyle style = {});

    void prepare(NameVariant &variant, RecordPart part) const override;
    // The longest record the prepared variants can make, for writing it without a check per field.
    void measure(const std::vector<NameVariant> &variants, RecordPart part) override;
    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born) override;

    static std::string csvField(const std::string &text);

private:
    // What one part's variant holds of a field: the whole field, or a part's piece of one that
    // joins two (bank_kana).
    struct Piece
    {
        RecordPart part;
        NameAttribute attribute;
        std::size_t slot; // its place among the pieces of its part
        bool endsField; // followed by the separator or the line end
        bool endsRecord;
    };

    std::string encoded(const std::string &text) const;

    OutputFile &m_output;
    Kind m_kind;
    char m_separator;
    std::string_view m_lineEnd;
    std::vector<RecordField> m_fields;
    bool m_header;
    RecordStyle m_style;
    OutputEncoding m_encoding;
    std::vector<Piece> m_pieces;
    bool m_uses[RecordPartCount] = {}; // whether any piece is of the part
    std::size_t m_longestRecord = 0;
};
