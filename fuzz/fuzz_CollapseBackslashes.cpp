// CollapseBackslashes over any path: every run of n separators becomes ceil(n / 2) (one
// left-to-right pair scan), except that a leading run of two or more (a network path)
// becomes exactly two; no other character is touched.
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
    if (path.startsWith(QStringLiteral("//"))) {
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
    fuzzCheck(collapsed.size() <= path.size(), "collapsing never lengthens");
    fuzzCheck(collapsed.startsWith(kSeparator) == path.startsWith(kSeparator), "a leading separator stays");
    if (path.startsWith(QStringLiteral("//"))) {
        fuzzCheck(collapsed.startsWith(QStringLiteral("//")) && !collapsed.startsWith(QStringLiteral("///")),
            "a leading run of two or more becomes exactly two");
    }
    if (!path.contains(QStringLiteral("//")))
        fuzzCheck(collapsed == path, "a path without a pair is unchanged");
    return 0;
}
