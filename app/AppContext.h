#pragma once

#include <QString>

class Prompts;
class RandomSource;
class SettingsStore;

// The collaborators the windows share, handed to each window's constructor.
struct AppContext
{
    Prompts &prompts;
    SettingsStore &settings;
    RandomSource &random;
    // Holds names.mdb and the optional HAND-M.CUR and x/o.cjs.
    QString appFolder;
    // The user's desktop folder, without a trailing separator; empty when unknown.
    QString desktopFolder;
    // Where this run's workbooks go (see WorkbookFolder); the temporary folder when empty.
    QString workbookFolder{};
};
