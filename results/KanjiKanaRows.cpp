#include "results/KanjiKanaRows.h"

#include "generate/RandomIndex.h"
#include "generate/RandomSource.h"

namespace {

std::vector<std::vector<const Spelling *>> choicesOf(const QStringList &names, const PaneReadings &readings)
{
    std::vector<std::vector<const Spelling *>> choices;
    choices.reserve(static_cast<std::size_t>(names.size()));
    for (const QString &name : names)
        choices.push_back(readings.spellings(name));
    return choices;
}

} // namespace

KanjiKanaRows::KanjiKanaRows(
    const GeneratedNames &names, const PaneReadings &firstNames, const PaneReadings &lastNames, RandomSource &random)
    : m_names(names)
    , m_random(random)
    , m_firstChoices(choicesOf(names.firstNames(), firstNames))
    , m_lastChoices(choicesOf(names.lastNames(), lastNames))
{ }

const Spelling *KanjiKanaRows::pick(const Choices &choices, QStringView name, std::int32_t index)
{
    if (name.isEmpty() || index == GeneratedNames::NoName)
        return nullptr;
    const std::vector<const Spelling *> &spellings = choices.at(static_cast<std::size_t>(index));
    if (spellings.empty())
        return nullptr;
    const int count = static_cast<int>(spellings.size());
    return spellings.at(static_cast<std::size_t>(RandomIndex(m_random.next(), count) - 1));
}

void KanjiKanaRows::appendRow(int position, QString &buffer)
{
    m_names.appendText(position, buffer);
    // The parts of the row, family name first, as the part of the run made them.
    const bool hasFirst = hasFirstName(m_names.part());
    const bool hasLast = hasLastName(m_names.part());
    const Spelling *last
        = hasLast ? pick(m_lastChoices, m_names.lastName(position), m_names.lastIndex(position)) : nullptr;
    const Spelling *first
        = hasFirst ? pick(m_firstChoices, m_names.firstName(position), m_names.firstIndex(position)) : nullptr;
    const bool both = hasFirst && hasLast && (first || last);
    for (const QString Spelling::*field : {&Spelling::kanji, &Spelling::hiragana}) {
        buffer.append(QLatin1Char('\t'));
        if (last)
            buffer.append(last->*field);
        if (both)
            buffer.append(QLatin1Char(' '));
        if (first)
            buffer.append(first->*field);
    }
}
