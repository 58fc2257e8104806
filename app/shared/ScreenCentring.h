#pragma once

#include <QObject>

class QWidget;

// Centres a window on its screen, title bar and borders included. Until the window manager has
// framed the window its frame is unknown: the window is centred without it, and once more, only
// once, as soon as the frame is known. A screen without a window manager never adds one.
class ScreenCentring : public QObject
{
    Q_OBJECT

public:
    // Centres the window now and watches it (the window owns the watcher).
    static void centre(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ScreenCentring(QWidget *window);
    static void centreFrame(QWidget *window);
};
