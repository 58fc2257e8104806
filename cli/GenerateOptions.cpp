#include "cli/GenerateOptions.h"

#include "cli/ArgumentReader.h"
#include "cli/OutputFile.h"
#include "generate/Age.h"

#include <QRegularExpression>
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
} // namespace

bool GenerateOptions::needsGender() const
{
    return OutputFormatInfo::of(format).hasFields
        && std::find(fields.begin(), fields.end(), RecordField::Gender) != fields.end();
}

bool GenerateOptions::needsBorn() const
{
    return OutputFormatInfo::of(format).hasFields
        && std::find(fields.begin(), fields.end(), RecordField::Born) != fields.end();
}

RecordStyle GenerateOptions::recordStyle() const
{
    return {headerLanguage, encoding, hasFirstName(part) && hasLastName(part), start == 0};
}

bool GenerateOptions::needsPerson() const
{
    return OutputFormatInfo::of(format).hasFields && std::any_of(fields.begin(), fields.end(), [](RecordField field) {
        return partOf(field) == RecordPart::Person;
    });
}

bool GenerateOptions::needsSystemKana() const
{
    return OutputFormatInfo::of(format).hasFields && std::any_of(fields.begin(), fields.end(), [](RecordField field) {
        return attributeOf(field) == NameAttribute::KatakanaHalf || attributeOf(field) == NameAttribute::BankKana;
    });
}

bool GenerateOptions::needsBirthDate() const
{
    return OutputFormatInfo::of(format).hasFields && std::any_of(fields.begin(), fields.end(), [](RecordField field) {
        return field == RecordField::BirthDate || field == RecordField::Age || field == RecordField::BirthDateWareki;
    });
}

bool GenerateOptions::needsReadings() const
{
    // Frequencies are known by spelling.
    if (frequency == Frequency::Real)
        return true;
    if (script != NameAttribute::Romaji || romaji != RomajiStyle::Passport)
        return true;
    if (!OutputFormatInfo::of(format).hasFields)
        return false;
    return std::any_of(fields.begin(), fields.end(), [](RecordField field) {
        // A record's own fields are known from its names' romaji and the frequencies.
        const NameAttribute attribute = attributeOf(field);
        return attribute != NameAttribute::Romaji && attribute != NameAttribute::Gender
            && partOf(field) != RecordPart::Person;
    });
}

bool GenerateOptions::needsSpellings() const
{
    // A spelling's gender is its list's: a name in both lists is male or female by spelling.
    return needsReadings() || needsGender();
}

std::optional<UsageError> GenerateOptions::parse(const QStringList &arguments, GenerateOptions &options)
{
    ArgumentReader reader(kCommand,
        {{QStringLiteral("count"), QLatin1Char('n')}, {QStringLiteral("list"), {}}, {QStringLiteral("gender"), {}},
            {QStringLiteral("part"), {}}, {QStringLiteral("script"), {}}, {QStringLiteral("romaji"), {}},
            {QStringLiteral("order"), {}}, {QStringLiteral("format"), {}}, {QStringLiteral("fields"), {}},
            {QStringLiteral("frequency"), {}}, {QStringLiteral("born"), {}}, {QStringLiteral("age"), {}},
            {QStringLiteral("as-of"), {}}, {QStringLiteral("email-domain"), {}}, {QStringLiteral("seed"), {}},
            {QStringLiteral("unique"), {}, false}, {QStringLiteral("start"), {}},
            {QStringLiteral("no-header"), {}, false}, {QStringLiteral("encoding"), {}}, {QStringLiteral("header"), {}},
            {QStringLiteral("output"), QLatin1Char('o')}, {QStringLiteral("db"), {}}});
    if (auto error = reader.read(arguments))
        return error;
    options.help = reader.wantsHelp();
    options.version = reader.wantsVersion();
    if (options.help || options.version)
        return std::nullopt;
    if (!reader.operands().isEmpty())
        return UsageError(kCommand, QStringLiteral("unexpected argument '%1'").arg(reader.operands().first()));
    for (auto step : {&GenerateOptions::readNumbers, &GenerateOptions::readChoices, &GenerateOptions::readPerson,
             &GenerateOptions::readOutput, &GenerateOptions::readFields}) {
        if (auto error = (options.*step)(reader))
            return error;
    }
    return options.checkTogether(reader);
}

std::optional<UsageError> GenerateOptions::readNumbers(const ArgumentReader &reader)
{
    if (reader.has(QStringLiteral("count"))) {
        const std::optional<std::uint64_t> value = unsignedNumber(reader.value(QStringLiteral("count")));
        if (!value || *value == 0)
            return UsageError::badValue(kCommand, QStringLiteral("--count"), reader.value(QStringLiteral("count")),
                QStringLiteral("a whole number from 1 to 18446744073709551615"));
        count = *value;
    }
    if (reader.has(QStringLiteral("seed"))) {
        seed = unsignedNumber(reader.value(QStringLiteral("seed")));
        if (!seed)
            return UsageError::badValue(kCommand, QStringLiteral("--seed"), reader.value(QStringLiteral("seed")),
                QStringLiteral("a whole number from 0 to 18446744073709551615"));
    }
    unique = reader.has(QStringLiteral("unique"));
    if (reader.has(QStringLiteral("start"))) {
        const std::optional<std::uint64_t> value = unsignedNumber(reader.value(QStringLiteral("start")));
        // The counter places of a roster hold 2^61 records; past them it would start over.
        if (!value || *value >= MaxRecords)
            return UsageError::badValue(kCommand, QStringLiteral("--start"), reader.value(QStringLiteral("start")),
                QStringLiteral("a whole number from 0 to 2305843009213693951"));
        start = *value;
    }
    // A slice after the first continues the one header of its roster.
    header = start == 0 && !reader.has(QStringLiteral("no-header"));
    return std::nullopt;
}

std::optional<UsageError> GenerateOptions::readChoices(const ArgumentReader &reader)
{
    using Error = std::optional<UsageError>;
    if (Error e = reader.choose<ListSource>(QStringLiteral("list"), ListChoices, list))
        return e;
    if (Error e = reader.choose<GenderFilter>(QStringLiteral("gender"), GenderChoices, gender))
        return e;
    if (Error e = reader.choose<NamePart>(QStringLiteral("part"), PartChoices, part))
        return e;
    if (Error e = reader.choose<NameAttribute>(QStringLiteral("script"), ScriptChoices, script))
        return e;
    if (Error e = reader.choose<RomajiStyle>(QStringLiteral("romaji"), RomajiChoices, romaji))
        return e;
    if (Error e = reader.choose<Frequency>(QStringLiteral("frequency"), FrequencyChoices, frequency))
        return e;
    if (Error e = reader.choose<OutputEncoding::Kind>(QStringLiteral("encoding"), EncodingChoices, encoding))
        return e;
    if (Error e = reader.choose<HeaderLanguage>(QStringLiteral("header"), HeaderChoices, headerLanguage))
        return e;
    if (reader.has(QStringLiteral("born"))) {
        const QString value = reader.value(QStringLiteral("born"));
        const std::optional<BirthYears> years = BirthYears::parse(value);
        if (!years)
            return UsageError::badValue(kCommand, QStringLiteral("--born"), value,
                QStringLiteral("a year (1985), a decade (1960s) or a range (1950-1979) within %1-%2")
                    .arg(BirthYears::FirstYear)
                    .arg(BirthYears::LastYear));
        // Years of birth only mean something for names drawn as common as they were.
        if (reader.has(QStringLiteral("frequency")) && frequency != Frequency::Real && list == ListSource::BuiltIn)
            return UsageError(kCommand, QStringLiteral("--born weights names as common as they were: not with --frequency uniform"));
        born = *years;
        hasBirthRange = true;
        bornFrom = QDate(born.from(), 1, 1);
        bornTo = QDate(born.to(), 12, 31);
        // User names have no frequencies: their dates of birth are drawn alike over the years.
        if (list == ListSource::BuiltIn)
            frequency = Frequency::Real;
    }
    // Romaji reads given name first, kanji and kana family name first, unless told otherwise.
    NameOrder order = script == NameAttribute::Romaji ? NameOrder::GivenFirst : NameOrder::FamilyFirst;
    if (Error e = reader.choose<NameOrder>(QStringLiteral("order"), OrderChoices, order))
        return e;
    givenFirst = order == NameOrder::GivenFirst;
    familyCapitals = order == NameOrder::Official;
    return std::nullopt;
}

std::optional<UsageError> GenerateOptions::readPerson(const ArgumentReader &reader)
{
    if (reader.has(QStringLiteral("as-of"))) {
        const QString value = reader.value(QStringLiteral("as-of"));
        static const QRegularExpression pattern(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        asOf = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        if (!pattern.match(value).hasMatch() || !asOf.isValid())
            return UsageError::badValue(kCommand, QStringLiteral("--as-of"), value, QStringLiteral("a date YYYY-MM-DD"));
    }
    if (reader.has(QStringLiteral("age"))) {
        const QString value = reader.value(QStringLiteral("age"));
        static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})(?:-(\\d{1,3}))?$"));
        const QRegularExpressionMatch match = pattern.match(value);
        const int youngest = match.captured(1).toInt();
        const int oldest = match.captured(2).isEmpty() ? youngest : match.captured(2).toInt();
        if (!match.hasMatch() || youngest > oldest)
            return UsageError::badValue(kCommand, QStringLiteral("--age"), value,
                QStringLiteral("an age (40) or a range of ages (20-39), in completed years"));
        if (reader.has(QStringLiteral("born")))
            return UsageError(kCommand, QStringLiteral("--age and --born are two ways to say one thing: give one"));
        if (reader.has(QStringLiteral("frequency")) && frequency != Frequency::Real && list == ListSource::BuiltIn)
            return UsageError(kCommand, QStringLiteral("--age weights names as common as they were: not with --frequency uniform"));
        const auto [from, to] = Age::birthsFor(youngest, oldest, asOf);
        if (from.year() < BirthYears::FirstYear || to.year() > BirthYears::LastYear)
            return UsageError::badValue(kCommand, QStringLiteral("--age"), value,
                QStringLiteral("ages on %1 whose births fall within %2-%3 (these fall within %4 to %5)")
                    .arg(asOf.toString(Qt::ISODate))
                    .arg(BirthYears::FirstYear)
                    .arg(BirthYears::LastYear)
                    .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
        born = BirthYears(from.year(), to.year());
        hasBirthRange = true;
        bornFrom = from;
        bornTo = to;
        if (list == ListSource::BuiltIn)
            frequency = Frequency::Real;
    }
    if (reader.has(QStringLiteral("email-domain"))) {
        const QString value = reader.value(QStringLiteral("email-domain"));
        // Host name labels (RFC 1123), so that every address is a dot-atom; short enough that an
        // address stays within the 254 characters of an SMTP path.
        static const QRegularExpression pattern(
            QStringLiteral("^[a-z0-9]([a-z0-9-]{0,61}[a-z0-9])?(\\.[a-z0-9]([a-z0-9-]{0,61}[a-z0-9])?)*$"));
        emailDomain = value.toLower();
        if (emailDomain.size() > 189 || !pattern.match(emailDomain).hasMatch())
            return UsageError::badValue(kCommand, QStringLiteral("--email-domain"), value,
                QStringLiteral("a domain name of letters, digits, hyphens and dots, at most 189 characters"));
    }
    return std::nullopt;
}

std::optional<UsageError> GenerateOptions::readOutput(const ArgumentReader &reader)
{
    output = reader.value(QStringLiteral("output"));
    if (reader.has(QStringLiteral("output")) && output.isEmpty())
        return UsageError::badValue(
            kCommand, QStringLiteral("--output"), QString(), QStringLiteral("a file, or - for standard output"));
    if (output == QStringLiteral("-"))
        output.clear();
    database = reader.value(QStringLiteral("db"));
    if (reader.has(QStringLiteral("db")) && database.isEmpty())
        return UsageError::badValue(kCommand, QStringLiteral("--db"), QString(), QStringLiteral("a names.mdb file"));
    if (const std::optional<OutputFormat> fromName = OutputFormatInfo::ofExtension(output))
        format = *fromName;
    if (!reader.has(QStringLiteral("format")))
        return std::nullopt;
    const QString word = reader.value(QStringLiteral("format"));
    for (const OutputFormatInfo &info : OutputFormatInfo::all()) {
        if (word == QLatin1StringView(info.word)) {
            format = info.format;
            return std::nullopt;
        }
    }
    return UsageError::badValue(kCommand, QStringLiteral("--format"), word, OutputFormatInfo::words());
}

std::optional<UsageError> GenerateOptions::readFields(const ArgumentReader &reader)
{
    if (!reader.has(QStringLiteral("fields")))
        return std::nullopt;
    const QString value = reader.value(QStringLiteral("fields"));
    if (!OutputFormatInfo::of(format).hasFields)
        return UsageError(kCommand,
            QStringLiteral("--fields applies to %1, not to %2 (--format)")
                .arg(OutputFormatInfo::words(&OutputFormatInfo::hasFields), QString::fromLatin1(OutputFormatInfo::of(format).word)));
    fields.clear();
    for (const QString &name : value.split(QLatin1Char(','))) {
        const std::optional<RecordField> field = recordFieldNamed(name.trimmed());
        if (!field)
            return UsageError::badValue(kCommand, QStringLiteral("--fields"), name,
                QStringLiteral("a comma-separated list of ") + recordFieldNames());
        // A key twice makes a JSON object most readers take as the last value alone.
        if (std::find(fields.begin(), fields.end(), *field) != fields.end())
            return UsageError::badValue(
                kCommand, QStringLiteral("--fields"), value, QStringLiteral("each field at most once"));
        fields.push_back(*field);
    }
    return std::nullopt;
}

std::optional<UsageError> GenerateOptions::checkTogether(const ArgumentReader &reader) const
{
    if (list == ListSource::User && script != NameAttribute::Romaji)
        return UsageError::badValue(kCommand, QStringLiteral("--script"), reader.value(QStringLiteral("script")),
            QStringLiteral("romaji with --list user: user names have no kanji or kana"));
    if (list == ListSource::User && frequency == Frequency::Real)
        return UsageError(kCommand, QStringLiteral("--frequency real applies to the built-in list: user names have no frequencies"));
    // Each combination once and each as common as it is are two different draws.
    if (unique && frequency == Frequency::Real)
        return UsageError(kCommand,
            QStringLiteral("--unique draws every combination alike: not with %1")
                .arg(reader.has(QStringLiteral("born")) && !reader.has(QStringLiteral("frequency"))
                        ? QStringLiteral("--born")
                        : QStringLiteral("--frequency real")));
    const OutputFormatInfo &info = OutputFormatInfo::of(format);
    const QString word = QString::fromLatin1(info.word);
    if (info.fileOnly && output.isEmpty())
        return UsageError(kCommand, QStringLiteral("--format %1 writes a file only: name it with -o FILE").arg(word));
    // The workbook is reopened by name and written in pieces: a stream would get a broken zip.
    if (info.fileOnly && OutputFile::namesDescriptor(output))
        return UsageError(kCommand,
            QStringLiteral("--format %1 writes a file only, not a descriptor of this process: %2 (-o)").arg(word, output));
    if (info.fileOnly && OutputFile::isStream(output))
        return UsageError(kCommand,
            QStringLiteral("--format %1 writes a file only, not a FIFO, pipe or device: %2 (-o)").arg(word, output));
    // Past the roster's last record the counter places would start over at record 0.
    if (count > MaxRecords - start)
        return UsageError::badValue(kCommand, QStringLiteral("--count"), QString::number(count),
            QStringLiteral("at most %1 from --start %2: the roster ends at record %3")
                .arg(MaxRecords - start)
                .arg(start)
                .arg(MaxRecords - 1));
    // JSON is UTF-8 by its definition, and a workbook is no text file.
    if (!info.hasEncoding && encoding != OutputEncoding::Kind::Utf8)
        return UsageError(kCommand,
            QStringLiteral("--encoding %1 applies to %2, not to %3 (always UTF-8)")
                .arg(reader.value(QStringLiteral("encoding")), OutputFormatInfo::words(&OutputFormatInfo::hasEncoding),
                    word));
    if (!info.hasHeader && headerLanguage != HeaderLanguage::English)
        return UsageError(kCommand,
            QStringLiteral("--header %1 applies to %2, not to %3 (no column names)")
                .arg(reader.value(QStringLiteral("header")), OutputFormatInfo::words(&OutputFormatInfo::hasHeader),
                    word));
    if (info.maxRecords != 0 && count > info.maxRecords)
        return UsageError::badValue(kCommand, QStringLiteral("--count"), QString::number(count),
            QStringLiteral("at most %1 with --format %2 (its row limit)").arg(info.maxRecords).arg(word));
    return std::nullopt;
}
