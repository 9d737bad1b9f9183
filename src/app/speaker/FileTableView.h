#pragma once

#include <QElapsedTimer>
#include <QTableView>

// The speaker panel's file list: one column of names, browsed with the mouse or the keyboard.
// Up/Down and typing a name's first letters move the selection as Qt's views do; Return opens
// the current row, Backspace goes one folder up, F5 reads the folder again.
class FileTableView : public QTableView {
    Q_OBJECT
public:
    explicit FileTableView(QWidget* parent = nullptr);

signals:
    void openRequested(int row);
    void upRequested();
    void refreshRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Folder rows are shown in brackets; the letters typed match the name inside them.
    void keyboardSearch(const QString& search) override;

private:
    QString m_typed;  // the letters typed in quick succession
    QElapsedTimer m_sinceTyped;
};
