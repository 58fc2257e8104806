#pragma once

#include "generate/GeneratedNames.h"
#include "lists/PaneReadings.h"

#include <QString>
#include <vector>

class RandomSource;

// The lines "Copy with Kanji and Kana" puts on the clipboard: a row's romaji, its kanji (family
// name first, the parts one space apart) and its hiragana, tab separated. Each part is one
// spelling of its name chosen at random among those of the lists it was drawn from; a part
// without spellings leaves its place empty.
class KanjiKanaRows
{
public:
    // The spellings of every pane name are looked up once here, not once a row.
    KanjiKanaRows(const GeneratedNames &names, const PaneReadings &firstNames, const PaneReadings &lastNames,
        RandomSource &random);

    // Appends the line of a 1-based row, without a line end.
    void appendRow(int position, QString &buffer);

private:
    using Choices = std::vector<std::vector<const Spelling *>>;
    // One of the spellings of the name, or nothing when it has none.
    const Spelling *pick(const Choices &choices, QStringView name, std::int32_t index);

    const GeneratedNames &m_names;
    RandomSource &m_random;
    Choices m_firstChoices;
    Choices m_lastChoices;
};
