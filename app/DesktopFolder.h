#pragma once

#include <QString>

// The folder the results go to until the user chooses another: the user's desktop folder, or
// their home folder where there is no desktop folder (Qt names ~/Desktop on many set-ups that
// have none). Empty when neither exists. No trailing separator.
QString DesktopFolder();
