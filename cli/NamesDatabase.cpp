#include "cli/NamesDatabase.h"

#include "store/NameStore.h"
#include "store/NamesLocation.h"

#include <QCoreApplication>

NamesDatabase::NamesDatabase(const QString &database)
    : m_applicationFolder(
        NamesLocation::applicationFolder(QCoreApplication::applicationDirPath(), QStringLiteral(TOVISKA_DATA_FROM_BIN)))
{
    if (!database.isEmpty()) {
        m_path = database;
        return;
    }
    m_path = NameStore::pathIn(NamesLocation::namesFolder(m_applicationFolder,
        NamesLocation::installedFolder(QCoreApplication::applicationDirPath(), QStringLiteral(TOVISKA_DATA_FROM_BIN)),
        NamesLocation::userDataFolder()));
}
