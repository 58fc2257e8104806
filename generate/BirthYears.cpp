#include "generate/BirthYears.h"

#include <QRegularExpression>
#include <algorithm>

BirthYears::BirthYears(int from, int to)
    : m_from(from)
    , m_to(to)
{ }

std::optional<BirthYears> BirthYears::parse(QStringView text)
{
    // Anchored at the very end: "$" would also match before a final line end ("1985\n").
    static const QRegularExpression form(QRegularExpression::anchoredPattern(u"([0-9]{4})(s|-([0-9]{4}))?"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int from = match.capturedView(1).toInt();
    int to = from;
    if (match.capturedView(2) == u"s") {
        // "1960s" names a decade by its first year, not "1965s".
        if (from % 10 != 0)
            return std::nullopt;
        to = from + 9;
    } else if (match.hasCaptured(3)) {
        to = match.capturedView(3).toInt();
    }
    if (from < FirstYear || to > LastYear || from > to)
        return std::nullopt;
    return BirthYears(from, to);
}

QString BirthYears::decadeName(int decade)
{
    return QStringLiteral("%1s").arg(FirstYear + 10 * decade);
}

int BirthYears::yearsIn(int decade) const
{
    const int first = FirstYear + 10 * decade;
    return std::max(0, std::min(m_to, first + 9) - std::max(m_from, first) + 1);
}

BirthYears BirthYears::inDecade(int decade) const
{
    const int first = std::max(m_from, FirstYear + 10 * decade);
    return {first, first + std::max(yearsIn(decade), 1) - 1};
}

QString BirthYears::text() const
{
    if (m_from == m_to)
        return QString::number(m_from);
    if (m_from % 10 == 0 && m_to == m_from + 9)
        return QStringLiteral("%1s").arg(m_from);
    return QStringLiteral("%1-%2").arg(m_from).arg(m_to);
}
