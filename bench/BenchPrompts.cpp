#include "bench/BenchPrompts.h"

#include "app/shared/QtPrompts.h"

#include <QTextStream>
#include <utility>

BenchPrompts::BenchPrompts(QString benchName)
    : m_benchName(std::move(benchName))
{ }

void BenchPrompts::message(const QString &text, const QString &)
{
    // "Save Results" ends with its completion message.
    if (!text.startsWith(QLatin1String("Done.")))
        note(QStringLiteral("message"), text);
}

void BenchPrompts::errorDialog(const QString &text, const QString &)
{
    note(QStringLiteral("error"), text);
}

QString BenchPrompts::inputText(const QString &prompt, const QString &)
{
    note(QStringLiteral("input"), prompt);
    return {};
}

QStringList BenchPrompts::openFiles(const QString &title, const QString &)
{
    if (m_filesToOpen.isEmpty())
        note(QStringLiteral("open files"), title);
    return m_filesToOpen;
}

QString BenchPrompts::chooseFolder(const QString &title, const QString &)
{
    note(QStringLiteral("folder"), title);
    return {};
}

Outcome BenchPrompts::openUrl(const QUrl &)
{
    // The start-up may open the home page by chance; the run has no browser to start.
    return {};
}

Outcome BenchPrompts::openSpreadsheet(const QString &path)
{
    m_workbook = path;
    if (m_opensSpreadsheet)
        return QtPrompts().openSpreadsheet(path);
    return {};
}

void BenchPrompts::note(const QString &kind, const QString &text)
{
    ++m_unexpected;
    QTextStream(stderr) << m_benchName << ": unexpected " << kind << ": " << text << '\n';
}
