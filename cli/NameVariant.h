#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One spelling of one drawn name, ready to write: its texts in UTF-8 (empty where unknown),
// and what the record writer made of each attribute for its format, computed once per spelling
// rather than once per record.
struct alignas(64) NameVariant
{
    // A writer's texts of this spelling, field by field in record order, each with what follows
    // it in a record: field i ends at fieldEnd[i] (32 bits: a stored name may pass 64 KB). Kept
    // inline and first, so that a drawn spelling costs a cache line or two, not a dozen; texts
    // too long for it go to overflow.
    static constexpr std::size_t InlineBytes = 176;
    std::array<std::uint32_t, 16> fieldEnd{};
    char hot[InlineBytes] = {};
    std::string overflow;
    const char *hotData() const { return overflow.empty() ? hot : overflow.data(); }
    std::string_view field(std::size_t i) const
    {
        const std::uint32_t start = i == 0 ? 0 : fieldEnd[i - 1];
        return {hotData() + start, static_cast<std::size_t>(fieldEnd[i] - start)};
    }

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
