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
    Born, // only when asked for, as those below: not among the default fields
    BirthDate,
    Age,
    BirthDateWareki,
    Email,
    Login,
    FamilyKatakanaHalf,
    GivenKatakanaHalf,
    BankKana, // the whole name, family name first: a piece of each part
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
    KatakanaHalf,
    BankKana,
};
inline constexpr int NameAttributeCount = static_cast<int>(NameAttribute::BankKana) + 1;

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
