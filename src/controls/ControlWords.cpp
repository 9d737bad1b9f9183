#include "controls/ControlWords.h"

#include <QWidget>

void ControlWords::applyTo(QWidget& control, int value) const {
    if (!valueText)
        return;
    const QString words = valueText(value);
    control.setAccessibleName(name);
    control.setAccessibleDescription(words);
    control.setToolTip(toolTipForm.arg(name, words));
}
