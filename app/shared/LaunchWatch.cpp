#include "app/shared/LaunchWatch.h"

#include <algorithm>
#include <sys/wait.h>
#include <unistd.h>

namespace {
using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kFirstPoll = 10ms;
constexpr std::chrono::milliseconds kLongestPoll = 2s;

Outcome verdict(int status)
{
    if (WIFEXITED(status)) {
        if (WEXITSTATUS(status) == 0)
            return {};
        return Outcome::failure(QStringLiteral("ended with exit status %1").arg(WEXITSTATUS(status)));
    }
    return Outcome::failure(QStringLiteral("was ended by signal %1").arg(WTERMSIG(status)));
}
} // namespace

LaunchWatch::LaunchWatch(pid_t pid, int pidFd, std::chrono::milliseconds settle, LaunchSettled settled, QObject *parent)
    : QObject(parent)
    , m_pid(pid)
    , m_pidFd(pidFd)
    , m_settled(std::move(settled))
{
    if (m_pidFd >= 0) {
        // A pidfd reads as ready once its process has ended.
        m_ended = std::make_unique<QSocketNotifier>(m_pidFd, QSocketNotifier::Read);
        connect(m_ended.get(), &QSocketNotifier::activated, this, &LaunchWatch::launcherEnded);
    } else {
        m_poll.setSingleShot(true);
        connect(&m_poll, &QTimer::timeout, this, &LaunchWatch::poll);
        m_poll.start(kFirstPoll);
    }
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, [this] { settleWith({}); });
    m_settle.start(settle);
}

LaunchWatch::~LaunchWatch()
{
    if (m_ended)
        m_ended->setEnabled(false);
    if (m_pidFd >= 0)
        ::close(m_pidFd);
}

void LaunchWatch::launcherEnded()
{
    m_ended->setEnabled(false);
    int status = 0;
    const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
    reaped(ended, status);
}

void LaunchWatch::poll()
{
    int status = 0;
    const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
    if (ended == 0) {
        // Still running: a launcher that became the application may run all day.
        m_poll.start(std::min(m_poll.intervalAsDuration() * 2, kLongestPoll));
        return;
    }
    reaped(ended, status);
}

void LaunchWatch::reaped(pid_t reaped, int status)
{
    // The verdict may open a dialog, whose event loop must not see this watch again.
    settleWith(reaped == m_pid ? verdict(status) : Outcome::failure(QStringLiteral("could not be watched")));
    deleteLater();
}

void LaunchWatch::settleWith(const Outcome &verdict)
{
    m_settle.stop();
    if (!m_settled)
        return;
    const LaunchSettled settled = std::exchange(m_settled, {});
    settled(verdict);
}
