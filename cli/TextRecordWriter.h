#pragma once

#include "cli/OutputEncoding.h"
#include "cli/RecordField.h"
#include "cli/RecordStyle.h"
#include "cli/RecordWriter.h"

class OutputFile;

// txt: one name a line, its parts separated by one space, in the chosen script and order.
// A record's own fields are not written.
class TextRecordWriter : public RecordWriter
{
public:
    // familyCapitals: the family name's romaji in capitals (YAMADA Hanako).
    TextRecordWriter(OutputFile &output, NameAttribute script, bool givenFirst, bool familyCapitals = false,
        RecordStyle style = {});

    void prepare(NameVariant &variant, RecordPart part) const override;
    // The longest line the prepared variants can make, for writing it without a check per part.
    void measure(const std::vector<NameVariant> &variants, RecordPart part) override;
    Outcome begin() override;
    void write(const NameVariant *given, const NameVariant *family, const NameVariant *born,
        const PersonTexts *person) override;

private:
    OutputFile &m_output;
    NameAttribute m_script;
    bool m_givenFirst;
    bool m_familyCapitals;
    RecordStyle m_style;
    OutputEncoding m_encoding;
    std::size_t m_longestPart = 0;
};
