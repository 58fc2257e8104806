#include "app/shared/OptionButton.h"

OptionButton::OptionButton(const QString &text, QWidget *parent)
    : QRadioButton(text, parent)
{
    setAutoExclusive(false);
}

void OptionButton::setValue(bool on)
{
    if (!on) {
        setChecked(false);
        return;
    }
    if (isChecked())
        return;
    if (QWidget *container = parentWidget()) {
        const auto group = container->findChildren<OptionButton *>(Qt::FindDirectChildrenOnly);
        for (OptionButton *other : group) {
            if (other != this)
                other->setChecked(false);
        }
    }
    setChecked(true);
    emit Click();
}

void OptionButton::nextCheckState()
{
    setValue(true);
}
