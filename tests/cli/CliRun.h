#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// toviska-cli run as a child process, as a shell would: its exit status and both streams.
struct CliRun
{
    int exitCode = -1;
    bool crashed = true;
    QByteArray out;
    QByteArray err;

    static QString program() { return qEnvironmentVariable("TOVISKA_BIN_DIR") + QStringLiteral("/toviska-cli"); }

    static CliRun of(const QStringList &arguments, const QByteArray &input = {},
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program(), arguments);
        CliRun run;
        if (!process.waitForStarted())
            return run;
        process.write(input);
        process.closeWriteChannel();
        // A bound on a hung child only; nothing is timed.
        process.waitForFinished(120000);
        run.crashed = process.exitStatus() != QProcess::NormalExit;
        run.exitCode = process.exitCode();
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }
};
