#include "cli/CliPrompts.h"

#include <cstdio>

void CliPrompts::printError(const QString &what)
{
    const QByteArray line = (QStringLiteral("toviska-cli: ") + what + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
}

void CliPrompts::message(const QString &text, const QString &)
{
    printError(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

void CliPrompts::errorDialog(const QString &text, const QString &)
{
    // The dialog's text is the description, then the handler and step for a screenshot, which
    // mean nothing on a terminal: the description alone says what failed and why. A window's
    // handler goes on after a failed step, and the steps that needed it fail in turn ("The names
    // database is not open."): the first report says it all.
    if (m_failed)
        return;
    m_failed = true;
    printError(text.section(QStringLiteral("\r\n"), 0, 0));
}

QString CliPrompts::inputText(const QString &, const QString &)
{
    return m_inputs.isEmpty() ? QString() : m_inputs.dequeue();
}

QStringList CliPrompts::openFiles(const QString &, const QString &)
{
    return m_files;
}

QString CliPrompts::chooseFolder(const QString &, const QString &)
{
    return {};
}

Outcome CliPrompts::openUrl(const QUrl &)
{
    return Outcome::failure(QStringLiteral("no web browser on the command line"));
}

Outcome CliPrompts::openSpreadsheet(const QString &)
{
    return Outcome::failure(QStringLiteral("no spreadsheet application on the command line"));
}
