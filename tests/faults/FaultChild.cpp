#include "tests/faults/FaultChild.h"

#include <QDeadlineTimer>

FaultChild::FaultChild(const QStringList &arguments)
{
    // Its diagnostics go straight to the test's own output; only its standard output is read.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(TOVISKA_FAULT_CHILD), arguments);
    m_process.waitForStarted();
}

FaultChild::~FaultChild()
{
    if (m_process.state() != QProcess::NotRunning)
        kill();
}

void FaultChild::readAvailable()
{
    m_output += m_process.readAllStandardOutput();
}

bool FaultChild::waitForLine(const QByteArray &line, int msecs)
{
    QDeadlineTimer deadline(msecs);
    for (;;) {
        readAvailable();
        if (m_output.startsWith(line + '\n') || m_output.contains('\n' + line + '\n'))
            return true;
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 1000)));
    }
}

void FaultChild::kill()
{
    m_killed = m_process.state() != QProcess::NotRunning;
    m_process.kill();
    m_process.waitForFinished(30000);
    readAvailable();
}

bool FaultChild::finish(int msecs)
{
    const bool ended = m_process.waitForFinished(msecs);
    readAvailable();
    return ended && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

void FaultChild::closeInput()
{
    m_process.closeWriteChannel();
}

QStringList FaultChild::dialogs() const
{
    QStringList texts;
    for (const QByteArray &line : m_output.split('\n')) {
        if (!line.startsWith("dialog: "))
            continue;
        QString text = QString::fromUtf8(line.mid(8));
        text.replace(QLatin1String("\\r"), QLatin1String("\r")).replace(QLatin1String("\\n"), QLatin1String("\n"));
        texts.append(text);
    }
    return texts;
}

qint64 FaultChild::peakKilobytes() const
{
    for (const QByteArray &line : m_output.split('\n')) {
        if (line.startsWith("peak-kb "))
            return line.mid(8).toLongLong();
    }
    return -1;
}
