// The file list's context menu: a copy of an impulse response that the amplifier takes, made
// beside it on request. The loader's own refusal of the original stays as it is.
#include <QApplication>
#include <QFileInfo>
#include <QMenu>

#include "app/AlertPresenter.h"
#include "app/speaker/FileTableView.h"
#include "app/speaker/SpeakerSimulationWindowController.h"
#include "convert/ConversionError.h"
#include "convert/IrConversion.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

// A wait cursor for work done on the main thread.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

QString conversionMessage(const velk::convert::ConversionError& error) {
    const QString file =
        QLatin1Char('"') + QFileInfo(QString::fromStdString(error.path())).fileName() + QLatin1Char('"');
    const QString message = text(error.messageKey());
    return error.reason().empty() ? message.arg(file)
                                  : message.arg(file, QString::fromStdString(error.reason()));
}

void showConversionError(const velk::convert::ConversionError& error) {
    velk::app::Alert alert;
    alert.style = velk::app::Alert::Style::Warning;
    alert.messageText = conversionMessage(error);
    alert.buttons = {text("OK")};
    velk::app::alertPresenter().runModal(alert);
}

}  // namespace

std::unique_ptr<QMenu> SpeakerSimulationWindowController::makeFileContextMenu(int row) {
    if (row < 0 || row >= static_cast<int>(m_FileItemList.size()))
        return nullptr;
    const CFileItem& item = *m_FileItemList[static_cast<size_t>(row)];
    if (item.m_Type != CFileItem::eFileItem_File)
        return nullptr;
    auto menu = std::make_unique<QMenu>(this);
    // The name, not the row: the list is read again before the action runs.
    connect(menu->addAction(text("ConvertForAmp_Menu")), &QAction::triggered, this,
            [this, fileName = item.m_FileName] { convertForAmp(fileName); });
    return menu;
}

void SpeakerSimulationWindowController::showFileContextMenu(const QPoint& position) {
    if (const std::unique_ptr<QMenu> menu = makeFileContextMenu(m_FileTableView->indexAt(position).row()))
        menu->exec(m_FileTableView->viewport()->mapToGlobal(position));
}

void SpeakerSimulationWindowController::convertForAmp(const std::string& fileName) {
    velk::convert::ConversionRequest request;
    request.input = velk::browse::appendingPathComponent(m_FolderPath.toStdString(), fileName);
    std::string copy;
    try {
        const BusyCursor busy;
        copy = velk::convert::convertImpulseResponse(request).output;
    } catch (const velk::convert::ConversionError& error) {
        showConversionError(error);
        return;
    }
    openDroppedPath(QString::fromStdString(copy));
}
