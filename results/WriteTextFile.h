#pragma once

#include "app/shared/Outcome.h"

#include <QByteArray>
#include <QString>

// Writes the whole text, encoded as UTF-8 without a byte-order mark, to the file, replacing
// it in one step: until the write has fully succeeded the old file stays as it was.
Outcome WriteTextFile(const QByteArray &text, const QString &filePath);
