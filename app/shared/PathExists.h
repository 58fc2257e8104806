#pragma once

#include <QString>

// Whether the file or folder at the path can be seen; never fails, whatever the path holds.
bool PathExists(const QString &path);
