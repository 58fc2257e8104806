// The count box's text: any text is either refused as no number, refused as too large, or
// accepted with a pass count that agrees with a second, independent reading of the number.
#include "fuzz/FuzzCheck.h"
#include "generate/CountText.h"

#include <QString>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
// The grammar of a count, read again on its own: blanks (space, tab), an optional sign,
// digits with an optional fraction, at least one digit, blanks.
struct Decimal
{
    bool negative = false;
    std::string whole; // without leading zeros
    std::string fraction; // without trailing zeros
    qsizetype bodyStart = 0; // where the digits (or the point) begin in the text
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

std::optional<Decimal> readDecimal(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    Decimal decimal;
    if (begin < end && (text[begin] == u'+' || text[begin] == u'-')) {
        decimal.negative = text[begin] == u'-';
        ++begin;
    }
    decimal.bodyStart = begin;
    bool seenPoint = false;
    qsizetype digits = 0;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= u'0' && c <= u'9') {
            ++digits;
            (seenPoint ? decimal.fraction : decimal.whole).push_back(static_cast<char>(c));
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    const std::size_t firstNonZero = decimal.whole.find_first_not_of('0');
    decimal.whole.erase(0, firstNonZero == std::string::npos ? decimal.whole.size() : firstNonZero);
    while (!decimal.fraction.empty() && decimal.fraction.back() == '0')
        decimal.fraction.pop_back();
    return decimal;
}

void checkAgainstReading(const QString &text, const CountText &count)
{
    const std::optional<Decimal> decimal = readDecimal(text);
    if (!decimal) {
        fuzzCheck(count.verdict() == CountText::Verdict::NotANumber, "a text outside the grammar is no number");
        fuzzCheck(count.passes() == 0, "no number, no passes");
        return;
    }
    fuzzCheck(count.isNumber(), "a text of the grammar is a number");
    if (decimal->negative) {
        fuzzCheck(count.verdict() == CountText::Verdict::Accepted && count.passes() == 0,
            "a negative number is accepted with no passes");
        return;
    }
    if (decimal->whole.size() > 7) {
        fuzzCheck(count.isTooLarge(), "eight whole digits or more are too large");
        return;
    }
    // Up to 15 significant digits a double holds the number closely enough that both the
    // bound and an exact half are decided right.
    const std::string digits = decimal->whole + "." + decimal->fraction;
    if (decimal->whole.size() + decimal->fraction.size() <= 15) {
        const double value = decimal->whole.empty() && decimal->fraction.empty() ? 0.0 : std::stod(digits);
        if (value >= CountText::UpperBound) {
            fuzzCheck(count.isTooLarge(), "a number at or over the bound is too large");
            fuzzCheck(count.passes() == 0, "too large, no passes");
        } else {
            fuzzCheck(count.verdict() == CountText::Verdict::Accepted, "a number under the bound is accepted");
            // nearbyint rounds an exact half to the even neighbour, like the count does.
            fuzzCheck(count.passes() == static_cast<int>(std::nearbyint(value)), "passes are the number rounded");
        }
        return;
    }
    const int whole = decimal->whole.empty() ? 0 : std::stoi(decimal->whole);
    if (whole >= CountText::UpperBound) {
        fuzzCheck(count.isTooLarge(), "a whole part at or over the bound is too large");
        return;
    }
    fuzzCheck(count.verdict() == CountText::Verdict::Accepted, "a long fraction under the bound is accepted");
    fuzzCheck(count.passes() == whole || count.passes() == whole + 1, "a fraction rounds to a neighbour");
}

bool sameResult(const CountText &a, const CountText &b)
{
    return a.verdict() == b.verdict() && a.passes() == b.passes();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const CountText count = CountText::parse(text);

    fuzzCheck(count.passes() >= 0 && count.passes() <= CountText::UpperBound, "passes stay within 0..UpperBound");
    if (count.verdict() != CountText::Verdict::Accepted)
        fuzzCheck(count.passes() == 0, "a refused count has no passes");
    checkAgainstReading(text, count);

    // Blanks around the text and a leading zero before its digits change nothing.
    fuzzCheck(sameResult(count, CountText::parse(QStringLiteral(" \t") + text + QStringLiteral("\t "))),
        "surrounding blanks change nothing");
    if (const std::optional<Decimal> decimal = readDecimal(text)) {
        QString padded = text;
        padded.insert(decimal->bodyStart, QLatin1Char('0'));
        fuzzCheck(sameResult(count, CountText::parse(padded)), "a leading zero changes nothing");
    }
    return 0;
}
