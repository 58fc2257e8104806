#include "app/ApplicationTitle.h"

namespace {
constexpr qsizetype kMaxTitleLength = 40;
} // namespace

QString ProductTitle()
{
    return QStringLiteral("Toviska");
}

QString ApplicationTitle(const QString &productTitle)
{
    QString title = productTitle;
    do {
        const qsizetype lastSpace = title.lastIndexOf(QLatin1Char(' '));
        // Nothing left to cut: an empty title would serve no one.
        if (lastSpace < 0)
            break;
        title.truncate(lastSpace);
    } while (title.size() > kMaxTitleLength);
    return title;
}
