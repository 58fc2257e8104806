#include "cli/NameSpelling.h"

#include "cli/RecordField.h"

const std::string &NameSpelling::text(int attribute) const
{
    switch (static_cast<NameAttribute>(attribute)) {
    case NameAttribute::Romaji:
        return romaji;
    case NameAttribute::Kanji:
        return kanji;
    case NameAttribute::Hiragana:
        return hiragana;
    case NameAttribute::Katakana:
        return katakana;
    case NameAttribute::KatakanaHalf:
        return katakanaHalf;
    case NameAttribute::BankKana:
        return bankKana;
    case NameAttribute::Gender:
        return gender;
    case NameAttribute::Born:
        return born;
    case NameAttribute::BirthDate:
    case NameAttribute::Age:
    case NameAttribute::Wareki:
    case NameAttribute::Email:
    case NameAttribute::Login:
        break; // a record's own, never a name's
    }
    return romaji;
}

bool NameSpelling::isKnown(int attribute) const
{
    switch (static_cast<NameAttribute>(attribute)) {
    case NameAttribute::Romaji:
        return true;
    case NameAttribute::Gender:
        return !gender.empty();
    case NameAttribute::Born:
        return !born.empty();
    default:
        return hasReadings;
    }
}
