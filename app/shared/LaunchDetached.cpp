#include "app/shared/LaunchDetached.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
// What the watcher writes when it could not start the launcher at all.
constexpr int kNotForked = -1;

void closeQuietly(int fd)
{
    while (::close(fd) < 0 && errno == EINTR) {
    }
}

Outcome systemFailure(int error)
{
    return Outcome::failure(QStringLiteral("could not be run (%1)").arg(QString::fromLocal8Bit(std::strerror(error))));
}

// Runs in the watcher, a child of a threaded process: only calls that are safe there.
[[noreturn]] void watch(char *const argv[], int statusFd)
{
    // The handlers this process inherited are not the watcher's to run.
    std::signal(SIGCHLD, SIG_DFL);
    std::signal(SIGPIPE, SIG_IGN);
    int status = kNotForked;
    const pid_t launcher = fork();
    if (launcher == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        std::signal(SIGPIPE, SIG_DFL);
        execv(argv[0], argv);
        _exit(127);
    }
    if (launcher > 0) {
        while (waitpid(launcher, &status, 0) < 0 && errno == EINTR) {
        }
    }
    // Nobody may be reading any more (the settle time has passed): then this write just fails.
    [[maybe_unused]] const ssize_t written = write(statusFd, &status, sizeof status);
    _exit(0);
}

// The launcher's wait status once the watcher has written it within settle; false otherwise,
// also when the watcher ended without a word.
bool awaitStatus(int fd, std::chrono::milliseconds settle, int &status)
{
    QEventLoop loop;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(settle, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    notifier.setEnabled(false);

    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    ssize_t got;
    while ((got = read(fd, &status, sizeof status)) < 0 && errno == EINTR) {
    }
    return got == static_cast<ssize_t>(sizeof status);
}
} // namespace

Outcome LaunchDetached(const QString &program, const QStringList &arguments, std::chrono::milliseconds settle)
{
    // Everything the children use is made before the fork.
    std::vector<QByteArray> strings{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        strings.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) < 0)
        return systemFailure(errno);
    const pid_t middle = fork();
    if (middle < 0) {
        const int error = errno;
        closeQuietly(pipeFds[0]);
        closeQuietly(pipeFds[1]);
        return systemFailure(error);
    }
    if (middle == 0) {
        // The middle child ends at once, which leaves the watcher, and the launcher it starts, in
        // a session of their own and nobody's children here.
        closeQuietly(pipeFds[0]);
        setsid();
        if (fork() != 0)
            _exit(0);
        watch(argv.data(), pipeFds[1]);
    }
    closeQuietly(pipeFds[1]);
    while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
    }

    int status = 0;
    const bool ended = awaitStatus(pipeFds[0], settle, status);
    closeQuietly(pipeFds[0]);
    if (!ended)
        return {};
    if (status == kNotForked)
        return systemFailure(EAGAIN);
    if (WIFEXITED(status)) {
        if (WEXITSTATUS(status) == 0)
            return {};
        return Outcome::failure(QStringLiteral("ended with exit status %1").arg(WEXITSTATUS(status)));
    }
    return Outcome::failure(QStringLiteral("was ended by signal %1").arg(WTERMSIG(status)));
}
