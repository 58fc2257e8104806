#include "results/WorkbookFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <atomic>

namespace {
const auto kRunPrefix = QStringLiteral("run-");
const auto kLockSuffix = QStringLiteral(".lock");

// The lock that marks a run folder in use sits beside it, so that it can be taken before the
// folder exists and outlive nothing: a folder without a held lock belongs to no running session.
std::unique_ptr<QLockFile> lockFor(const QString &runFolder)
{
    auto lock = std::make_unique<QLockFile>(runFolder + kLockSuffix);
    // Only a run that has ended gives its lock up, however long a session lasts. QLockFile takes
    // over the lock of a process that no longer runs.
    lock->setStaleLockTime(0);
    return lock;
}

// A run-* link is removed as a link: what it points to is not this application's to remove.
void removeRunFolder(const QString &runFolder)
{
    if (QFileInfo(runFolder).isSymLink())
        QFile::remove(runFolder);
    else
        QDir(runFolder).removeRecursively();
}
} // namespace

WorkbookFolder::WorkbookFolder(QString root)
    : m_root(std::move(root))
{ }

WorkbookFolder::~WorkbookFolder() = default;

QString WorkbookFolder::defaultRoot()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath(QStringLiteral("workbooks"));
}

Outcome WorkbookFolder::claim()
{
    if (!QDir().mkpath(m_root))
        return Outcome::failure(QStringLiteral("The folder %1 for workbooks could not be made.").arg(m_root));
    removeEndedRuns();

    // The process id keeps running sessions apart; the number, the folders of one process.
    static std::atomic<int> claimed{0};
    const QString name = kRunPrefix + QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-')
        + QString::number(++claimed);
    const QString runFolder = QDir(m_root).filePath(name);
    // Locked first, made second: another instance never sees the folder without its lock held.
    auto lock = lockFor(runFolder);
    if (!lock->tryLock(0))
        return Outcome::failure(QStringLiteral("The folder %1 for workbooks could not be locked.").arg(runFolder));
    // A folder of that name is left from an ended run whose process had the same id.
    removeRunFolder(runFolder);
    if (!QDir().mkpath(runFolder))
        return Outcome::failure(QStringLiteral("The folder %1 for workbooks could not be made.").arg(runFolder));
    m_path = runFolder;
    m_lock = std::move(lock);
    return {};
}

void WorkbookFolder::removeEndedRuns() const
{
    const QDir root(m_root);
    // Links of every kind too (to a file, dangling: System); the lock files are no run folders.
    const QFileInfoList runs = root.entryInfoList(
        {kRunPrefix + QLatin1Char('*')}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo &run : runs) {
        if (!run.isSymLink() && !run.isDir())
            continue;
        const QString runFolder = run.filePath();
        auto lock = lockFor(runFolder);
        if (!lock->tryLock(0))
            continue; // a running session's
        removeRunFolder(runFolder);
        lock->unlock();
    }
}
