#include "app/RadioMatrix.h"

#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

namespace velk::app {

RadioMatrix::RadioMatrix(const QStringList& titles, QWidget* box) : QButtonGroup(box) {
    auto* column = new QVBoxLayout(box);
    for (int row = 0; row < titles.size(); ++row) {
        auto* button = new QRadioButton(titles[row], box);
        addButton(button, row);
        column->addWidget(button);
    }
    column->addStretch();
}

void RadioMatrix::selectRow(int row) {
    if (QAbstractButton* chosen = button(row)) {
        chosen->setChecked(true);
        return;
    }
    // An exclusive group keeps one button checked; unchecking needs it lifted for a moment.
    setExclusive(false);
    for (QAbstractButton* each : buttons())
        each->setChecked(false);
    setExclusive(true);
}

void RadioMatrix::setEnabled(bool enabled) {
    for (QAbstractButton* each : buttons())
        each->setEnabled(enabled);
}

}  // namespace velk::app
