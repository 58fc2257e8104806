#include "cli/GenerateOptions.h"

#include "cli/ArgumentReader.h"
#include "cli/XlsxRecordWriter.h"

#include <QFileInfo>
#include <algorithm>

namespace {
const auto kCommand = QStringLiteral("generate");

// A whole number in 0 .. 2^64 - 1 written in plain decimal digits.
std::optional<std::uint64_t> unsignedNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c.unicode() - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<OutputFormat> formatOfExtension(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("csv"))
        return OutputFormat::Csv;
    if (suffix == QStringLiteral("tsv"))
        return OutputFormat::Tsv;
    if (suffix == QStringLiteral("json"))
        return OutputFormat::Json;
    if (suffix == QStringLiteral("jsonl"))
        return OutputFormat::Jsonl;
    if (suffix == QStringLiteral("xlsx"))
        return OutputFormat::Xlsx;
    return std::nullopt;
}
} // namespace

bool GenerateOptions::needsGender() const
{
    return format != OutputFormat::Txt
        && std::find(fields.begin(), fields.end(), RecordField::Gender) != fields.end();
}

bool GenerateOptions::needsSpellings() const
{
    if (script != NameAttribute::Romaji || romaji != RomajiStyle::Passport)
        return true;
    if (format == OutputFormat::Txt)
        return false;
    for (const RecordField field : fields) {
        if (attributeOf(field) != NameAttribute::Romaji)
            return true;
    }
    return false;
}

std::optional<UsageError> GenerateOptions::parse(const QStringList &arguments, GenerateOptions &options)
{
    ArgumentReader reader(kCommand,
        {{QStringLiteral("count"), QLatin1Char('n')}, {QStringLiteral("list"), {}}, {QStringLiteral("gender"), {}},
            {QStringLiteral("part"), {}}, {QStringLiteral("script"), {}}, {QStringLiteral("romaji"), {}},
            {QStringLiteral("order"), {}}, {QStringLiteral("format"), {}}, {QStringLiteral("fields"), {}},
            {QStringLiteral("seed"), {}}, {QStringLiteral("unique"), {}, false},
            {QStringLiteral("output"), QLatin1Char('o')}, {QStringLiteral("db"), {}},
            {QStringLiteral("help"), {}, false}});
    if (auto error = reader.read(arguments))
        return error;
    if (reader.has(QStringLiteral("help"))) {
        options.help = true;
        return std::nullopt;
    }
    if (!reader.operands().isEmpty())
        return UsageError(kCommand, QStringLiteral("unexpected argument '%1'").arg(reader.operands().first()));

    if (reader.has(QStringLiteral("count"))) {
        const std::optional<std::uint64_t> count = unsignedNumber(reader.value(QStringLiteral("count")));
        if (!count || *count == 0)
            return UsageError::badValue(kCommand, QStringLiteral("--count"), reader.value(QStringLiteral("count")),
                QStringLiteral("a whole number from 1 to 18446744073709551615"));
        options.count = *count;
    }
    if (reader.has(QStringLiteral("seed"))) {
        options.seed = unsignedNumber(reader.value(QStringLiteral("seed")));
        if (!options.seed)
            return UsageError::badValue(kCommand, QStringLiteral("--seed"), reader.value(QStringLiteral("seed")),
                QStringLiteral("a whole number from 0 to 18446744073709551615"));
    }
    using Choice = std::optional<UsageError>;
    if (Choice e = reader.choose<ListSource>(
            QStringLiteral("list"), {{"builtin", ListSource::BuiltIn}, {"user", ListSource::User}}, options.list))
        return e;
    if (Choice e = reader.choose<GenderFilter>(QStringLiteral("gender"),
            {{"both", GenderFilter::Both}, {"male", GenderFilter::MaleOnly}, {"female", GenderFilter::FemaleOnly}},
            options.gender))
        return e;
    if (Choice e = reader.choose<NamePart>(QStringLiteral("part"),
            {{"full", NamePart::FirstAndLast}, {"first", NamePart::FirstOnly}, {"last", NamePart::LastOnly}},
            options.part))
        return e;
    if (Choice e = reader.choose<NameAttribute>(QStringLiteral("script"),
            {{"romaji", NameAttribute::Romaji}, {"kanji", NameAttribute::Kanji}, {"hiragana", NameAttribute::Hiragana},
                {"katakana", NameAttribute::Katakana}},
            options.script))
        return e;
    if (Choice e = reader.choose<RomajiStyle>(QStringLiteral("romaji"),
            {{"passport", RomajiStyle::Passport}, {"hepburn", RomajiStyle::Hepburn}, {"kunrei", RomajiStyle::Kunrei},
                {"wapuro", RomajiStyle::Wapuro}},
            options.romaji))
        return e;
    // Romaji reads given name first, kanji and kana family name first, unless told otherwise.
    options.givenFirst = options.script == NameAttribute::Romaji;
    if (Choice e = reader.choose<bool>(
            QStringLiteral("order"), {{"given-first", true}, {"family-first", false}}, options.givenFirst))
        return e;
    options.output = reader.value(QStringLiteral("output"));
    if (options.output == QStringLiteral("-"))
        options.output.clear();
    options.database = reader.value(QStringLiteral("db"));
    if (reader.has(QStringLiteral("db")) && options.database.isEmpty())
        return UsageError::badValue(kCommand, QStringLiteral("--db"), QString(), QStringLiteral("a names.mdb file"));
    if (const std::optional<OutputFormat> fromName = formatOfExtension(options.output))
        options.format = *fromName;
    if (Choice e = reader.choose<OutputFormat>(QStringLiteral("format"),
            {{"txt", OutputFormat::Txt}, {"csv", OutputFormat::Csv}, {"tsv", OutputFormat::Tsv},
                {"json", OutputFormat::Json}, {"jsonl", OutputFormat::Jsonl}, {"xlsx", OutputFormat::Xlsx}},
            options.format))
        return e;
    options.unique = reader.has(QStringLiteral("unique"));

    if (reader.has(QStringLiteral("fields"))) {
        const QString value = reader.value(QStringLiteral("fields"));
        if (options.format == OutputFormat::Txt)
            return UsageError(
                kCommand, QStringLiteral("--fields applies to csv, tsv, json, jsonl and xlsx, not to txt (--format)"));
        options.fields.clear();
        QStringList accepted;
        for (const RecordField field : AllRecordFields)
            accepted.append(QString::fromLatin1(recordFieldName(field)));
        for (const QString &name : value.split(QLatin1Char(','))) {
            const std::optional<RecordField> field = recordFieldNamed(name.trimmed());
            if (!field)
                return UsageError::badValue(kCommand, QStringLiteral("--fields"), name,
                    QStringLiteral("a comma-separated list of ") + accepted.join(QStringLiteral(", ")));
            options.fields.push_back(*field);
        }
        if (options.fields.size() > MaxFields)
            return UsageError::badValue(
                kCommand, QStringLiteral("--fields"), value, QStringLiteral("at most %1 fields").arg(MaxFields));
    }
    if (options.list == ListSource::User && options.script != NameAttribute::Romaji)
        return UsageError::badValue(kCommand, QStringLiteral("--script"), reader.value(QStringLiteral("script")),
            QStringLiteral("romaji with --list user: user names have no kanji or kana"));
    if (options.format == OutputFormat::Xlsx) {
        if (options.output.isEmpty())
            return UsageError(kCommand, QStringLiteral("--format xlsx writes a file only: name it with -o FILE"));
        if (options.count > XlsxRecordWriter::MaxRecords)
            return UsageError::badValue(kCommand, QStringLiteral("--count"), QString::number(options.count),
                QStringLiteral("at most %1 with --format xlsx (the rows of one sheet)")
                    .arg(XlsxRecordWriter::MaxRecords));
    }
    return std::nullopt;
}
