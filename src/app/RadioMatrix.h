#pragma once

#include <QButtonGroup>
#include <QStringList>

class QWidget;

namespace velk::app {

// A column of radio buttons whose selected row is a value: row i has id i.
class RadioMatrix : public QButtonGroup {
    Q_OBJECT
public:
    // The rows go into `box`, one per title, top down.
    RadioMatrix(const QStringList& titles, QWidget* box);

    // A row outside the matrix selects nothing.
    void selectRow(int row);
    // -1 when nothing is selected.
    int selectedRow() const { return checkedId(); }
    void setEnabled(bool enabled);
};

}  // namespace velk::app
