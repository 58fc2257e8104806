#include "store/TsvTable.h"

#include <QFile>
#include <vector>

Outcome TsvTable::read(const QString &path, int columns, const QString &shape,
    const std::function<bool(std::span<const QByteArrayView> fields)> &row, int &skipped)
{
    skipped = 0;
    QFile file(path);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError)
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));

    std::vector<QByteArrayView> fields(static_cast<std::size_t>(columns));
    // The header names the shape's first column: "list\t..." or "kanji\t...".
    const QByteArray header = shape.section(QLatin1Char(','), 0, 0).toUtf8() + '\t';
    qsizetype lineStart = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    int lineNumber = 0;
    int firstSkipped = 0;
    while (lineStart < text.size()) {
        ++lineNumber;
        qsizetype lineEnd = text.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        QByteArrayView line(text.constData() + lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || (lineNumber == 1 && line.startsWith(header)))
            continue;
        // Split in place: no copy of the line or of its fields before a row makes texts of them.
        int fieldCount = 0;
        for (qsizetype from = 0; fieldCount <= columns;) {
            const qsizetype tab = line.indexOf('\t', from);
            if (fieldCount < columns)
                fields[static_cast<std::size_t>(fieldCount)] = line.sliced(from, (tab < 0 ? line.size() : tab) - from);
            ++fieldCount;
            if (tab < 0)
                break;
            from = tab + 1;
        }
        // One bad row costs that row, not the names of every other.
        if (fieldCount != columns || !row(fields)) {
            if (skipped++ == 0)
                firstSkipped = lineNumber;
        }
    }
    if (skipped == 0)
        return {};
    return Outcome::failure(QStringLiteral("%1: %2 skipped, the first at line %3, which is not \"%4\"")
                                .arg(path, skipped == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(skipped))
                                .arg(firstSkipped)
                                .arg(shape));
}
