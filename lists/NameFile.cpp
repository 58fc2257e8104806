#include "lists/NameFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstring>

namespace {
// Each piece of text between line ends, with its place and its line number (from 1).
// CR and LF bytes never occur inside a multi-byte UTF-8 sequence, so splitting the bytes
// before decoding them is safe.
template <typename Visit> void forEachLine(const QByteArray &bytes, qsizetype start, Visit &&visit)
{
    const qsizetype size = bytes.size();
    const char *data = bytes.constData();
    qsizetype position = start;
    qsizetype lineNumber = 1;
    while (position < size) {
        qsizetype lineEnd = bytes.indexOf('\r', position);
        if (lineEnd < 0)
            lineEnd = size;
        qsizetype pieceStart = position;
        bool hadLineFeed = false;
        for (;;) {
            const auto *found = static_cast<const char *>(
                std::memchr(data + pieceStart, '\n', static_cast<size_t>(lineEnd - pieceStart)));
            if (found == nullptr)
                break;
            const qsizetype lineFeed = found - data;
            visit(QByteArrayView(data + pieceStart, lineFeed - pieceStart), NameFile::Place::BeforeLineFeed,
                lineNumber++);
            pieceStart = lineFeed + 1;
            hadLineFeed = true;
        }
        visit(QByteArrayView(data + pieceStart, lineEnd - pieceStart),
            hadLineFeed ? NameFile::Place::AfterLineFeed : NameFile::Place::WholeLine, lineNumber++);
        position = lineEnd + 1; // past the CR
        if (position < size && data[position] == '\n')
            ++position; // CR LF is one line end
    }
}

QStringDecoder lineDecoder()
{
    // Stateless: every line stands alone, and a sequence cut short at its end is an error.
    // ConvertInitialBom: only the file's own byte-order mark is dropped, not one starting a line.
    return QStringDecoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
}
} // namespace

Outcome NameFile::read(const QString &path)
{
    m_path = path;
    m_bytes.clear();
    m_start = 0;
    // A directory or a pipe is no name file; opening a pipe would also wait for a writer.
    if (!QFileInfo(path).isFile()) {
        return Outcome::failure(
            QStringLiteral("The name file \"%1\" could not be read: it is not a regular file.").arg(displayPath()));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Outcome::failure(
            QStringLiteral("The name file \"%1\" could not be opened: %2.").arg(displayPath(), file.errorString()));
    }
    if (file.size() > MaxBytes) {
        return Outcome::failure(QStringLiteral("The name file \"%1\" is larger than %2 MB, the most a name file may "
                                               "hold; nothing of it was loaded.")
                                    .arg(displayPath())
                                    .arg(MaxBytes / (1024 * 1024)));
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Outcome::failure(QStringLiteral("The name file \"%1\" could not be read: %2; nothing of it was loaded.")
                                    .arg(displayPath(), file.errorString()));
    }
    m_bytes = std::move(bytes);
    if (m_bytes.startsWith("\xEF\xBB\xBF"))
        m_start = 3;
    return {};
}

Outcome NameFile::validate() const
{
    qsizetype badLine = 0;
    QString reason;
    forEachLine(m_bytes, m_start, [&](QByteArrayView line, Place, qsizetype lineNumber) {
        if (badLine != 0)
            return;
        if (line.contains('\0')) {
            badLine = lineNumber;
            reason = QStringLiteral("a NUL character");
            return;
        }
        // Checked in place: a million lines need no million strings to be found sound.
        if (!QUtf8StringView(line).isValidUtf8()) {
            badLine = lineNumber;
            reason = QStringLiteral("bytes that are not UTF-8");
        }
    });
    if (badLine == 0)
        return {};
    return Outcome::failure(
        QStringLiteral("The name file \"%1\" is not UTF-8 text: line %2 holds %3. Nothing of it was loaded.")
            .arg(displayPath())
            .arg(badLine)
            .arg(reason));
}

void NameFile::forEachName(const NameVisitor &visit) const
{
    QStringDecoder decoder = lineDecoder();
    // One buffer for every name: decoded into it in place, it is reallocated only when the
    // visitor has kept a copy of the last name.
    QString name;
    forEachLine(m_bytes, m_start, [&](QByteArrayView line, Place place, qsizetype) {
        if (line.isEmpty())
            return;
        name.resize(decoder.requiredSpace(line.size()));
        const QChar *end = decoder.appendToBuffer(name.data(), line);
        name.truncate(end - name.constData());
        name.remove(QLatin1Char('\''));
        if (!name.isEmpty())
            visit(name, place);
    });
}

QStringList NameFile::names() const
{
    QStringList result;
    forEachName([&result](const QString &name, Place) { result.append(name); });
    return result;
}

QString NameFile::displayPath() const
{
    return QDir::toNativeSeparators(QDir::cleanPath(m_path));
}
