#pragma once

#include <QRadioButton>

// An option button whose group is every OptionButton with the same parent, kept exclusive
// by hand so that a group may also end with none selected (stored settings can ask for that).
// Click() is raised whenever the button turns on, by the user or by setValue(true).
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(const QString &text, QWidget *parent = nullptr);

    bool value() const { return isChecked(); }
    // On selects this button, clears the others of its group and raises Click() if it was off;
    // off clears this button only.
    void setValue(bool on);

signals:
    void Click();

protected:
    // A user's click (mouse or keyboard) selects; it never clears a selected button.
    void nextCheckState() override;
};
