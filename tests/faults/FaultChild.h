#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// The helper program of the fault tests (fault_child.cpp) running as a child process: started
// on construction, killed on destruction if it is still running.
class FaultChild
{
public:
    explicit FaultChild(const QStringList &arguments);
    ~FaultChild();
    FaultChild(const FaultChild &) = delete;
    FaultChild &operator=(const FaultChild &) = delete;

    // Waits until the child has written this whole line; false if it ended or the time ran out first.
    bool waitForLine(const QByteArray &line, int msecs = 60000);
    // Ends the child at once with SIGKILL, wherever it is.
    void kill();
    // Lets the child run to its end; true when it ended normally with exit code 0.
    bool finish(int msecs = 120000);
    // Closes the child's standard input (the lock mode then releases its lock).
    void closeInput();

    bool wasKilled() const { return m_killed; }
    bool hasEnded() const { return m_process.state() == QProcess::NotRunning; }
    QByteArray output() const { return m_output; }
    // The texts of the dialogs the child's work showed, line breaks restored.
    QStringList dialogs() const;
    // The child's largest resident size in kilobytes, as it reported at its end; -1 if it did not.
    qint64 peakKilobytes() const;

private:
    void readAvailable();

    QProcess m_process;
    QByteArray m_output;
    bool m_killed = false;
};
