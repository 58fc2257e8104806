#include "cli/RecordField.h"

#include <QStringList>

namespace {
// One row a field: its name (header, key and --fields word), the part it belongs to and what of
// that part it shows. A field not known for a name (kanji of a user name, a part not drawn) is
// empty in csv, tsv and xlsx and null in json and jsonl; the writers apply that rule to every row.
struct FieldRow
{
    RecordField field;
    const char *name;
    RecordPart part;
    NameAttribute attribute;
};

constexpr FieldRow kFields[] = {
    {RecordField::Family, "family", RecordPart::Family, NameAttribute::Romaji},
    {RecordField::Given, "given", RecordPart::Given, NameAttribute::Romaji},
    {RecordField::FamilyKanji, "family_kanji", RecordPart::Family, NameAttribute::Kanji},
    {RecordField::GivenKanji, "given_kanji", RecordPart::Given, NameAttribute::Kanji},
    {RecordField::FamilyHiragana, "family_hiragana", RecordPart::Family, NameAttribute::Hiragana},
    {RecordField::GivenHiragana, "given_hiragana", RecordPart::Given, NameAttribute::Hiragana},
    {RecordField::FamilyKatakana, "family_katakana", RecordPart::Family, NameAttribute::Katakana},
    {RecordField::GivenKatakana, "given_katakana", RecordPart::Given, NameAttribute::Katakana},
    {RecordField::Gender, "gender", RecordPart::Given, NameAttribute::Gender},
    {RecordField::Born, "born", RecordPart::Born, NameAttribute::Born},
    {RecordField::BirthDate, "birth_date", RecordPart::Person, NameAttribute::BirthDate},
    {RecordField::Age, "age", RecordPart::Person, NameAttribute::Age},
    {RecordField::BirthDateWareki, "birth_date_wareki", RecordPart::Person, NameAttribute::Wareki},
    {RecordField::Email, "email", RecordPart::Person, NameAttribute::Email},
    {RecordField::Login, "login", RecordPart::Person, NameAttribute::Login},
};
// The default fields and those asked for by name.
static_assert(std::size(kFields) == std::size(AllRecordFields) + 6);

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
