#include "cli/OutputFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace {
// The named temporary file for the signal handler, which may only use what is async-signal-safe.
char g_temporary[PATH_MAX];

constexpr int kWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void removeTemporaryAndDie(int signal)
{
    if (g_temporary[0] != '\0')
        ::unlink(g_temporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Holds the watched signals off between creating a named file and recording its name.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        for (const int signal : kWatchedSignals)
            sigaddset(&held, signal);
        sigprocmask(SIG_BLOCK, &held, &m_previous);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &m_previous, nullptr); }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

void watchSignals(const QByteArray &temporary)
{
    if (static_cast<std::size_t>(temporary.size()) >= sizeof g_temporary)
        return;
    std::memcpy(g_temporary, temporary.constData(), static_cast<std::size_t>(temporary.size()) + 1);
    struct sigaction action = {};
    action.sa_handler = &removeTemporaryAndDie;
    sigemptyset(&action.sa_mask);
    for (const int signal : kWatchedSignals)
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

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The file a path leads to once its symbolic links are followed; the last link's target when
// that is not there yet, so that the link stays and its target is made.
QByteArray followLinks(QByteArray path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status = {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return path;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (length < 0 || length >= target.size())
            return path;
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return path; // a loop of links: opening the folder reports it
}

QByteArray descriptorPath(int fd)
{
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
}

bool isNumber(QByteArrayView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The descriptor of this process that a path names (/dev/stdout, /dev/fd/N, /proc/self/fd/N,
// through any links), or -1. Opening such a path opens the file behind the descriptor afresh,
// at its start and without O_APPEND, and replacing it takes the file from the caller.
int descriptorNamed(QByteArray path)
{
    const QByteArray own = QByteArrayLiteral("/proc/") + QByteArray::number(::getpid());
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
        char resolved[PATH_MAX];
        if (isNumber(name) && name.size() < 10 && ::realpath(folderOf(path).constData(), resolved)) {
            // /proc/self and /proc/thread-self resolve to this process's own numbers.
            const QByteArrayView folder(resolved);
            if (folder == own + "/fd" || (folder.startsWith(own + "/task/") && folder.endsWith("/fd")))
                return name.toInt();
        }
        // Checked before following: a descriptor's own link leads past the descriptor.
        struct stat status = {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
            return -1;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), static_cast<std::size_t>(target.size()));
        if (length < 0 || length >= target.size())
            return -1;
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return -1;
}
} // namespace

OutputFile::~OutputFile()
{
    discard();
}

Outcome OutputFile::failure(int error) const
{
    return Outcome::failure(QStringLiteral("%1: %2").arg(m_path, errorText(error)));
}

Outcome OutputFile::open(const QString &path)
{
    // Not zeroed: a short run touches, and pays for, only the pages it fills.
    m_buffer = std::make_unique_for_overwrite<char[]>(Capacity);
    // A pipe closed by its reader shows as EPIPE from write(), ended quietly, not as a signal.
    std::signal(SIGPIPE, SIG_IGN);
    if (path.isEmpty()) {
        m_kind = Kind::StandardOutput;
        m_fd = STDOUT_FILENO;
        return {};
    }
    m_path = path;
    const QByteArray encoded = QFile::encodeName(path);
    if (const int given = descriptorNamed(encoded); given >= 0) {
        if (::fcntl(given, F_GETFL) < 0)
            return failure(errno);
        m_kind = Kind::Descriptor;
        m_fd = given;
        return {};
    }
    // Opened first, then looked at: a path swapped in between cannot make a FIFO's or a device's
    // writing land in a regular file. O_PATH neither waits for a FIFO's reader nor needs the
    // file's permissions, which replacing it does not need either.
    const int found = ::open(encoded.constData(), O_PATH | O_CLOEXEC);
    if (found >= 0) {
        struct stat status = {};
        const int looked = ::fstat(found, &status) == 0 ? 0 : errno;
        if (looked != 0 || !S_ISREG(status.st_mode)) {
            const int error = looked != 0 ? looked : (S_ISDIR(status.st_mode) ? EISDIR : 0);
            if (error == 0) {
                // A device or a FIFO cannot be replaced, and must not be: /dev/null stays a
                // device. Reopened through the descriptor, so what is written is what was seen.
                m_kind = Kind::Direct;
                m_fd = ::open(descriptorPath(found).constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            }
            const int opened = m_fd < 0 ? errno : 0;
            ::close(found);
            if (error != 0)
                return failure(error);
            return opened != 0 ? failure(opened) : Outcome();
        }
        m_old = status;
        m_hadOld = true;
        ::close(found);
    }
    m_kind = Kind::Replace;
    m_target = followLinks(encoded);
    if (!m_hadOld)
        m_hadOld = ::stat(m_target.constData(), &m_old) == 0;
    return openReplacement();
}

bool OutputFile::namesDescriptor(const QString &path)
{
    return descriptorNamed(QFile::encodeName(path)) >= 0;
}

bool OutputFile::isStream(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (descriptorNamed(encoded) >= 0)
        return true;
    struct stat status = {};
    return ::stat(encoded.constData(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

Outcome OutputFile::replacementFailure(int error) const
{
    if ((error == EACCES || error == EPERM) && m_hadOld
        && ::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) == 0) {
        return Outcome::failure(QStringLiteral("%1: %2 in its folder %3: the file is writable, but it is replaced "
                                               "by a new file made beside it, never written in place")
                                    .arg(m_path, errorText(error), QFile::decodeName(folderOf(m_target))));
    }
    return failure(error);
}

Outcome OutputFile::openReplacement()
{
    const QByteArray folder = folderOf(m_target);
    // Created with the usual permissions (0666 less the umask); an older file's are put back at commit.
    m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd >= 0)
        return {};
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return replacementFailure(errno);
    // No unnamed files here: a named one, removed on the signals that can be caught.
    const qsizetype slash = m_target.lastIndexOf('/');
    QByteArray pattern = folder + "/." + m_target.mid(slash + 1) + ".XXXXXX";
    int error = 0;
    {
        const SignalsHeld held;
        m_fd = ::mkstemp(pattern.data());
        error = errno;
        if (m_fd >= 0) {
            ::fcntl(m_fd, F_SETFD, FD_CLOEXEC);
            m_temporary = pattern;
            watchSignals(pattern);
        }
    }
    if (m_fd < 0)
        return replacementFailure(error);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_fd, 0666 & ~mask);
    return {};
}

QString OutputFile::writablePath() const
{
    return QFile::decodeName(descriptorPath(m_fd));
}

QString OutputFile::scratchFolder() const
{
    return QFile::decodeName(m_kind == Kind::Replace ? folderOf(m_target) : QByteArrayLiteral("/tmp"));
}

void OutputFile::writeOut(const char *data, std::size_t size)
{
    while (size > 0 && !stopped()) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE && m_kind != Kind::Replace)
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

bool OutputFile::nameUnnamedFile()
{
    const qsizetype slash = m_target.lastIndexOf('/');
    const QByteArray stem = folderOf(m_target) + "/." + m_target.mid(slash + 1) + '.';
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = stem + QByteArray::number(device(), 36);
        const SignalsHeld held;
        if (::linkat(AT_FDCWD, descriptorPath(m_fd).constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
            m_temporary = name;
            watchSignals(name);
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

Outcome OutputFile::commit()
{
    flush();
    const QString where = m_kind == Kind::StandardOutput ? QStringLiteral("standard output") : m_path;
    if (m_failed) {
        discard();
        return Outcome::failure(QStringLiteral("%1: %2").arg(where, errorText(m_errno)));
    }
    if (m_kind != Kind::Replace)
        return {};
    if (m_hadOld) {
        // The owner first: changing it clears the set-user-ID bit that the mode then restores.
        if ((m_old.st_uid != ::geteuid() || m_old.st_gid != ::getegid())
            && ::fchown(m_fd, m_old.st_uid, m_old.st_gid) != 0)
            (void)!::fchown(m_fd, static_cast<uid_t>(-1), m_old.st_gid);
        ::fchmod(m_fd, m_old.st_mode & 07777);
    }
    if (::fdatasync(m_fd) != 0 || (m_temporary.isEmpty() && !nameUnnamedFile())) {
        const int error = errno;
        discard();
        return failure(error);
    }
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        const int error = errno;
        discard();
        return failure(error);
    }
    forgetTemporary();
    m_temporary.clear();
    const int closed = ::close(m_fd) == 0 ? 0 : errno;
    m_fd = -1;
    // The new name lives in the folder: until the folder is on disk, a crash can lose it and
    // the old file with it. A file system that cannot sync a folder says EINVAL.
    const int folder = ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int synced = folder < 0 ? errno : (::fsync(folder) == 0 || errno == EINVAL ? 0 : errno);
    if (folder >= 0)
        ::close(folder);
    const int error = closed != 0 ? closed : synced;
    return error == 0 ? Outcome() : failure(error);
}

void OutputFile::discard()
{
    // A descriptor the process was given stays open for whoever writes to it next.
    if (m_kind == Kind::StandardOutput || m_kind == Kind::Descriptor || m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        forgetTemporary();
        m_temporary.clear();
    }
}
