#include "tests/results/WorkbookReader.h"

#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

namespace {
QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inItem = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inItem = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t") && inItem) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings.append(current);
            inItem = false;
        }
    }
    return strings;
}
} // namespace

QByteArray WorkbookReader::member(const QString &path, const QString &name, bool required)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(120000) || unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0) {
        if (required)
            m_error = QStringLiteral("unzip could not read %1 from %2").arg(name, path);
        return {};
    }
    return unzip.readAllStandardOutput();
}

WorkbookReader::WorkbookReader(const QString &path)
{
    const QByteArray sheet = member(path, QStringLiteral("xl/worksheets/sheet1.xml"), true);
    if (!m_error.isEmpty())
        return;
    const QStringList strings = sharedStrings(member(path, QStringLiteral("xl/sharedStrings.xml"), false));

    QXmlStreamReader reader(sheet);
    QString reference;
    QString type;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement())
            continue;
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1String("col")) {
            const int first = attributes.value(QLatin1String("min")).toInt();
            const int last = attributes.value(QLatin1String("max")).toInt();
            for (int column = first; column <= last; ++column)
                m_widths.insert(column, attributes.value(QLatin1String("width")).toDouble());
        } else if (reader.name() == QLatin1String("c")) {
            reference = attributes.value(QLatin1String("r")).toString();
            type = attributes.value(QLatin1String("t")).toString();
        } else if (reader.name() == QLatin1String("t") && type == QLatin1String("inlineStr")) {
            const QString text = reader.readElementText();
            m_cells.append({reference, text});
            m_byReference.insert(reference, text);
        } else if (reader.name() == QLatin1String("v")) {
            QString text = reader.readElementText();
            if (type == QLatin1String("s"))
                text = strings.value(text.toInt());
            m_cells.append({reference, text});
            m_byReference.insert(reference, text);
        }
    }
    if (reader.hasError()) {
        m_error = reader.errorString();
        return;
    }
    m_valid = true;
}
