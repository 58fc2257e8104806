#include "generate/CountText.h"

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int digitValue(QChar c)
{
    return c.unicode() - u'0';
}

// Whether any digit of the text is not a zero.
bool anyNonZero(QStringView digits)
{
    for (const QChar c : digits) {
        if (c != QLatin1Char('0'))
            return true;
    }
    return false;
}
} // namespace

CountText::CountText(Verdict verdict, int passes)
    : m_verdict(verdict)
    , m_passes(passes)
{ }

CountText CountText::parse(QStringView text)
{
    const CountText notANumber(Verdict::NotANumber, 0);

    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    QStringView body = text.sliced(begin, end - begin);

    bool negative = false;
    if (!body.isEmpty() && (body.front() == QLatin1Char('+') || body.front() == QLatin1Char('-'))) {
        negative = body.front() == QLatin1Char('-');
        body = body.sliced(1);
    }

    qsizetype point = 0;
    while (point < body.size() && isDigit(body[point]))
        ++point;
    QStringView whole = body.first(point);
    QStringView fraction;
    if (point < body.size()) {
        if (body[point] != QLatin1Char('.'))
            return notANumber;
        fraction = body.sliced(point + 1);
        for (const QChar c : fraction) {
            if (!isDigit(c))
                return notANumber;
        }
    }
    if (whole.isEmpty() && fraction.isEmpty())
        return notANumber; // "", "-", "." and the like

    // A negative number rounds to zero or below: never too large, never a pass.
    if (negative)
        return CountText(Verdict::Accepted, 0);

    while (!whole.isEmpty() && whole.front() == QLatin1Char('0'))
        whole = whole.sliced(1);
    // Eight digits or more are at least ten million.
    if (whole.size() > 7)
        return CountText(Verdict::TooLarge, 0);
    int value = 0;
    for (const QChar c : whole)
        value = value * 10 + digitValue(c);
    if (value >= UpperBound)
        return CountText(Verdict::TooLarge, 0);

    if (!fraction.isEmpty()) {
        const int firstDigit = digitValue(fraction.front());
        const bool moreThanHalf = firstDigit > 5 || (firstDigit == 5 && anyNonZero(fraction.sliced(1)));
        const bool exactHalf = firstDigit == 5 && !moreThanHalf;
        if (moreThanHalf || (exactHalf && value % 2 == 1))
            ++value;
    }
    return CountText(Verdict::Accepted, value);
}
