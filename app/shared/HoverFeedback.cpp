#include "app/shared/HoverFeedback.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

HoverFeedback::HoverFeedback(WindowPointer &pointer, QObject *parent)
    : QObject(parent)
    , m_pointer(pointer)
{ }

void HoverFeedback::add(QWidget *control, WindowPointer::Setting setting)
{
    watch(control, setting);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        watch(area->viewport(), setting);
}

bool HoverFeedback::isRegistered(const QWidget *control) const
{
    return m_settings.contains(control);
}

void HoverFeedback::watch(QWidget *widget, WindowPointer::Setting setting)
{
    if (!widget)
        return;
    m_settings.insert(widget, setting);
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    connect(widget, &QObject::destroyed, this, [this](QObject *gone) { m_settings.remove(gone); });
}

bool HoverFeedback::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove) {
        const auto found = m_settings.constFind(watched);
        // A move over a child reaches its container too when the child ignores it; the rule
        // belongs to the control right under the mouse, so the container leaves it alone.
        const auto *mouse = static_cast<const QMouseEvent *>(event);
        if (found != m_settings.constEnd() && !m_pointer.isBusy()
            && !static_cast<QWidget *>(watched)->childAt(mouse->position().toPoint()))
            m_pointer.setValue(found.value());
    }
    return QObject::eventFilter(watched, event);
}
