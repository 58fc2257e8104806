#pragma once

#include "cli/NameSpelling.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// One spelling of one drawn name, as a record writer copies it: the writer's texts of the
// spelling's fields (those of its part only), each with what follows it in a record, computed
// once per spelling rather than once per record. Field i ends at fieldEnd[i] (32 bits: a stored
// name may pass 64 KB).
//
// Two cache lines, the rest in spelling: ten million records draw twenty million variants at
// random among thousands, and the cache and TLB misses of a larger stride cost more than all
// the copying.
struct alignas(64) NameVariant
{
    // Of one part: the given name's five writings, its piece of bank_kana and the gender.
    static constexpr std::size_t MaxFields = 7;
    static constexpr std::size_t InlineBytes = 128 - 4 * MaxFields - 1 - sizeof(void *);

    std::array<std::uint32_t, MaxFields> fieldEnd{};
    bool spilled = false; // the texts are in spelling->overflow
    char hot[InlineBytes] = {};
    std::unique_ptr<NameSpelling> spelling = std::make_unique<NameSpelling>();

    const char *hotData() const { return spilled ? spelling->overflow.data() : hot; }
    std::string_view field(std::size_t i) const
    {
        const std::uint32_t start = i == 0 ? 0 : fieldEnd[i - 1];
        return {hotData() + start, static_cast<std::size_t>(fieldEnd[i] - start)};
    }
    // Keeps a writer's texts: inline when they fit, in the spelling when not.
    void setHot(const std::string &block);

    const std::string &text(int attribute) const { return spelling->text(attribute); }
    bool isKnown(int attribute) const { return spelling->isKnown(attribute); }
};
static_assert(sizeof(NameVariant) == 128);
