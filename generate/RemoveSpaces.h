#pragma once

#include <QString>

// The text without its space characters (U+0020); every other character stays.
QString RemoveSpaces(const QString &text);
