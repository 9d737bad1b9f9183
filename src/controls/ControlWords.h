#pragma once

#include <QString>
#include <functional>

class QWidget;

// What a control tells about itself: its name and the words for its present value, e.g.
// "Amp II noise gate" and "mid". Assistive technology reads the name and, as the description, the
// value; the tooltip shows both, so that a player sees a setting without counting knob marks.
struct ControlWords {
    QString name;
    std::function<QString(int value)> valueText;
    QString toolTipForm;  // %1 the name, %2 the value's words

    // Gives `control` its name and the words for `value`; nothing without words.
    void applyTo(QWidget& control, int value) const;
};
