#include "cli/NamesDatabase.h"

#include "store/NameStore.h"
#include "store/NamesLocation.h"

#include <QCoreApplication>

NamesDatabase::NamesDatabase(const QString &database)
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QString installedDataFolder = QStringLiteral(TOVISKA_DATA_FROM_BIN);
    if (database.isEmpty()) {
        const NamesLocation::Folders folders = NamesLocation::forExecutable(executableFolder, installedDataFolder);
        m_applicationFolder = folders.application;
        m_path = NameStore::pathIn(folders.names);
    } else {
        // --db's file: the user's own copy of the shipped names is neither needed nor made.
        m_applicationFolder = NamesLocation::applicationFolder(executableFolder, installedDataFolder);
        m_path = database;
    }
}
