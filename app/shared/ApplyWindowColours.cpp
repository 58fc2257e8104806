#include "app/shared/ApplyWindowColours.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace {
void paintButtonFace(QWidget *widget, const QColor &face)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, face);
    // The text that goes with the face is the desktop's too, not the dark one of the white design.
    const QPalette system = QGuiApplication::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::WindowText, system.color(group, QPalette::WindowText));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
} // namespace

void ApplyWindowColours(QWidget *window)
{
    if (!window)
        return;
    // The desktop's button face is the application palette's; a style's standard palette is
    // only its built-in default and ignores the user's colour scheme.
    const QColor face = QGuiApplication::palette().color(QPalette::Button);
    paintButtonFace(window, face);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (qobject_cast<QRadioButton *>(child) || qobject_cast<QCheckBox *>(child) || qobject_cast<QGroupBox *>(child)
            || qobject_cast<QLabel *>(child))
            paintButtonFace(child, face);
    }
}
