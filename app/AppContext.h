#pragma once

#include <QString>
#include <QtGlobal>

class Prompts;
class RandomSource;
class SettingsStore;

// The collaborators the windows share, handed to each window's constructor.
struct AppContext
{
    Prompts &prompts;
    SettingsStore &settings;
    RandomSource &random;
    // Holds the shipped names.mdb and the optional HAND-M.CUR and x/o.cjs.
    QString appFolder;
    // The default output folder: the user's desktop folder, or their home folder where there is
    // none; without a trailing separator; empty when neither exists.
    QString desktopFolder;
    // Holds the names.mdb this user works with; empty: the one in appFolder.
    QString namesFolder = {};
    // Where this run's workbooks go (see WorkbookFolder); the temporary folder when empty.
    QString workbookFolder = {};
};
