// The values of toviska-cli generate's options, any bytes (NUL-separated: --born, --start,
// --count, --seed, --fields): each is accepted exactly when a plain reading of what --help
// documents accepts it, and a roster never runs past its last record.
#include "cli/GenerateOptions.h"
#include "cli/RecordField.h"
#include "fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QSet>
#include <cstddef>
#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
// Plain decimal digits, 1 to 20 of them, that fit 64 bits.
std::optional<std::uint64_t> digits(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("\\A[0-9]{1,20}\\z"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const std::uint64_t value = text.toULongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

bool accepts(const QStringList &arguments, GenerateOptions &options)
{
    return !GenerateOptions::parse(arguments, options).has_value();
}

bool bornIsDocumented(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("\\A([0-9]{4})(s|-([0-9]{4}))?\\z"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    const int from = match.captured(1).toInt();
    const int to = match.captured(2) == QStringLiteral("s") ? from + 9 : match.hasCaptured(3) ? match.captured(3).toInt() : from;
    return (match.captured(2) != QStringLiteral("s") || from % 10 == 0) && from >= 1920 && to <= 2029 && from <= to;
}

bool fieldsAreDocumented(const QString &text)
{
    QSet<QString> seen;
    for (const QString &name : text.split(QLatin1Char(','))) {
        const QString field = name.trimmed();
        if (!recordFieldNamed(field) || seen.contains(field))
            return false;
        seen.insert(field);
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QStringList values;
    for (const QByteArray &piece : bytes.split('\0'))
        values.append(QString::fromUtf8(piece));
    while (values.size() < 5)
        values.append(QString());
    const QString &born = values[0];
    const QString &start = values[1];
    const QString &count = values[2];
    const QString &seed = values[3];
    const QString &fields = values[4];

    GenerateOptions options;
    fuzzCheck(accepts({QStringLiteral("--born=") + born}, options) == bornIsDocumented(born),
        "--born takes a year, a decade or a range within 1920-2029, nothing after it");
    const std::optional<std::uint64_t> startValue = digits(start);
    fuzzCheck(accepts({QStringLiteral("--start=") + start}, options)
            == (startValue && *startValue < GenerateOptions::MaxRecords && options.count <= GenerateOptions::MaxRecords - *startValue),
        "--start takes 0 to 2^61 - 1, the default count fitting after it");
    const std::optional<std::uint64_t> seedValue = digits(seed);
    options = GenerateOptions();
    fuzzCheck(accepts({QStringLiteral("--seed=") + seed}, options) == seedValue.has_value(), "--seed takes 0 to 2^64 - 1");
    fuzzCheck(!seedValue || options.seed == seedValue, "the seed is the number given");
    options = GenerateOptions();
    fuzzCheck(accepts({QStringLiteral("--format=csv"), QStringLiteral("--fields=") + fields}, options)
            == fieldsAreDocumented(fields),
        "--fields takes known fields, each once");

    // A count and a start together: never past the roster's last record.
    const std::optional<std::uint64_t> countValue = digits(count);
    options = GenerateOptions();
    const bool both = accepts({QStringLiteral("-n"), count, QStringLiteral("--start"), start}, options);
    const bool fits = countValue && startValue && *countValue >= 1 && *startValue < GenerateOptions::MaxRecords
        && *countValue <= GenerateOptions::MaxRecords - *startValue;
    fuzzCheck(both == fits, "a count is accepted exactly when the roster holds it");
    if (both)
        fuzzCheck(options.count >= 1 && options.count <= GenerateOptions::MaxRecords - options.start, "no roster wraps");
    return 0;
}
