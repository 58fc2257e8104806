#include "results/WriteTextFile.h"

#include <QSaveFile>

Outcome WriteTextFile(const QByteArray &text, const QString &filePath)
{
    return WriteTextFile([&text](const auto &write) { return write(QByteArrayView(text)); }, filePath);
}

Outcome WriteTextFile(const TextBlocks &blocks, const QString &filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    const bool written = blocks(
        [&file](QByteArrayView block) { return file.write(block.data(), block.size()) == block.size(); });
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, reason));
    }
    if (!file.commit())
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    return {};
}
