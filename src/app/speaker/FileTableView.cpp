#include "app/speaker/FileTableView.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

namespace {

constexpr int kRowHeight = 18;

// The name typed-ahead letters are compared with: without the brackets of a folder row.
QString searchableName(QString shown) {
    if (shown.startsWith(QLatin1Char('[')) && shown.endsWith(QLatin1Char(']')))
        shown = shown.mid(1, shown.size() - 2);
    return shown;
}

}  // namespace

FileTableView::FileTableView(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
}

void FileTableView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (currentIndex().isValid())
                emit openRequested(currentIndex().row());
            break;
        case Qt::Key_Backspace:
            emit upRequested();
            break;
        case Qt::Key_F5:
            emit refreshRequested();
            break;
        default:
            QTableView::keyPressEvent(event);
            return;
    }
    event->accept();
}

void FileTableView::keyboardSearch(const QString& search) {
    if (!model() || search.isEmpty())
        return;
    // Letters typed in quick succession spell one name, which may be the current row's; a new
    // first letter looks from the row after it. The search wraps once, as Qt's own does.
    const bool continued =
        m_sinceTyped.isValid() && m_sinceTyped.elapsed() < QApplication::keyboardInputInterval();
    m_typed = continued ? m_typed + search : search;
    m_sinceTyped.start();
    const int rows = model()->rowCount();
    const int start = std::max(currentIndex().row(), 0) + (continued ? 0 : 1);
    for (int step = 0; step < rows; ++step) {
        const QModelIndex index = model()->index((start + step) % rows, 0);
        if (searchableName(index.data().toString()).startsWith(m_typed, Qt::CaseInsensitive)) {
            setCurrentIndex(index);
            return;
        }
    }
}
