#pragma once

#include "app/shared/Outcome.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <sys/types.h>

// How a started launcher's first moments went: Ok, or how it ended in failure.
using LaunchSettled = std::function<void(const Outcome &)>;

// Watches a launcher started as this process's child through its pidfd, from the event loop,
// so nothing waits for it: its verdict once (how it ended within settle, or Ok once settle has
// passed with it still running), and its reaping whenever it ends, so that a launcher that
// outlives the watch, as one that becomes the application does, leaves no zombie behind.
// Without a pidfd (pidFd -1: a kernel before 5.3, no descriptor left) the launcher is asked
// from the event loop whether it has ended, soon at first and more rarely as it runs on.
// Deletes itself once the launcher is reaped; a run that ends first just closes the pidfd.
class LaunchWatch : public QObject
{
    Q_OBJECT

public:
    LaunchWatch(pid_t pid, int pidFd, std::chrono::milliseconds settle, LaunchSettled settled, QObject *parent);
    ~LaunchWatch() override;

private:
    void launcherEnded();
    void poll();
    void reaped(pid_t reaped, int status);
    void settleWith(const Outcome &verdict);

    pid_t m_pid;
    int m_pidFd;
    std::unique_ptr<QSocketNotifier> m_ended;
    QTimer m_poll;
    QTimer m_settle;
    LaunchSettled m_settled;
};
