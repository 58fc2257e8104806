#pragma once

#include "app/shared/Outcome.h"

#include <QCursor>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

// A window's one pointer setting over itself and its controls.
class WindowPointer
{
public:
    enum class Setting {
        Normal = 0,
        Busy = 11, // the hourglass of a long operation
        Custom = 99, // the window's custom image; the standard pointer when it has none
    };

    explicit WindowPointer(QWidget *window);

    Setting value() const { return m_value; }
    void setValue(Setting value);
    bool isBusy() const { return m_value == Setting::Busy; }

    // Loads the custom image from a cursor (.cur/.ico) or any image file Qt reads. When the
    // file cannot be read the window keeps no custom image, so Custom shows the standard pointer.
    Outcome loadCustomImage(const QString &path);
    bool hasCustomImage() const { return m_custom.has_value(); }
    // The pointer Custom shows.
    QCursor customCursor() const;

private:
    void apply();

    QPointer<QWidget> m_window;
    Setting m_value = Setting::Normal;
    std::optional<QCursor> m_custom;
};
