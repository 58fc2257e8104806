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
    Born, // only when asked for: not among the default fields
};

// What a field belongs to: the given name (the gender does), the family name, or the record's
// years of birth.
enum class RecordPart {
    Given,
    Family,
    Born,
};
inline constexpr int RecordPartCount = 3;

// Which way of writing a part a field shows.
enum class NameAttribute {
    Romaji,
    Kanji,
    Hiragana,
    Katakana,
    Gender,
    Born,
};

inline constexpr RecordField AllRecordFields[] = {RecordField::Family, RecordField::Given, RecordField::FamilyKanji,
    RecordField::GivenKanji, RecordField::FamilyHiragana, RecordField::GivenHiragana, RecordField::FamilyKatakana,
    RecordField::GivenKatakana, RecordField::Gender};

// The field's name in headers, keys and --fields.
const char *recordFieldName(RecordField field);
// Every field's name, comma-separated, the default ones in their order, then born (for messages
// and --help).
QString recordFieldNames();
std::optional<RecordField> recordFieldNamed(QStringView name);
RecordPart partOf(RecordField field);
NameAttribute attributeOf(RecordField field);
