#include "results/FolderExists.h"

#include <QFileInfo>

bool FolderExists(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    return QFileInfo(path).isDir();
}
