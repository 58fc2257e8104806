#pragma once

#include <QString>

// A command line the program cannot follow: exit status 2, the message and a hint to --help on
// standard error, nothing on standard output.
class UsageError
{
public:
    UsageError(QString command, QString message);

    // "toviska-cli generate: <message>" and the hint, each on its own line.
    QString text() const;
    // Writes text() to standard error; returns the exit status of a usage error, 2.
    int report() const;

    // "invalid value 'x' for --gender (accepted: both, male, female)"
    static UsageError badValue(
        const QString &command, const QString &option, const QString &value, const QString &accepted);

private:
    QString m_command;
    QString m_message;
};
