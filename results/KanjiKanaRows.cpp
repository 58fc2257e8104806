#include "results/KanjiKanaRows.h"

void KanjiKanaRows::appendRow(const GeneratedNames &names, int position, QString &buffer)
{
    const bool hasFirst = hasFirstName(names.part());
    const bool hasLast = hasLastName(names.part());
    if (NameWritings::isRomaji(names.writing())) {
        names.appendText(position, buffer);
    } else {
        if (hasFirst)
            buffer.append(names.firstName(position));
        if (hasFirst && hasLast)
            buffer.append(QLatin1Char(' '));
        if (hasLast)
            buffer.append(names.lastName(position));
    }
    // The parts of the row, family name first, as the part of the run made them.
    const Spelling *last = names.lastSpelling(position);
    const Spelling *first = names.firstSpelling(position);
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
