#include "app/shared/LaunchWatch.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {
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
    , m_ended(pidFd, QSocketNotifier::Read)
    , m_settled(std::move(settled))
{
    // A pidfd reads as ready once its process has ended.
    connect(&m_ended, &QSocketNotifier::activated, this, &LaunchWatch::launcherEnded);
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, [this] { settleWith({}); });
    m_settle.start(settle);
}

LaunchWatch::~LaunchWatch()
{
    m_ended.setEnabled(false);
    ::close(m_pidFd);
}

void LaunchWatch::launcherEnded()
{
    m_ended.setEnabled(false);
    int status = 0;
    const pid_t reaped = ::waitpid(m_pid, &status, WNOHANG);
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
