#pragma once

#include "app/shared/OptionButton.h"
#include "app/shared/Twips.h"

#include <QFont>
#include <QString>
#include <initializer_list>
#include <utility>

class ListPane;
class QAbstractItemModel;
class QGroupBox;
class QPushButton;
class QWidget;

// The controls of the windows as their design draws them: each maker names the control after
// its design name, places it in twips inside its container and gives it the design's look, so
// that a window's layout reads as its design table. The theming of the load repaints them later.
namespace DesignControls {

// Arial 9 bold: the window's own font, inherited by every control without one of its own.
QFont windowFont();
// Arial 11.25 bold: the font of every command button.
QFont buttonFont();

// The white of the design, before any theming.
void paintWhite(QWidget *widget);

// A fixed-size top-level window with minimise and close buttons only, in the design font and white.
void setUpWindow(QWidget *window, const QString &name, const QString &caption, int widthTwips, int heightTwips);

// Any control with nothing but a name and a place.
template <typename Control>
Control *control(QWidget *container, const QString &name, int left, int top, int width, int height)
{
    auto *made = new Control(container);
    made->setObjectName(name);
    Twips::place(made, left, top, width, height);
    return made;
}

QPushButton *button(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height);
QGroupBox *frame(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height);
OptionButton *option(
    QWidget *container, const QString &name, const QString &caption, int left, int top, int width, int height);
ListPane *pane(
    QWidget *container, const QString &name, QAbstractItemModel *model, int left, int top, int width, int height);

// The choice of the first button of a group that is on, in the order given; none when all are off.
template <typename Choice>
Choice selectedChoice(std::initializer_list<std::pair<const OptionButton *, Choice>> group, Choice none)
{
    for (const auto &[button, choice] : group) {
        if (button->value())
            return choice;
    }
    return none;
}

} // namespace DesignControls
