#pragma once

#include "fuzz/FuzzCheck.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Writes an input to the file name in one scratch folder for the whole run (under TMPDIR,
// removed at exit), for a target whose function reads a file; returns the file's path.
inline QString writtenToScratch(const QString &name, const QByteArray &bytes)
{
    static const QTemporaryDir dir;
    fuzzCheck(dir.isValid(), "a scratch folder can be made");
    const QString path = dir.filePath(name);
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
        "the input can be written to a file");
    return path;
}
