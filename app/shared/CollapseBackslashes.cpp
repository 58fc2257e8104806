#include "app/shared/CollapseBackslashes.h"

namespace {
const QChar kSeparator = QLatin1Char('/');

QString collapsePairs(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        result.append(text[i]);
        if (text[i] == kSeparator && i + 1 < text.size() && text[i + 1] == kSeparator)
            ++i; // the pair becomes one; the scan goes on after it
    }
    return result;
}
} // namespace

QString CollapseBackslashes(const QString &path)
{
    // Here every absolute path starts with one separator: only a leading pair or more marks
    // a network path, and that keeps exactly two.
    if (!path.startsWith(QStringView(u"//")))
        return collapsePairs(path);
    qsizetype firstOther = 0;
    while (firstOther < path.size() && path[firstOther] == kSeparator)
        ++firstOther;
    return QString(2, kSeparator) + collapsePairs(QStringView(path).mid(firstOther));
}
