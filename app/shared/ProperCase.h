#pragma once

#include <QString>

// The first letter of each white-space-separated word in upper case, every other letter lower case.
QString ProperCase(const QString &text);
