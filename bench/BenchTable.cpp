#include "bench/BenchTable.h"

#include <QFile>
#include <QTextStream>

void BenchTable::add(const QString &task, double seconds, double targetSeconds)
{
    m_rows.append({task, QStringLiteral("%1 s").arg(seconds, 0, 'f', 3), QStringLiteral("< %1 s").arg(targetSeconds),
        seconds < targetSeconds});
}

void BenchTable::addMemory(const QString &task, double megabytes, double targetMegabytes)
{
    m_rows.append({task, QStringLiteral("%1 MB").arg(megabytes, 0, 'f', 1),
        QStringLiteral("< %1 MB").arg(targetMegabytes), megabytes < targetMegabytes});
}

void BenchTable::addInformational(const QString &task, double seconds)
{
    m_rows.append({task, QStringLiteral("%1 s").arg(seconds, 0, 'f', 3), QString(), true});
}

void BenchTable::print() const
{
    QTextStream out(stdout);
    out << "| Task | Measured | Target | Met |\n|---|---|---|---|\n";
    for (const Row &row : m_rows)
        out << "| " << row.task << " | " << row.measured << " | " << row.target << " | "
            << (row.target.isEmpty() ? ""
                       : row.met     ? "yes"
                                     : "NO")
            << " |\n";
}

bool BenchTable::allMet() const
{
    for (const Row &row : m_rows) {
        if (!row.met)
            return false;
    }
    return true;
}

double BenchTable::peakMemoryMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0.0;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0.0;
}
