#pragma once

#include "cli/NameVariant.h"
#include "cli/OutputEncoding.h"
#include "cli/RecordField.h"

#include <string>

// How the writers of csv, tsv, txt and xlsx show a record beside its fields: the language of the
// header and gender values, the encoding, and what bank_kana joins. None of it changes who a
// record is.
struct RecordStyle
{
    HeaderLanguage language = HeaderLanguage::English;
    OutputEncoding::Kind encoding = OutputEncoding::Kind::Utf8;
    bool bothParts = true; // both names drawn: bank_kana holds a space between them
    bool fileStart = true; // the output starts here (not a slice after --start 0): a mark first

    // The text a field of the attribute shows for the variant, as the part's piece of it: a
    // family name's bank kana ends with the space before the given name's when both are drawn
    // and it has some.
    std::string text(const NameVariant &variant, NameAttribute attribute, RecordPart part) const
    {
        const std::string &text = variant.text(static_cast<int>(attribute));
        if (attribute == NameAttribute::Gender)
            return std::string(genderText(text, language));
        if (attribute == NameAttribute::BankKana && part == RecordPart::Family && bothParts && !text.empty())
            return text + ' ';
        return text;
    }
};
