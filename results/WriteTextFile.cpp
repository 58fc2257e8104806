#include "results/WriteTextFile.h"

#include <QSaveFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

Outcome WriteTextFile(const QByteArray &text, const QString &filePath)
{
    return WriteTextFile([&text](const auto &write) { return write(QByteArrayView(text)); }, filePath);
}

Outcome WriteTextFile(const TextBlocks &blocks, const QString &filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    qint64 done = 0;
    const bool written = blocks([&file, &done](QByteArrayView block) {
        if (file.write(block.data(), block.size()) != block.size() || !file.flush())
            return false;
#ifdef Q_OS_LINUX
        // The disk starts on each block while the next is made: the commit, which waits until
        // the whole file is on disk, then waits for the last blocks alone.
        ::sync_file_range(file.handle(), done, block.size(), SYNC_FILE_RANGE_WRITE);
#endif
        done += block.size();
        return true;
    });
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, reason));
    }
    if (!file.commit())
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    return {};
}
