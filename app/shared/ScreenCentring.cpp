#include "app/shared/ScreenCentring.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

ScreenCentring::ScreenCentring(QWidget *window)
    : QObject(window)
{ }

void ScreenCentring::centre(QWidget *window)
{
    centreFrame(window);
    window->installEventFilter(new ScreenCentring(window));
}

void ScreenCentring::centreFrame(QWidget *window)
{
    const QScreen *shownOn = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!shownOn)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(shownOn->availableGeometry().center());
    // A top-level window's position is that of its frame.
    window->move(frame.topLeft());
}

bool ScreenCentring::eventFilter(QObject *watched, QEvent *event)
{
    // The window manager moves the window into its new frame as it first maps it.
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        auto *window = static_cast<QWidget *>(watched);
        if (window->isVisible() && window->frameGeometry() != window->geometry()) {
            window->removeEventFilter(this);
            deleteLater();
            centreFrame(window);
        }
    }
    return QObject::eventFilter(watched, event);
}
