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
    bool ofGiven; // the gender belongs to the given name
    NameAttribute attribute;
};

constexpr FieldRow kFields[] = {
    {RecordField::Family, "family", false, NameAttribute::Romaji},
    {RecordField::Given, "given", true, NameAttribute::Romaji},
    {RecordField::FamilyKanji, "family_kanji", false, NameAttribute::Kanji},
    {RecordField::GivenKanji, "given_kanji", true, NameAttribute::Kanji},
    {RecordField::FamilyHiragana, "family_hiragana", false, NameAttribute::Hiragana},
    {RecordField::GivenHiragana, "given_hiragana", true, NameAttribute::Hiragana},
    {RecordField::FamilyKatakana, "family_katakana", false, NameAttribute::Katakana},
    {RecordField::GivenKatakana, "given_katakana", true, NameAttribute::Katakana},
    {RecordField::Gender, "gender", true, NameAttribute::Gender},
};
static_assert(std::size(kFields) == std::size(AllRecordFields));

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

bool isGivenField(RecordField field)
{
    return rowOf(field).ofGiven;
}

NameAttribute attributeOf(RecordField field)
{
    return rowOf(field).attribute;
}
