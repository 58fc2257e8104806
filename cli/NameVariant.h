#pragma once

#include <array>
#include <string>

// One spelling of one drawn name, ready to write: its texts in UTF-8 (empty where unknown),
// and what the record writer made of each attribute for its format, computed once per spelling
// rather than once per record.
struct NameVariant
{
    std::string romaji;
    std::string kanji;
    std::string hiragana;
    std::string katakana;
    std::string gender; // "male", "female" or empty
    bool hasReadings = false;
    // Indexed by NameAttribute; filled by RecordWriter::prepare.
    std::array<std::string, 5> encoded;

    // The attribute's text, and whether it is known at all (JSON writes null when not).
    const std::string &text(int attribute) const;
    bool isKnown(int attribute) const;
};
