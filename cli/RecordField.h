#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The fields of a generated record, in their default order.
enum class RecordField {
    Family,
    Given,
    FamilyKanji,
    GivenKanji,
    FamilyHiragana,
    GivenHiragana,
    FamilyKatakana,
    GivenKatakana,
    Gender,
};

// Which way of writing a part a field shows.
enum class NameAttribute {
    Romaji,
    Kanji,
    Hiragana,
    Katakana,
    Gender,
};

inline constexpr RecordField AllRecordFields[] = {RecordField::Family, RecordField::Given, RecordField::FamilyKanji,
    RecordField::GivenKanji, RecordField::FamilyHiragana, RecordField::GivenHiragana, RecordField::FamilyKatakana,
    RecordField::GivenKatakana, RecordField::Gender};

// The field's name in headers, keys and --fields.
const char *recordFieldName(RecordField field);
// Every field's name, comma-separated, in the default order (for messages and --help).
QString recordFieldNames();
std::optional<RecordField> recordFieldNamed(QStringView name);
// Whether the field belongs to the given name (the gender does) or to the family name.
bool isGivenField(RecordField field);
NameAttribute attributeOf(RecordField field);
