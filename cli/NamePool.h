#pragma once

#include "cli/NameVariant.h"
#include "generate/ContactName.h"
#include "generate/NameSampler.h"
#include "generate/Romanize.h"
#include "store/NameReadings.h"

#include <QHash>
#include <QStringList>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// The names of one part (given or family) as a pane would show them, each in every spelling it
// has, as the variants a record writer copies from: one variant a form of the sampler's part (a
// name stored twice counts twice, as in the window). The sampler draws the forms.
class NamePool
{
public:
    struct Source
    {
        const QStringList *pane = nullptr; // the entries as the pane shows them
        const NameReadings *readings = nullptr; // null for the user list
        std::vector<ReadingList> lists; // the reading lists the names come from, in order
        RomajiStyle style = RomajiStyle::Passport;
        std::string defaultGender; // of a name without readings: "male", "female" or empty
        const QHash<QString, std::string> *genders = nullptr; // or by its prepared name, when given
        bool distinct = false; // each prepared name once (for --unique)
        ReadingList list = ReadingList::Last; // whose least weight a name without readings takes
        bool withAscii = false; // the names' lower-case ASCII letters, for emails and logins
        bool withSystemKana = false; // half-width and bank kana: costly, made only when written
    };

    explicit NamePool(const Source &source);

    std::uint64_t size() const { return static_cast<std::uint64_t>(m_part.names()); }
    bool isEmpty() const { return size() == 0; }
    std::vector<NameVariant> &variants() { return m_variants; }
    const NameVariant &variant(std::int32_t form) const { return m_variants[static_cast<std::size_t>(form)]; }
    // The names and their forms, for the sampler.
    const NameSampler::Part &part() const { return m_part; }
    // A form's name in lower-case ASCII letters (ContactName::asciiOf), when asked for.
    std::string_view ascii(std::int32_t form) const
    {
        const char *slot = m_ascii[static_cast<std::size_t>(form)].bytes;
        const auto size = static_cast<unsigned char>(slot[AsciiSlot - 1]);
        if (size != Spilled)
            return std::string_view(slot, size);
        std::uint32_t start = 0;
        std::memcpy(&start, slot, sizeof start);
        return std::string_view(m_asciiSpilled.data() + start, std::strlen(m_asciiSpilled.data() + start));
    }

private:
    std::vector<NameVariant> m_variants;
    NameSampler::Part m_part;
    // A slot of each form's letters, their count in its last byte: one cache line's half, read
    // without a table of where each begins. Longer names are spilled, the slot holding where.
    static constexpr std::size_t AsciiSlot = 32;
    static_assert(AsciiSlot >= ContactName::Step); // ContactName reads a slot whole
    static constexpr unsigned char Spilled = 0xff;
    struct alignas(AsciiSlot) Slot
    {
        char bytes[AsciiSlot];
    };
    std::vector<Slot> m_ascii; // ContactName reads a slot whole, and no further
    std::string m_asciiSpilled; // each ended by a 0 and followed by ContactName::Step bytes of slack
};
