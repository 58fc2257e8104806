#include "app/shared/DesignControls.h"

#include "app/shared/ListPane.h"

#include <QGroupBox>
#include <QPalette>
#include <QPushButton>

namespace {
const auto kFontFamily = QStringLiteral("Arial");
constexpr int kWindowPointSize = 9;
constexpr double kButtonPointSize = 11.25;
const QColor kDesignText(Qt::black);

// The desktop's own disabled text, as read on the design's white. A light scheme's is meant for
// a light ground and is kept as it is; a dark scheme's (light grey, for a dark ground) would fade
// into the white, so its lightness is mirrored: as far from white as it was from black.
QColor disabledTextOnWhite(const QPalette &palette)
{
    const QColor disabled = palette.color(QPalette::Disabled, QPalette::WindowText);
    const bool darkScheme = palette.color(QPalette::Active, QPalette::Window).lightness()
        < palette.color(QPalette::Active, QPalette::WindowText).lightness();
    if (!darkScheme)
        return disabled;
    return QColor::fromHsl(disabled.hslHue(), disabled.hslSaturation(), 255 - disabled.lightness(), disabled.alpha());
}
} // namespace

QFont DesignControls::windowFont()
{
    QFont font(kFontFamily);
    font.setPointSize(kWindowPointSize);
    font.setBold(true);
    return font;
}

QFont DesignControls::buttonFont()
{
    QFont font(kFontFamily);
    font.setPointSizeF(kButtonPointSize);
    font.setBold(true);
    return font;
}

void DesignControls::paintWhite(QWidget *widget)
{
    QPalette palette = widget->palette();
    const QColor disabledText = disabledTextOnWhite(palette);
    palette.setColor(QPalette::Window, Qt::white);
    // What is written on the white (captions, option labels) is dark whatever the desktop's colour
    // scheme: a dark scheme's light text would vanish on it. Window text only: the lists, text
    // boxes and buttons inside take their text and background roles from the system still.
    palette.setColor(QPalette::Active, QPalette::WindowText, kDesignText);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, kDesignText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void DesignControls::setUpWindow(
    QWidget *window, const QString &name, const QString &caption, int widthTwips, int heightTwips)
{
    window->setObjectName(name);
    window->setWindowTitle(caption);
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    window->setFont(windowFont());
    paintWhite(window);
    window->setFixedSize(Twips::toPixels(widthTwips, window), Twips::toPixels(heightTwips, window));
}

QPushButton *DesignControls::button(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height)
{
    auto *made = control<QPushButton>(container, name, left, top, width, height);
    made->setText(caption);
    made->setFont(buttonFont());
    return made;
}

QGroupBox *DesignControls::frame(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height)
{
    auto *made = control<QGroupBox>(container, name, left, top, width, height);
    made->setTitle(caption);
    paintWhite(made);
    return made;
}

OptionButton *DesignControls::option(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height)
{
    auto *made = new OptionButton(caption, container);
    made->setObjectName(name);
    Twips::place(made, left, top, width, height);
    // A button fills with its button colour; an option shows the colour of the window behind it.
    made->setBackgroundRole(QPalette::Window);
    paintWhite(made);
    return made;
}

ListPane *DesignControls::pane(
    QWidget *container, const QString &name, QAbstractItemModel *model, int left, int top, int width, int height)
{
    auto *made = control<ListPane>(container, name, left, top, width, height);
    made->setModel(model);
    return made;
}
