#pragma once

#include <QString>

// Whether the path names an existing directory. Never fails: a missing path, an empty text
// or a name the file system cannot hold all give false.
bool FolderExists(const QString &path);
