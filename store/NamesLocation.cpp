#include "store/NamesLocation.h"

#include "store/NameStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <unistd.h>

QString NamesLocation::applicationFolder(const QString &executableFolder, const QString &installedDataFolder)
{
    // Relative to the executable, so a copy installed under any prefix (or DESTDIR) finds it.
    QString installed = installedFolder(executableFolder, installedDataFolder);
    if (!installed.isEmpty() && QFileInfo(NameStore::pathIn(installed)).isFile())
        return installed;
    return executableFolder;
}

QString NamesLocation::installedFolder(const QString &executableFolder, const QString &installedDataFolder)
{
    if (installedDataFolder.isEmpty())
        return {};
    return QDir::cleanPath(QDir(executableFolder).filePath(installedDataFolder));
}

QString NamesLocation::namesFolder(
    const QString &applicationFolder, const QString &installedFolder, const QString &userFolder)
{
    const bool installed
        = !installedFolder.isEmpty() && QDir::cleanPath(applicationFolder) == QDir::cleanPath(installedFolder);
    if (userFolder.isEmpty() || !installed)
        return applicationFolder;
    // Nothing to report here: a failed copy shows as a missing names.mdb at its first use.
    (void)copyShipped(applicationFolder, userFolder);
    return userFolder;
}

NamesLocation::Folders NamesLocation::forExecutable(const QString &executableFolder, const QString &installedDataFolder)
{
    const QString application = applicationFolder(executableFolder, installedDataFolder);
    return {application,
        namesFolder(application, installedFolder(executableFolder, installedDataFolder), userDataFolder())};
}

Outcome NamesLocation::copyShipped(const QString &applicationFolder, const QString &userFolder)
{
    const QString target = NameStore::pathIn(userFolder);
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return {};
    const auto failed = [&target](const QString &why) {
        return Outcome::failure(
            QStringLiteral("Your copy of the names database %1 could not be made: %2").arg(target, why));
    };

    QFile shipped(NameStore::pathIn(applicationFolder));
    if (!shipped.open(QIODevice::ReadOnly))
        return failed(shipped.errorString());
    if (!QDir().mkpath(userFolder))
        return failed(QStringLiteral("the folder %1 could not be created").arg(userFolder));

    // Removed by its destructor unless the rename below has taken it (on Linux it has no name
    // at all until then).
    QTemporaryFile copy(QDir(userFolder).filePath(QStringLiteral("names.mdb.XXXXXX")));
    if (!copy.open())
        return failed(copy.errorString());
    char buffer[64 * 1024];
    for (;;) {
        const qint64 read = shipped.read(buffer, sizeof buffer);
        if (read < 0)
            return failed(shipped.errorString());
        if (read == 0)
            break;
        if (copy.write(buffer, read) != read)
            return failed(copy.errorString());
    }
    if (!copy.flush() || ::fsync(copy.handle()) != 0)
        return failed(copy.errorString());
    // rename() refuses an existing target: a copy made meanwhile by another start is kept.
    if (!copy.rename(target))
        return QFileInfo::exists(target) ? Outcome() : failed(copy.errorString());
    copy.setAutoRemove(false);
    return {};
}

QString NamesLocation::userDataFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    return QDir(data).filePath(QStringLiteral("Quillmark/Toviska"));
}
