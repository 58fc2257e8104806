#pragma once

#include "cli/OutputEncoding.h"
#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/RecordWriter.h"

#include <array>
#include <limits>
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
    DelimitedRecordWriter(
        OutputFile &output, Kind kind, std::vector<RecordField> fields, bool header = true, RecordStyle style = {});

    void prepare(NameVariant &variant, RecordPart part) const override;
    // The longest record the prepared variants can make, for writing it without a check per field.
    void measure(const std::vector<NameVariant> &variants, RecordPart part) override;
    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born,
        const PersonTexts *person) override;

    static std::string csvField(const std::string &text);
    PersonLayout personLayout() const override { return m_personLayout; }

private:
    // What one part's variant holds of a field: the whole field, or a part's piece of one that
    // joins two (bank_kana).
    struct Piece
    {
        RecordPart part;
        NameAttribute attribute;
        std::size_t slot; // its place among the pieces of its part, or the person's field
        bool endsField; // followed by the separator or the line end
        bool endsRecord;
        std::array<char, 2> after{}; // of a person's field, copied after it
        std::uint8_t afterSize = 0;
    };

    // The piece of the person's fields made as one text, in place of theirs.
    static constexpr std::size_t JoinedSlot = PersonTexts::Fields;

    void joinPersonFields();
    std::string encoded(const std::string &text) const;
    // A person's field at out, in the output's encoding; returns its end.
    char *writePerson(char *out, std::string_view text) const;
    static bool isAscii(std::string_view text);

    OutputFile &m_output;
    Kind m_kind;
    char m_separator;
    std::string_view m_lineEnd;
    std::vector<RecordField> m_fields;
    bool m_header;
    RecordStyle m_style;
    OutputEncoding m_encoding;
    bool m_convertsPerson; // CP932: a person's text other than ASCII goes through the encoding
    std::vector<Piece> m_pieces;
    bool m_uses[RecordPartCount] = {}; // whether any piece is of the part
    bool m_usesPerson = false;
    std::size_t m_longestPerson = 0; // the person's fields, with what follows each
    PersonLayout m_personLayout; // when made as one text
    std::size_t m_joinedAt = std::numeric_limits<std::size_t>::max(); // that text's piece
    std::string m_joinedSeparators; // what follows each of them
    std::size_t m_longestRecord = 0;
};
