#pragma once

#include "generate/GeneratedNames.h"

#include <QString>

// The lines "Copy with Kanji and Kana" puts on the clipboard: a row's romaji, its kanji (family
// name first, the parts one space apart) and its hiragana, tab separated, in the row's own
// spellings, so they name the person the list shows. The romaji is the row as shown in a romaji
// writing, in the lists' romaji otherwise. A part without spellings leaves its place empty.
class KanjiKanaRows
{
public:
    // Appends the line of a 1-based row, without a line end.
    static void appendRow(const GeneratedNames &names, int position, QString &buffer);
};
