#include "cli/UsageError.h"

#include <cstdio>

UsageError::UsageError(QString command, QString message)
    : m_command(std::move(command))
    , m_message(std::move(message))
{ }

QString UsageError::text() const
{
    const QString program
        = m_command.isEmpty() ? QStringLiteral("toviska-cli") : QStringLiteral("toviska-cli ") + m_command;
    return QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, m_message);
}

int UsageError::report() const
{
    const QByteArray bytes = text().toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    return 2;
}

UsageError UsageError::badValue(
    const QString &command, const QString &option, const QString &value, const QString &accepted)
{
    return UsageError(command, QStringLiteral("invalid value '%1' for %2 (accepted: %3)").arg(value, option, accepted));
}
