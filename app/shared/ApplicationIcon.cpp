#include "app/shared/ApplicationIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {
// Drawn rather than shipped as a file: nothing beside the executable to lose.
QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xb2, 0x22, 0x22));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(size * 5 / 8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("T"));
    return pixmap;
}
} // namespace

QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(iconPixmap(size));
    return icon;
}
