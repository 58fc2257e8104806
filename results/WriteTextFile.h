#pragma once

#include "app/shared/Outcome.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Hands the blocks of a text, in order, to write, stopping at the first it refuses; false then.
using TextBlocks = std::function<bool(const std::function<bool(QByteArrayView block)> &write)>;

// Writes the whole text, encoded as UTF-8 without a byte-order mark, to the file, replacing
// it in one step: until the write has fully succeeded the old file stays as it was.
Outcome WriteTextFile(const QByteArray &text, const QString &filePath);
// The same for a text that comes in blocks, never whole in memory.
Outcome WriteTextFile(const TextBlocks &blocks, const QString &filePath);
