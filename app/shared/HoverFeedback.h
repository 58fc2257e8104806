#pragma once

#include "app/shared/WindowPointer.h"

#include <QHash>
#include <QObject>

// The hover rule of a window: a mouse move over a registered control sets the window's pointer
// to that control's setting, unless the window is busy. Unregistered controls leave it alone.
class HoverFeedback : public QObject
{
    Q_OBJECT

public:
    explicit HoverFeedback(WindowPointer &pointer, QObject *parent = nullptr);

    // Turns on mouse tracking for the control (and its viewport, for a scroll area). Moves over
    // a child of a registered control, registered or not, are the child's matter.
    void add(QWidget *control, WindowPointer::Setting setting);
    bool isRegistered(const QWidget *control) const;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watch(QWidget *widget, WindowPointer::Setting setting);

    WindowPointer &m_pointer;
    QHash<const QObject *, WindowPointer::Setting> m_settings;
};
