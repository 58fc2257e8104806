#include "cli/OutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The temporary file's name for the signal handler, which may only use what is async-signal-safe.
char g_temporary[4096];

void removeTemporaryAndDie(int signal)
{
    if (g_temporary[0] != '\0')
        ::unlink(g_temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void watchSignals(const QByteArray &temporary)
{
    if (static_cast<std::size_t>(temporary.size()) >= sizeof g_temporary)
        return;
    std::memcpy(g_temporary, temporary.constData(), static_cast<std::size_t>(temporary.size()) + 1);
    struct sigaction action = {};
    action.sa_handler = &removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

void forgetTemporary()
{
    g_temporary[0] = '\0';
}

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

OutputFile::~OutputFile()
{
    discard();
}

Outcome OutputFile::open(const QString &path)
{
    m_buffer = std::make_unique<char[]>(Capacity);
    // A pipe closed by its reader shows as EPIPE from write(), ended quietly, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    if (path.isEmpty() || path == QStringLiteral("-")) {
        m_fd = STDOUT_FILENO;
        return {};
    }
    m_path = path;
    const QFileInfo target(path);
    if (target.isDir())
        return Outcome::failure(QStringLiteral("%1: Is a directory").arg(path));
    QByteArray pattern = QFile::encodeName(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    // Ctrl+C between creating the file and watching for it would leave it behind: the signals
    // wait until the handler knows its name.
    sigset_t interrupts;
    sigemptyset(&interrupts);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&interrupts, signal);
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &interrupts, &previous);
    m_fd = ::mkstemp(pattern.data());
    const int error = errno;
    if (m_fd >= 0)
        watchSignals(pattern);
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (m_fd < 0)
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, errorText(error)));
    m_temporaryPath = QFile::decodeName(pattern);
    // mkstemp makes it 0600; a new output file gets the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return {};
}

void OutputFile::writeOut(const char *data, std::size_t size)
{
    while (size > 0 && !stopped()) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE && m_temporaryPath.isEmpty())
                m_pipeClosed = true;
            else {
                m_failed = true;
                m_errno = errno;
            }
            return;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void OutputFile::flush()
{
    if (m_used > 0)
        writeOut(m_buffer.get(), m_used);
    m_used = 0;
}

Outcome OutputFile::commit()
{
    flush();
    const QString where = m_path.isEmpty() ? QStringLiteral("standard output") : m_path;
    if (m_failed) {
        discard();
        return Outcome::failure(QStringLiteral("%1: %2").arg(where, errorText(m_errno)));
    }
    if (m_temporaryPath.isEmpty())
        return {};
    if (::fdatasync(m_fd) != 0 || ::close(m_fd) != 0) {
        const int error = errno;
        m_fd = -1;
        discard();
        return Outcome::failure(QStringLiteral("%1: %2").arg(where, errorText(error)));
    }
    m_fd = -1;
    if (::rename(QFile::encodeName(m_temporaryPath).constData(), QFile::encodeName(m_path).constData()) != 0) {
        const int error = errno;
        discard();
        return Outcome::failure(QStringLiteral("%1: %2").arg(where, errorText(error)));
    }
    forgetTemporary();
    m_temporaryPath.clear();
    return {};
}

void OutputFile::discard()
{
    if (m_temporaryPath.isEmpty())
        return;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_temporaryPath).constData());
    forgetTemporary();
    m_temporaryPath.clear();
}
