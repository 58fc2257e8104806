#include "results/WriteTextFile.h"

#include <QSaveFile>

Outcome WriteTextFile(const QByteArray &text, const QString &filePath)
{
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, reason));
    }
    if (!file.commit())
        return Outcome::failure(QStringLiteral("Cannot write %1: %2").arg(filePath, file.errorString()));
    return {};
}
