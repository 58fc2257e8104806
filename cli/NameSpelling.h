#pragma once

#include "cli/RecordField.h"

#include <array>
#include <string>

// The texts of one spelling of a name in UTF-8 (empty where unknown), and what a writer made of
// each attribute for its format. Read while the writer prepares its variants and by the formats
// that write these texts as they are; kept out of the variant that records copy from.
struct NameSpelling
{
    std::string romaji;
    std::string kanji;
    std::string hiragana;
    std::string katakana;
    std::string katakanaHalf;
    std::string bankKana; // of this part alone
    std::string gender; // "male", "female" or empty
    std::string born; // of a record's years of birth: "1985", "1960s", "1955-1959"
    bool hasReadings = false;
    // Indexed by NameAttribute; filled by RecordWriter::prepare.
    std::array<std::string, NameAttributeCount> encoded;
    // A writer's texts too long for the variant's own room.
    std::string overflow;

    // The attribute's text, and whether it is known at all (JSON writes null when not).
    const std::string &text(int attribute) const;
    bool isKnown(int attribute) const;
};
