// Any text romanized in every style: no crash, no kana left in the romaji (every character of
// the hiragana and katakana blocks has letters of its own), and text without kana kept as it
// stands but for its first letter.
#include "fuzz/FuzzCheck.h"
#include "generate/Romanize.h"

#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
// The assigned characters of the two blocks (U+3040, U+3097 and U+3098 are none).
bool isKana(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 0x3041 && u <= 0x30FF && u != 0x3097 && u != 0x3098;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const bool hasKana = std::any_of(text.begin(), text.end(), isKana);
    for (const RomajiStyle style : {RomajiStyle::Passport, RomajiStyle::Hepburn, RomajiStyle::Kunrei, RomajiStyle::Wapuro}) {
        const QString romaji = Romanize(text, style);
        fuzzCheck(std::none_of(romaji.begin(), romaji.end(), isKana), "no kana is left in the romaji");
        if (!hasKana && !text.isEmpty())
            fuzzCheck(romaji.size() == text.size() && romaji.mid(1) == text.mid(1), "text without kana is kept");
    }
    return 0;
}
