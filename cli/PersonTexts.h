#pragma once

#include "cli/RecordField.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// What a record adds to its people, written per record: birth_date, age, birth_date_wareki,
// email and login in UTF-8. Each text has a room of its own, 32 bytes longer than the longest it
// holds, so that a writer copies it in whole steps as it copies a name (and ContactName writes
// names into it so).
struct PersonTexts
{
    static constexpr std::size_t Fields = 5;
    // Per field, in the order of NameAttribute from BirthDate: where its room begins. An email is
    // 64 bytes of local part, @ and up to 189 of domain.
    static constexpr std::array<std::size_t, Fields + 1> Starts = {0, 32, 64, 128, 448, 512};

    static constexpr std::size_t indexOf(NameAttribute attribute)
    {
        return static_cast<std::size_t>(attribute) - static_cast<std::size_t>(NameAttribute::BirthDate);
    }

    char *room(std::size_t field) { return text + Starts[field]; }
    void set(std::size_t field, std::size_t size) { sizes[field] = static_cast<std::uint16_t>(size); }
    // Empty (unknown: null in JSON) until set.
    std::string_view field(std::size_t i) const { return {text + Starts[i], sizes[i]}; }
    bool isKnown(std::size_t i) const { return sizes[i] > 0; }

    std::array<std::uint16_t, Fields> sizes{};
    char text[Starts[Fields]] = {};
};
