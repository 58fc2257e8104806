#pragma once

#include "generate/Romanize.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <span>

// How the results show a name: in one of four romaji styles, given name first, or in kanji or
// kana, family name first.
enum class NameWriting {
    Romaji, // passport style, as the lists hold the names
    Hepburn,
    Kunrei,
    Wapuro,
    Kanji,
    Hiragana,
    Katakana,
    KanjiHiragana, // "山田 花子 (やまだ はなこ)"
    RomajiFamilyFirst, // "YAMADA Hanako", as Japan's government writes romaji names since 2020
};

// One writing's row of the table that drives the choice, its stored value and its texts.
struct NameWritingInfo
{
    NameWriting writing;
    const char16_t *key; // the value stored under NameWriting
    const char16_t *caption; // as the "Writing" list offers it
    std::optional<RomajiStyle> style; // set for the romaji writings
    bool givenFirst; // the given name before the family name
    bool familyCapitals; // the family name in capitals
};

namespace NameWritings {
// Every writing, in the order the list offers them.
std::span<const NameWritingInfo> all();
const NameWritingInfo &info(NameWriting writing);
// The writing stored under key; Romaji for an absent or unknown value.
NameWriting fromKey(QStringView key);
QString key(NameWriting writing);
QString caption(NameWriting writing);
inline bool isRomaji(NameWriting writing)
{
    return info(writing).style.has_value();
}
// Romaji writings put the given name first but for the official order; the others the family name.
inline bool givenFirst(NameWriting writing)
{
    return info(writing).givenFirst;
}
} // namespace NameWritings
