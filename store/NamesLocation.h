#pragma once

#include "app/shared/Outcome.h"

#include <QString>

// Where names.mdb and the optional files beside it are found, decided once at start-up.
//
// A build tree or a portable copy keeps everything beside the executable. An installed copy
// keeps its shipped files in a data folder (<prefix>/share/toviska) that its users cannot
// write, so each user works on a copy of the shipped names.mdb in their own data folder.
class NamesLocation
{
public:
    // The application folder of an executable in executableFolder: the installed data folder
    // (installedDataFolder, relative to the executable's folder) when it holds names.mdb,
    // otherwise the executable's own folder.
    static QString applicationFolder(const QString &executableFolder, const QString &installedDataFolder);

    // The installed data folder of an executable in executableFolder, whether or not it exists.
    static QString installedFolder(const QString &executableFolder, const QString &installedDataFolder);

    // The folder of the names.mdb this user reads and writes. An application folder that is
    // the installed data folder (installedFolder()) always means the user's copy in userFolder,
    // made from the shipped one when there is none yet, even for a user who could write the
    // shipped file (root): a package upgrade replaces it, and every new user's copy starts from
    // it. Any other application folder (a build tree, a portable copy) keeps its own. A copy
    // that fails leaves no file, so every later open reports the names database missing, as
    // for a missing shipped one. An empty userFolder (no home) falls back to the application
    // folder.
    static QString namesFolder(
        const QString &applicationFolder, const QString &installedFolder, const QString &userFolder);

    // The application folder and the names folder of an executable in executableFolder, with the
    // user's own data folder: what the window and the command line both work on.
    struct Folders
    {
        QString application;
        QString names;
    };
    static Folders forExecutable(const QString &executableFolder, const QString &installedDataFolder);

    // Copies the application folder's names.mdb into userFolder unless a copy is already there,
    // which holds the user's names and is never replaced. Through a temporary file and a rename
    // that never overwrites, so a failure half-way leaves nothing behind.
    static Outcome copyShipped(const QString &applicationFolder, const QString &userFolder);

    // Quillmark/Toviska in the user's data folder ($XDG_DATA_HOME, by default ~/.local/share);
    // empty when there is none.
    static QString userDataFolder();
};
