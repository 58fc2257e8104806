#pragma once

#include <QString>
#include <QStringView>

// Katakana as systems that take names in one byte a character want it.

// Half-width katakana (JIS X 0201): a voiced or semi-voiced kana becomes its kana and the mark
// (ガ is ｶﾞ, ヴ is ｳﾞ), small kana stay small (ｯ, ｬ), ー is ｰ. The kana with no half-width form
// take the nearest one: ヵ ｶ, ヶ ｹ, ヮ ﾜ, ヰ ｲ, ヱ ｴ. Hiragana is read as its katakana; anything
// else is kept as it stands.
QString halfWidthKatakana(QStringView kana);

// A name as bank transfers (the Zengin format) take it: the half-width katakana with small kana
// written full-size (ｯ is ﾂ), ヲ as ｵ, ー as -, a lower-case letter upper case; a character outside
// the allowed set is left out, so the result holds only those isBankKanaCharacter accepts.
QString bankKana(QStringView kana);

// The Zengin set of a name: A-Z, 0-9, the half-width kana ｱ to ﾝ but ｦ and the small ones, ﾞ and
// ﾟ, the space and ( ) - . /
bool isBankKanaCharacter(QChar c);
