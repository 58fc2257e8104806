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
    Born, // only when asked for, as those below: not among the default fields
    BirthDate,
    Age,
    BirthDateWareki,
    Email,
    Login,
};

// What a field belongs to: the given name (the gender does), the family name, the record's
// years of birth, or the person as a whole (a text of each record's own, not of a name).
enum class RecordPart {
    Given,
    Family,
    Born,
    Person,
};
inline constexpr int RecordPartCount = 3; // those of names, prepared once: all but Person

// Which way of writing a part a field shows.
enum class NameAttribute {
    Romaji,
    Kanji,
    Hiragana,
    Katakana,
    Gender,
    Born,
    // The person's, in the order of PersonTexts.
    BirthDate,
    Age,
    Wareki,
    Email,
    Login,
};

inline constexpr RecordField AllRecordFields[] = {RecordField::Family, RecordField::Given, RecordField::FamilyKanji,
    RecordField::GivenKanji, RecordField::FamilyHiragana, RecordField::GivenHiragana, RecordField::FamilyKatakana,
    RecordField::GivenKatakana, RecordField::Gender};

// The field's name in headers, keys and --fields.
const char *recordFieldName(RecordField field);
// Every field's name, comma-separated, the default ones in their order, then the others (for
// messages and --help).
QString recordFieldNames();
std::optional<RecordField> recordFieldNamed(QStringView name);
RecordPart partOf(RecordField field);
NameAttribute attributeOf(RecordField field);
