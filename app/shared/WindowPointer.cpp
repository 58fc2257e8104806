#include "app/shared/WindowPointer.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace {
struct HotSpot
{
    int x = -1; // -1 lets QCursor take the image's centre
    int y = -1;
};

// A .cur file is an icon directory of type 2 whose entries carry the hot spot where an
// icon keeps its planes and bit count; Qt's reader drops it, so it is read here.
HotSpot cursorHotSpot(const QByteArray &bytes)
{
    constexpr int kDirectorySize = 6;
    constexpr int kEntrySize = 16;
    if (bytes.size() < kDirectorySize + kEntrySize)
        return {};
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const quint16 reserved = qFromLittleEndian<quint16>(data);
    const quint16 type = qFromLittleEndian<quint16>(data + 2);
    const quint16 count = qFromLittleEndian<quint16>(data + 4);
    if (reserved != 0 || type != 2 || count == 0)
        return {};
    const uchar *entry = data + kDirectorySize;
    return {qFromLittleEndian<quint16>(entry + 4), qFromLittleEndian<quint16>(entry + 6)};
}
} // namespace

WindowPointer::WindowPointer(QWidget *window)
    : m_window(window)
{ }

void WindowPointer::setValue(Setting value)
{
    m_value = value;
    apply();
}

Outcome WindowPointer::loadCustomImage(const QString &path)
{
    m_custom.reset();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::failure(QStringLiteral("Cannot open the pointer file %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    file.close();

    const HotSpot hotSpot = cursorHotSpot(bytes);
    QImage image;
    // The icon reader takes cursor files too once told the format; anything else by its content.
    if (!image.loadFromData(bytes, "ICO") && !image.loadFromData(bytes))
        return Outcome::failure(QStringLiteral("Invalid picture: %1").arg(path));
    const int hotX = hotSpot.x < image.width() ? hotSpot.x : -1;
    const int hotY = hotSpot.y < image.height() ? hotSpot.y : -1;
    m_custom = QCursor(QPixmap::fromImage(image), hotX, hotY);
    apply();
    return {};
}

QCursor WindowPointer::customCursor() const
{
    return m_custom.value_or(QCursor(Qt::ArrowCursor));
}

void WindowPointer::apply()
{
    if (!m_window)
        return;
    switch (m_value) {
    case Setting::Normal:
        m_window->unsetCursor();
        break;
    case Setting::Busy:
        m_window->setCursor(Qt::WaitCursor);
        break;
    case Setting::Custom:
        m_window->setCursor(customCursor());
        break;
    }
}
