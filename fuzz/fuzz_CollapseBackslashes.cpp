// CollapseBackslashes over any path: every inner run of n separators becomes ceil(n / 2)
// (one left-to-right pair scan), a leading run of any length becomes exactly two, and no
// other character is touched.
#include "app/shared/CollapseBackslashes.h"
#include "fuzz/FuzzCheck.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {
const QChar kSeparator = QLatin1Char('/');

// The expected result, built run by run instead of by a pair scan.
QString collapsedByRuns(const QString &path)
{
    QString result;
    qsizetype i = 0;
    if (path.startsWith(kSeparator)) {
        result = QStringLiteral("//");
        while (i < path.size() && path[i] == kSeparator)
            ++i;
    }
    while (i < path.size()) {
        if (path[i] != kSeparator) {
            result.append(path[i++]);
            continue;
        }
        qsizetype run = 0;
        while (i < path.size() && path[i] == kSeparator) {
            ++run;
            ++i;
        }
        result.append(QString((run + 1) / 2, kSeparator));
    }
    return result;
}

QString withoutSeparators(const QString &text)
{
    QString result = text;
    result.remove(kSeparator);
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString collapsed = CollapseBackslashes(path);

    fuzzCheck(collapsed == collapsedByRuns(path), "each run of separators is halved, rounding up");
    fuzzCheck(withoutSeparators(collapsed) == withoutSeparators(path), "other characters are kept in order");
    if (path.startsWith(kSeparator)) {
        fuzzCheck(collapsed.startsWith(QStringLiteral("//")) && !collapsed.startsWith(QStringLiteral("///")),
            "a leading run becomes exactly two");
    } else {
        fuzzCheck(!collapsed.startsWith(kSeparator), "no separator is put in front");
        fuzzCheck(collapsed.size() <= path.size(), "collapsing never lengthens");
    }
    if (!path.contains(QStringLiteral("//")) && !path.startsWith(kSeparator))
        fuzzCheck(collapsed == path, "a path without a pair is unchanged");
    return 0;
}
