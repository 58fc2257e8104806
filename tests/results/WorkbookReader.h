#pragma once

#include <QHash>
#include <QMap>
#include <QString>

// Reads back the first sheet of an .xlsx written by the export: its cells by reference
// ("A1"), in the order they stand in the sheet, and the widths set on its columns.
class WorkbookReader
{
public:
    explicit WorkbookReader(const QString &path);

    bool isValid() const { return m_valid; }
    const QString &error() const { return m_error; }

    // Every cell holding a value, in sheet order.
    const QList<QPair<QString, QString>> &cells() const { return m_cells; }
    QString cell(const QString &reference) const { return m_byReference.value(reference); }
    bool hasCell(const QString &reference) const { return m_byReference.contains(reference); }
    // Column number (1 = A) to width, for the columns given a width.
    const QMap<int, double> &columnWidths() const { return m_widths; }

private:
    QByteArray member(const QString &path, const QString &name, bool required);

    bool m_valid = false;
    QString m_error;
    QList<QPair<QString, QString>> m_cells;
    QHash<QString, QString> m_byReference;
    QMap<int, double> m_widths;
};
