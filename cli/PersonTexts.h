#pragma once

#include "cli/RecordField.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// How a writer wants a record's person fields laid out: these fields in this order, each
// followed by its bytes (a separator, or the line end after a record's last field), so that
// it copies them as one text. Without one, the fields asked for in their own order, bare.
struct PersonLayout
{
    struct Entry
    {
        std::size_t field = 0; // PersonTexts::indexOf
        std::array<char, 2> after{};
        std::uint8_t afterSize = 0;
    };
    std::vector<Entry> entries;
};

// What a record adds to its people, written per record: birth_date, age, birth_date_wareki,
// email and login in UTF-8, one after another in the layout's order, in a room of Capacity
// bytes that PersonFields writes to. Each may be copied in whole steps of 32 bytes: the room
// runs at least that far past the last of them.
struct PersonTexts
{
    static constexpr std::size_t Fields = 5;
    // Per field, in the order of NameAttribute from BirthDate: the most bytes it takes. An email
    // is 64 bytes of local part, @ and up to 189 of domain.
    static constexpr std::array<std::size_t, Fields> Longest = {10, 4, 24, 254, 32};
    static constexpr std::size_t Slack = 32;
    // Every field with two bytes after it, and slack both for a writer's copy and for the fields'
    // own writing, which copies in steps too.
    static constexpr std::size_t Capacity = 10 + 4 + 24 + 254 + 32 + 2 * Fields + 2 * Slack;

    static constexpr std::size_t indexOf(NameAttribute attribute)
    {
        return static_cast<std::size_t>(attribute) - static_cast<std::size_t>(NameAttribute::BirthDate);
    }

    // Empty (unknown: null in JSON) until written.
    std::string_view field(std::size_t i) const { return {text + starts[i], sizes[i]}; }
    bool isKnown(std::size_t i) const { return sizes[i] > 0; }
    // The fields of the layout with what follows each.
    std::string_view joined() const { return {text, joinedSize}; }

    std::array<std::uint16_t, Fields> starts{};
    std::array<std::uint16_t, Fields> sizes{};
    std::uint16_t joinedSize = 0;
    const char *text = nullptr; // the room
};
