#include "app/shared/LaunchDetached.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace {
// The system call itself: glibc 2.36 declares pidfd_open without C linkage for C++.
int openPidFd(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

Outcome systemFailure(int error)
{
    return Outcome::failure(QStringLiteral("could not be run (%1)").arg(QString::fromLocal8Bit(std::strerror(error))));
}

// posix_spawn's own objects, released however the start ends.
struct SpawnSetup
{
    posix_spawn_file_actions_t actions{};
    posix_spawnattr_t attributes{};
    sigset_t noSignals{};
    sigset_t defaultSignals{};

    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
        // Only the standard streams go along: close-on-exec does not cover every descriptor a
        // library may have opened, and the launcher may outlive this run by a whole session.
        posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
        // A session of its own, so a terminal closing on this run does not end it; this run's
        // blocked and ignored signals are not its own.
        sigemptyset(&noSignals);
        sigemptyset(&defaultSignals);
        sigaddset(&defaultSignals, SIGPIPE);
        sigaddset(&defaultSignals, SIGCHLD);
        posix_spawnattr_setsigmask(&attributes, &noSignals);
        posix_spawnattr_setsigdefault(&attributes, &defaultSignals);
        posix_spawnattr_setflags(
            &attributes, static_cast<short>(POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
    }
    ~SpawnSetup()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    SpawnSetup(const SpawnSetup &) = delete;
    SpawnSetup &operator=(const SpawnSetup &) = delete;
};
} // namespace

Outcome LaunchDetached(
    const QString &program, const QStringList &arguments, std::chrono::milliseconds settle, LaunchSettled settled)
{
    std::vector<QByteArray> strings{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        strings.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &string : strings)
        argv.push_back(string.data());
    argv.push_back(nullptr);

    // posix_spawn execs in a child that shares this process's memory until then (no copy of
    // it), and reports a failed exec by its errno rather than as an exit status.
    pid_t pid = -1;
    int error = 0;
    {
        const SpawnSetup setup;
        error = posix_spawn(&pid, argv.front(), &setup.actions, &setup.attributes, argv.data(), environ);
    }
    if (error != 0)
        return systemFailure(error);

    // Without a pidfd (an older kernel, no descriptor left) the watch asks after the launcher
    // instead: it is still this run's child, and a zombie until reaped.
    new LaunchWatch(pid, openPidFd(pid), settle, std::move(settled), QCoreApplication::instance());
    return {};
}
