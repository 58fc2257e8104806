#pragma once

#include "app/shared/Outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// A name file, read whole before anything of it is stored: one name per line, a line
// ending at CR LF, CR or LF. A leading UTF-8 byte-order mark is not part of the first
// name; every apostrophe is removed; lines left empty are skipped; nothing is trimmed.
class NameFile
{
public:
    // Where a name stood: a line read up to CR LF or CR, split further at each LF inside it.
    // The refused-insert report names a different step for each place.
    enum class Place {
        BeforeLineFeed, // a part ended by an LF
        AfterLineFeed, // what follows the last LF of such a line
        WholeLine, // a line without an LF
    };

    // Larger files are refused: the whole file is held in memory while it is loaded.
    static constexpr qint64 MaxBytes = 256LL * 1024 * 1024;

    // Reads the whole file. On failure (no regular file, cannot be opened or read, too
    // large) nothing of it is kept.
    Outcome read(const QString &path);
    // Refuses the file as a whole unless every line is UTF-8 text without NUL characters.
    Outcome validate() const;

    using NameVisitor = std::function<void(const QString &name, Place place)>;
    // Each name in file order.
    void forEachName(const NameVisitor &visit) const;
    QStringList names() const;

    // The path as the messages show it.
    QString displayPath() const;

private:
    QString m_path;
    QByteArray m_bytes;
    qsizetype m_start = 0; // after a byte-order mark
};
