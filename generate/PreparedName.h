#pragma once

#include <QString>

// A pane entry as it goes into a generated name: its spaces removed, then proper-cased. The
// window's generator and the command line prepare every name this one way, so both write the
// same names.
QString PreparedName(const QString &entry);
