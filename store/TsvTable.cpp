#include "store/TsvTable.h"

#include <QFile>
#include <QHash>
#include <vector>

Outcome TsvTable::read(const QString &path, const Shape &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped)
{
    skipped = 0;
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    // A table damaged as a whole is told as one that cannot be read, whatever rows it kept.
    const auto damaged = [&path, &skipped](const QString &why) {
        skipped = 0;
        return Outcome::failure(path + QStringLiteral(": ") + why);
    };

    const int columns = shape.columns;
    std::vector<QByteArrayView> fields(static_cast<std::size_t>(columns));
    // Per key, the rest of its row and its line: a repeat is told from a row with other values.
    QHash<QByteArrayView, std::pair<QByteArrayView, int>> keys;
    if (shape.keyColumns > 0)
        keys.reserve(text.size() / 64);
    std::vector<int> listRows(static_cast<std::size_t>(shape.lists.size()));
    // The header names the shape's first column: "list\t..." or "kanji\t...".
    const QByteArray headerStart = shape.text.section(QLatin1Char(','), 0, 0).toUtf8() + '\t';
    qsizetype lineStart = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int lineNumber = 0;
    int rows = 0;
    bool headerPossible = true;
    int firstSkipped = 0;
    int firstRepeated = 0; // the line the first skipped row repeats with other values, or 0
    while (lineStart < text.size()) {
        ++lineNumber;
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0) {
            // An editor's save or a copy stopped short: the last row may be missing a piece.
            return damaged(QStringLiteral("cut short: line %1 has no line end").arg(lineNumber));
        }
        QByteArrayView line(text.constData() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const bool header = headerPossible && line.startsWith(headerStart);
        headerPossible = false;
        if (header)
            continue;
        ++rows;
        // Split in place: no copy of the line or of its fields before a row makes texts of them.
        int fieldCount = 0;
        qsizetype keyEnd = 0;
        for (qsizetype from = 0; fieldCount <= columns;) {
            const qsizetype tab = line.indexOf('\t', from);
            const qsizetype end = tab < 0 ? line.size() : tab;
            if (fieldCount < columns)
                fields[static_cast<std::size_t>(fieldCount)] = line.sliced(from, end - from);
            if (++fieldCount == shape.keyColumns)
                keyEnd = end;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        bool good = fieldCount == columns;
        // Keyed by the good rows only: a bad row's key is free for a good one after it.
        const bool keyed = good && shape.keyColumns > 0;
        const QByteArrayView key = keyed ? line.first(keyEnd) : QByteArrayView();
        const QByteArrayView rest = keyed ? line.sliced(keyEnd) : QByteArrayView();
        if (keyed) {
            const auto known = keys.constFind(key);
            if (known != keys.cend()) {
                // The same row again counts once; other values for it are a bad row.
                if (known->first == rest)
                    continue;
                if (skipped == 0)
                    firstRepeated = known->second;
                good = false;
            }
        }
        // One bad row costs that row, not the names of every other.
        if (!good || !row(fields)) {
            if (skipped++ == 0)
                firstSkipped = lineNumber;
            continue;
        }
        if (keyed)
            keys.insert(key, {rest, lineNumber});
        for (qsizetype list = 0; list < shape.lists.size(); ++list) {
            if (fields[0] == shape.lists[list])
                ++listRows[static_cast<std::size_t>(list)];
        }
    }
    if (text.size() <= (text.startsWith("\xEF\xBB\xBF") ? 3 : 0))
        return damaged(QStringLiteral("empty"));
    if (rows == 0)
        return damaged(QStringLiteral("no rows, only a header or blank lines"));
    for (qsizetype list = 0; list < shape.lists.size(); ++list) {
        if (listRows[static_cast<std::size_t>(list)] == 0) {
            return damaged(
                QStringLiteral("no good row of the list \"%1\"").arg(QString::fromUtf8(shape.lists[list])));
        }
    }
    if (skipped == 0)
        return {};
    const QString count = skipped == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(skipped);
    if (firstRepeated > 0) {
        return Outcome::failure(QStringLiteral("%1: %2 skipped, the first at line %3, which repeats line %4 with other values")
                                    .arg(path, count)
                                    .arg(firstSkipped)
                                    .arg(firstRepeated));
    }
    return Outcome::failure(QStringLiteral("%1: %2 skipped, the first at line %3, which is not \"%4\"")
                                .arg(path, count)
                                .arg(firstSkipped)
                                .arg(shape.text));
}
