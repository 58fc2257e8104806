#pragma once

#include <QString>

// Collapses doubled path separators ("/" here) in one left-to-right scan, so three in a row
// become two. A path that starts with two or more separators keeps exactly two of them
// (a network path); one leading separator (an absolute path) stays one.
QString CollapseBackslashes(const QString &path);
