#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <string_view>

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
    // Only when asked for: not among the default fields.
    Born,
    FamilyKatakanaHalf,
    GivenKatakanaHalf,
    BankKana, // the whole name, family name first: a piece of each part
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
    KatakanaHalf,
    BankKana,
};
inline constexpr int NameAttributeCount = 8;

// The language of the column names of csv, tsv and xlsx, and of the gender values.
enum class HeaderLanguage {
    English,
    Japanese,
};

inline constexpr RecordField AllRecordFields[] = {RecordField::Family, RecordField::Given, RecordField::FamilyKanji,
    RecordField::GivenKanji, RecordField::FamilyHiragana, RecordField::GivenHiragana, RecordField::FamilyKatakana,
    RecordField::GivenKatakana, RecordField::Gender};

// The field's name in headers, keys and --fields.
const char *recordFieldName(RecordField field);
// Its column name in a header of that language (UTF-8).
const char *recordFieldHeader(RecordField field, HeaderLanguage language);
// A gender value ("male", "female" or empty) as a record of that language shows it (UTF-8).
std::string_view genderText(std::string_view gender, HeaderLanguage language);
// Every field's name, comma-separated, the default ones in their order, then those only asked
// for (for messages and --help).
QString recordFieldNames();
std::optional<RecordField> recordFieldNamed(QStringView name);
RecordPart partOf(RecordField field);
NameAttribute attributeOf(RecordField field);
