#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QtEndian>

// The bytes of a small valid .cur file: an icon written by Qt, turned into a cursor directory
// (type 2) whose entry carries the hot spot where an icon keeps its planes and bit count.
inline QByteArray cursorFileBytes(int hotX, int hotY)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.fillRect(10, 0, 6, 26, Qt::black);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "ICO"))
        return {};
    qToLittleEndian<quint16>(2, bytes.data() + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(hotX), bytes.data() + 6 + 4);
    qToLittleEndian<quint16>(static_cast<quint16>(hotY), bytes.data() + 6 + 6);
    return bytes;
}
