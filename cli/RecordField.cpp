#include "cli/RecordField.h"

const char *recordFieldName(RecordField field)
{
    switch (field) {
    case RecordField::Family:
        return "family";
    case RecordField::Given:
        return "given";
    case RecordField::FamilyKanji:
        return "family_kanji";
    case RecordField::GivenKanji:
        return "given_kanji";
    case RecordField::FamilyHiragana:
        return "family_hiragana";
    case RecordField::GivenHiragana:
        return "given_hiragana";
    case RecordField::FamilyKatakana:
        return "family_katakana";
    case RecordField::GivenKatakana:
        return "given_katakana";
    case RecordField::Gender:
        return "gender";
    }
    return "";
}

std::optional<RecordField> recordFieldNamed(QStringView name)
{
    for (const RecordField field : AllRecordFields) {
        if (name == QLatin1StringView(recordFieldName(field)))
            return field;
    }
    return std::nullopt;
}

bool isGivenField(RecordField field)
{
    switch (field) {
    case RecordField::Given:
    case RecordField::GivenKanji:
    case RecordField::GivenHiragana:
    case RecordField::GivenKatakana:
    case RecordField::Gender:
        return true;
    default:
        return false;
    }
}

NameAttribute attributeOf(RecordField field)
{
    switch (field) {
    case RecordField::Family:
    case RecordField::Given:
        return NameAttribute::Romaji;
    case RecordField::FamilyKanji:
    case RecordField::GivenKanji:
        return NameAttribute::Kanji;
    case RecordField::FamilyHiragana:
    case RecordField::GivenHiragana:
        return NameAttribute::Hiragana;
    case RecordField::FamilyKatakana:
    case RecordField::GivenKatakana:
        return NameAttribute::Katakana;
    case RecordField::Gender:
        return NameAttribute::Gender;
    }
    return NameAttribute::Romaji;
}
