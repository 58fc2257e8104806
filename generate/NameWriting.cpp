#include "generate/NameWriting.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<NameWritingInfo, 9> kWritings{{
    {NameWriting::Romaji, u"romaji", u"Romaji", RomajiStyle::Passport, true, false},
    {NameWriting::Hepburn, u"hepburn", u"Romaji (Hepburn)", RomajiStyle::Hepburn, true, false},
    {NameWriting::Kunrei, u"kunrei", u"Romaji (Kunrei)", RomajiStyle::Kunrei, true, false},
    {NameWriting::Wapuro, u"wapuro", u"Romaji (wapuro)", RomajiStyle::Wapuro, true, false},
    {NameWriting::Kanji, u"kanji", u"Kanji", std::nullopt, false, false},
    {NameWriting::Hiragana, u"hiragana", u"Hiragana", std::nullopt, false, false},
    {NameWriting::Katakana, u"katakana", u"Katakana", std::nullopt, false, false},
    {NameWriting::KanjiHiragana, u"kanji-hiragana", u"Kanji and Hiragana", std::nullopt, false, false},
    // After the first eight, so that their stored values and places in the list stay.
    {NameWriting::RomajiFamilyFirst, u"romaji-family-first", u"Romaji (family name first)", RomajiStyle::Passport,
        false, true},
}};
} // namespace

namespace NameWritings {

std::span<const NameWritingInfo> all()
{
    return kWritings;
}

const NameWritingInfo &info(NameWriting writing)
{
    const auto found = std::find_if(
        kWritings.begin(), kWritings.end(), [writing](const NameWritingInfo &row) { return row.writing == writing; });
    return found == kWritings.end() ? kWritings.front() : *found;
}

NameWriting fromKey(QStringView key)
{
    const auto found = std::find_if(kWritings.begin(), kWritings.end(),
        [key](const NameWritingInfo &row) { return key == QStringView(row.key); });
    return found == kWritings.end() ? NameWriting::Romaji : found->writing;
}

QString key(NameWriting writing)
{
    return QString::fromUtf16(info(writing).key);
}

QString caption(NameWriting writing)
{
    return QString::fromUtf16(info(writing).caption);
}

} // namespace NameWritings
