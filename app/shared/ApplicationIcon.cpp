#include "app/shared/ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {
// The same drawing as the icon the desktop shows for the installed application, built into
// the executable so a build tree or a portable copy has it too.
const auto kIconResource = QStringLiteral(":/icons/net.quillmark.Toviska.svg");

QPixmap iconPixmap(QSvgRenderer &renderer, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
} // namespace

QIcon ApplicationIcon()
{
    // Rendered here rather than left to QIcon, whose SVG support is a plug-in that may be
    // missing at run time.
    QSvgRenderer renderer(kIconResource);
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(iconPixmap(renderer, size));
    return icon;
}
