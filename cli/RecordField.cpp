#include "cli/RecordField.h"

#include <QStringList>

namespace {
// One row a field: its name (header, key and --fields word), its column name in Japanese headers
// (as Japanese import templates name the column), the part it belongs to and what of that part it
// shows. A field not known for a name (kanji of a user name, a part not drawn) is
// empty in csv, tsv and xlsx and null in json and jsonl; the writers apply that rule to every row.
struct FieldRow
{
    RecordField field;
    const char *name;
    const char *japanese;
    RecordPart part;
    NameAttribute attribute;
};

constexpr FieldRow kFields[] = {
    {RecordField::Family, "family", "姓（ローマ字）", RecordPart::Family, NameAttribute::Romaji},
    {RecordField::Given, "given", "名（ローマ字）", RecordPart::Given, NameAttribute::Romaji},
    {RecordField::FamilyKanji, "family_kanji", "姓", RecordPart::Family, NameAttribute::Kanji},
    {RecordField::GivenKanji, "given_kanji", "名", RecordPart::Given, NameAttribute::Kanji},
    {RecordField::FamilyHiragana, "family_hiragana", "せい", RecordPart::Family, NameAttribute::Hiragana},
    {RecordField::GivenHiragana, "given_hiragana", "めい", RecordPart::Given, NameAttribute::Hiragana},
    {RecordField::FamilyKatakana, "family_katakana", "セイ", RecordPart::Family, NameAttribute::Katakana},
    {RecordField::GivenKatakana, "given_katakana", "メイ", RecordPart::Given, NameAttribute::Katakana},
    {RecordField::Gender, "gender", "性別", RecordPart::Given, NameAttribute::Gender},
    {RecordField::Born, "born", "生まれ年", RecordPart::Born, NameAttribute::Born},
    {RecordField::BirthDate, "birth_date", "生年月日", RecordPart::Person, NameAttribute::BirthDate},
    {RecordField::Age, "age", "年齢", RecordPart::Person, NameAttribute::Age},
    {RecordField::BirthDateWareki, "birth_date_wareki", "生年月日（和暦）", RecordPart::Person, NameAttribute::Wareki},
    {RecordField::Email, "email", "メールアドレス", RecordPart::Person, NameAttribute::Email},
    {RecordField::Login, "login", "ログインID", RecordPart::Person, NameAttribute::Login},
    {RecordField::FamilyKatakanaHalf, "family_katakana_half", "ｾｲ", RecordPart::Family, NameAttribute::KatakanaHalf},
    {RecordField::GivenKatakanaHalf, "given_katakana_half", "ﾒｲ", RecordPart::Given, NameAttribute::KatakanaHalf},
    // Its part is the family name's, where it starts; the given name holds its second piece.
    {RecordField::BankKana, "bank_kana", "口座名義カナ", RecordPart::Family, NameAttribute::BankKana},
};
// The default fields and those only asked for.
static_assert(std::size(kFields) == std::size(AllRecordFields) + 9);

const FieldRow &rowOf(RecordField field)
{
    for (const FieldRow &row : kFields) {
        if (row.field == field)
            return row;
    }
    return kFields[0];
}
} // namespace

const char *recordFieldName(RecordField field)
{
    return rowOf(field).name;
}

const char *recordFieldHeader(RecordField field, HeaderLanguage language)
{
    return language == HeaderLanguage::Japanese ? rowOf(field).japanese : rowOf(field).name;
}

std::string_view genderText(std::string_view gender, HeaderLanguage language)
{
    if (language == HeaderLanguage::English || gender.empty())
        return gender;
    return gender == "male" ? "男性" : "女性";
}

QString recordFieldNames()
{
    QStringList names;
    for (const FieldRow &row : kFields)
        names.append(QString::fromLatin1(row.name));
    return names.join(QStringLiteral(", "));
}

std::optional<RecordField> recordFieldNamed(QStringView name)
{
    for (const FieldRow &row : kFields) {
        if (name == QLatin1StringView(row.name))
            return row.field;
    }
    return std::nullopt;
}

RecordPart partOf(RecordField field)
{
    return rowOf(field).part;
}

NameAttribute attributeOf(RecordField field)
{
    return rowOf(field).attribute;
}
