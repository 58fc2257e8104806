#pragma once

#include <QString>
#include <QStringView>

// How a kana reading is written in Latin letters.
enum class RomajiStyle {
    // As the built-in lists and Japanese passports write names: no macrons, long o and u
    // dropped (Sato, Ota, Yuki), n before b, m, p written m (Jumpei), no apostrophes.
    Passport,
    // Modified Hepburn: macrons for long o and u (Satō, Yūki; aa and ee in a name are two
    // vowels, Takaaki), n before b, m, p kept (Shinbashi), an apostrophe between n and a
    // following vowel or y (Jun'ichi).
    Hepburn,
    // Kunrei-shiki (ISO 3602): si, ti, tu, hu, zi, sya ..., circumflexes for long vowels (Ôno).
    Kunrei,
    // The kana letter by letter, as typed on a keyboard, so that typing it gives the reading back:
    // long vowels spelled out (Yuuki, Itou) and ー a hyphen (Yu-ki), ん written n' before a
    // vowel, y or n (Jun'ichi, Shin'ya, Kan'na), a small tsu that doubles no consonant xtu
    // (Axtu), ゐ wyi, ゑ wye, ヶ xke.
    Wapuro,
};

// The romaji of a reading in hiragana or katakana, first letter upper case. Every character of
// the hiragana and katakana blocks comes out in Latin letters (voicing and iteration marks
// joined to their kana, ・ a space); a character that is no kana is kept as it stands.
QString Romanize(QStringView kana, RomajiStyle style);
