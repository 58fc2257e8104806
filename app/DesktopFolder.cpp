#include "app/DesktopFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString existingFolder(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return {};
    return QDir::cleanPath(path);
}
} // namespace

QString DesktopFolder()
{
    const QString desktop = existingFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    if (!desktop.isEmpty())
        return desktop;
    return existingFolder(QStandardPaths::writableLocation(QStandardPaths::HomeLocation));
}
