#include "app/speaker/SpeakerSimulationWindowController.h"

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QStringListModel>

#include "app/AppWindow.h"
#include "app/AppWindowController.h"
#include "app/MainQueue.h"
#include "app/PanelLayout.h"
#include "app/Preference.h"
#include "app/speaker/FileTableView.h"
#include "app/speaker/IrCurveView.h"
#include "common/MIDIManager.h"
#include "controls/ImageStrip.h"
#include "controls/SPButton.h"
#include "controls/SPDialControl.h"
#include "controls/SPScroller.h"
#include "strings/StringTable.h"

namespace {

namespace speaker = velk::layout::speaker;
using velk::layout::qtRect;

constexpr int kGainKnobStart = 18;  // -12.0 dB
constexpr int kGainKnobMax = 40;
// Over the cone painted on the faceplate.
constexpr QRect kIrCurveFrame{45, 310, 210, 170};

// Amber on black glass, as the faceplate's display windows.
constexpr const char* kDisplayLook = R"(
    QLabel, QLineEdit { color: #ffa822; background: transparent; border: none;
                        font-family: "DejaVu Sans Mono"; font-size: 11px; }
    QLabel:disabled, QLineEdit:disabled { color: #7a5a2a; }
    QTableView { color: #ffa822; background: transparent; border: none; outline: none;
                 font-family: "DejaVu Sans Mono"; font-size: 11px;
                 selection-background-color: #ffa822; selection-color: #101012; }
    QTableView:disabled { color: #7a5a2a; }
)";

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Runs on the device manager's threads: hands the event to the GUI thread and nothing else.
void _VelkEventCallback(EVelkEventID event, int32_t data, void* userData) {
    auto* panel = static_cast<SpeakerSimulationWindowController*>(userData);
    velk::app::gMain_queue.async(panel, [panel, event, data] { panel->receiveVelkEvent(event, data); });
}

template <typename Control>
Control* place(Control* control, const char* name, const velk::layout::SPFrame& frame) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(qtRect(frame));
    return control;
}

SPButton* imageButton(QWidget* parent, const velk::layout::SPArt& art, const char* name,
                      const velk::layout::SPFrame& frame) {
    auto* button = place(new SPButton(parent, art.slices), name, frame);
    button->setImage(velk::controls::resourceImage(QString::fromLatin1(art.image)));
    return button;
}

}  // namespace

SpeakerSimulationWindowController::SpeakerSimulationWindowController(int amp,
                                                                     AppWindowController& editorWindow,
                                                                     QWidget* parent)
    : PanelView(speaker::kImage_Base, parent), m_EditorWindow(editorWindow) {
    configureControls();
    m_Amp_Ch_Label->setChecked(amp != 0);
    initFileTable();
    connectActions();
    setAcceptDrops(true);
}

SpeakerSimulationWindowController::~SpeakerSimulationWindowController() {
    // Without a MIDI port manager the device manager is gone too, and asking for it would create
    // a new one.
    if (m_listening && CMIDIManager::instance())
        CVelkManager::instance()->removeListenerCallback(_VelkEventCallback);
}

void SpeakerSimulationWindowController::awakeFromNib() {
    m_AmpCh = m_Amp_Ch_Label->isChecked() ? 1 : 0;
    const Preference& preference = Preference::sharedInstance();
    m_FolderPath = m_AmpCh != 0 ? preference.m_FolderPathAmpII() : preference.m_FolderPathAmpI();
    updateFolderLabel();
    updateFileList();
    setGainKnobValue(kGainKnobStart);
    updateControls();
    enableControls();
    CVelkManager::instance()->addListenerCallback(_VelkEventCallback, this);
    m_listening = true;
}

void SpeakerSimulationWindowController::setGainKnobValue(int value) {
    if (value == m_Gain_Knob_Value)
        return;
    m_Gain_Knob_Value = value;
    emit gainKnobValueChanged(value);
}

void SpeakerSimulationWindowController::configureControls() {
    setStyleSheet(QString::fromLatin1(kDisplayLook));
    m_Amp_Ch_Label =
        imageButton(this, speaker::kArt_Amp_Ch_Label, "m_Amp_Ch_Label", speaker::kFrame_Amp_Ch_Label);
    m_Amp_Ch_Label->setCheckable(true);
    m_Amp_Ch_Label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_Amp_Type_Label = place(new QLabel(this), "m_Amp_Type_Label", speaker::kFrame_Amp_Type_Label);
    m_IrName_Text = place(new QLineEdit(this), "m_IrName_Text", speaker::kFrame_IrName_Text);
    m_IrGain_Label = place(new QLabel(this), "m_IrGain_Label", speaker::kFrame_IrGain_Label);
    m_Gain_Label = place(new QLabel(this), "m_Gain_Label", speaker::kFrame_Gain_Label);
    m_Gain_Label->setAlignment(Qt::AlignCenter);
    m_Gain_Knob = new SPDialControl(this);
    m_Gain_Knob->setObjectName(QStringLiteral("m_Gain_Knob"));
    m_Gain_Knob->cell().setImageDivideNum(speaker::kArt_Gain_Knob.slices);
    m_Gain_Knob->setImage(velk::controls::resourceImage(QString::fromLatin1(speaker::kArt_Gain_Knob.image)));
    m_Gain_Knob->setGeometry(qtRect(speaker::kFrame_Gain_Knob));
    m_Gain_Knob->setRange(0, kGainKnobMax);
    m_Install_Btn =
        imageButton(this, speaker::kArt_Install_Btn, "m_Install_Btn", speaker::kFrame_Install_Btn);
    m_Install_Btn->cell().setButtonType(SPButtonCell::eButtonType_Momentary);
    m_Folder_Btn = imageButton(this, speaker::kArt_Folder_Btn, "m_Folder_Btn", speaker::kFrame_Folder_Btn);
    m_Folder_Btn->cell().setButtonType(SPButtonCell::eButtonType_Momentary);
    m_Folder_Label = place(new QLabel(this), "m_Folder_Label", speaker::kFrame_Folder_Label);
    m_FileTableView = place(new FileTableView(this), "m_FileTableView", speaker::kFrame_File_Table);
    m_Bypass_Sw = imageButton(this, speaker::kArt_Bypass_Sw, "m_Bypass_Sw", speaker::kFrame_Bypass_Sw);
    m_Bypass_Sw->setCheckable(true);
    m_IrCurve = new IrCurveView(this);
    m_IrCurve->setObjectName(QStringLiteral("m_IrCurve"));
    m_IrCurve->setGeometry(kIrCurveFrame);
}

void SpeakerSimulationWindowController::initFileTable() {
    m_FileTableModel = new QStringListModel(this);
    m_FileTableView->setModel(m_FileTableModel);
    auto* scroller = new SPScroller(m_FileTableView);
    m_FileTableView->setVerticalScrollBar(scroller);
    m_FileTableView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void SpeakerSimulationWindowController::connectActions() {
    connect(m_FileTableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SpeakerSimulationWindowController::tableViewSelectionDidChange);
    connect(m_FileTableView, &QAbstractItemView::doubleClicked, this,
            &SpeakerSimulationWindowController::tableViewDoubleClick);
    connect(m_FileTableView, &FileTableView::openRequested, this, [this](int row) {
        m_FileSelectIndexForDblclk = row;
        tableViewDoubleClick();
    });
    m_FileTableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_FileTableView, &QWidget::customContextMenuRequested, this,
            &SpeakerSimulationWindowController::showFileContextMenu);
    connect(m_FileTableView, &FileTableView::upRequested, this, &SpeakerSimulationWindowController::goUp);
    connect(m_FileTableView, &FileTableView::refreshRequested, this,
            &SpeakerSimulationWindowController::updateFileList);
    connect(m_Folder_Btn, &QAbstractButton::clicked, this,
            &SpeakerSimulationWindowController::OnClickedFolderBtn);
    connect(m_Install_Btn, &QAbstractButton::clicked, this,
            &SpeakerSimulationWindowController::OnClickedInstallBtn);
    connect(m_Bypass_Sw, &QAbstractButton::clicked, this,
            &SpeakerSimulationWindowController::OnClickedBypassSw);
    m_Gain_Knob->bindValue(this, "m_Gain_Knob_Value");
    connect(m_Gain_Knob, &SPDialControl::action, this, &SpeakerSimulationWindowController::OnChangeGainKnob);
    m_IrName_Text->installEventFilter(this);
}

// ---- The file browser

void SpeakerSimulationWindowController::showEvent(QShowEvent* event) {
    PanelView::showEvent(event);
    if (m_listStale)
        updateFileList();
}

void SpeakerSimulationWindowController::updateFileList() {
    // A panel out of sight lists its folder when it is first looked at, so that the tab in
    // front never waits for the sort of another amp's folder.
    if (!isVisible()) {
        m_listStale = true;
        return;
    }
    m_listStale = false;
    makeFileItemList(m_FolderPath);
    makeFileList();
    m_FileTableModel->setStringList(m_FileList);
    deselectAllFiles();
}

void SpeakerSimulationWindowController::makeFileItemList(const QString& folder) {
    m_FileItemList = velk::browse::makeFileItemList(folder.toStdString(), m_FileTypes);
}

void SpeakerSimulationWindowController::makeFileList() {
    m_FileList.clear();
    for (const auto& item : m_FileItemList)
        m_FileList.append(fromUtf8(item->m_DisplayName));
}

void SpeakerSimulationWindowController::deselectAllFiles() {
    {
        const QSignalBlocker quiet(m_FileTableView->selectionModel());
        m_FileTableView->clearSelection();
    }
    m_FileSelectIndex = -1;
    enableControls();
}

void SpeakerSimulationWindowController::updateFolderLabel() {
    m_Folder_Label->setText(fromUtf8(velk::browse::adjustString(m_FolderPath.toStdString())));
}

void SpeakerSimulationWindowController::updatePreferenceFolderPath() {
    Preference& preference = Preference::sharedInstance();
    if (m_AmpCh == 0)
        preference.setM_FolderPathAmpI(m_FolderPath);
    else if (m_AmpCh == 1)
        preference.setM_FolderPathAmpII(m_FolderPath);
    preference.save();
}

void SpeakerSimulationWindowController::tableViewSelectionDidChange() {
    const QModelIndexList rows = m_FileTableView->selectionModel()->selectedRows();
    m_FileSelectIndex = rows.isEmpty() ? -1 : rows.front().row();
    if (m_FileSelectIndex == -1) {
        deselectAllFiles();
        return;
    }
    m_FileSelectIndexForDblclk = m_FileSelectIndex;
    const CFileItem& item = *m_FileItemList[static_cast<size_t>(m_FileSelectIndex)];
    // Only a file stays selected; a folder row is remembered for the double-click.
    if (item.m_Type != CFileItem::eFileItem_File) {
        deselectAllFiles();
        return;
    }
    selectFile(item);
}

void SpeakerSimulationWindowController::tableViewDoubleClick() {
    const qint64 row = m_FileSelectIndexForDblclk;
    if (row < 0 || row >= static_cast<qint64>(m_FileItemList.size()))
        return;
    const CFileItem& item = *m_FileItemList[static_cast<size_t>(row)];
    const std::string folder = m_FolderPath.toStdString();
    if (item.m_Type == CFileItem::eFileItem_Parent)
        openFolder(fromUtf8(velk::browse::deletingLastPathComponent(folder)));
    else if (item.m_Type == CFileItem::eFileItem_Folder)
        openFolder(fromUtf8(velk::browse::appendingPathComponent(folder, item.m_FileName)));
}

void SpeakerSimulationWindowController::goUp() {
    if (!velk::browse::isRoot(m_FolderPath.toStdString()))
        openFolder(fromUtf8(velk::browse::deletingLastPathComponent(m_FolderPath.toStdString())));
}

void SpeakerSimulationWindowController::openFolder(const QString& path) {
    m_FolderPath = path;
    updateFolderLabel();
    updateFileList();
    deselectAllFiles();
    updatePreferenceFolderPath();
}

void SpeakerSimulationWindowController::OnClickedFolderBtn() {
    QString chosen;
    if (!selectFolderDlg(chosen, m_FolderPath))
        return;
    deselectAllFiles();
    openFolder(chosen);
}

bool SpeakerSimulationWindowController::selectFolderDlg(QString& path, const QString& initialFolder) {
    const QString start = QFileInfo(initialFolder).isDir() ? initialFolder : QString();
    const QString chosen =
        QFileDialog::getExistingDirectory(this, velk::strings::text("SelectFolder_Title"), start);
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

void SpeakerSimulationWindowController::selectRow(int row) {
    m_FileTableView->setCurrentIndex(m_FileTableModel->index(row, 0));
}

// ---- Drop

void SpeakerSimulationWindowController::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (isReady() && urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void SpeakerSimulationWindowController::dropEvent(QDropEvent* event) {
    openDroppedPath(event->mimeData()->urls().front().toLocalFile());
    event->acceptProposedAction();
}

void SpeakerSimulationWindowController::openDroppedPath(const QString& path) {
    const QFileInfo dropped(path);
    if (dropped.isDir()) {
        openFolder(dropped.absoluteFilePath());
        return;
    }
    openFolder(dropped.absolutePath());
    const std::string name = dropped.fileName().toStdString();
    for (size_t row = 0; row < m_FileItemList.size(); ++row) {
        if (m_FileItemList[row]->m_Type == CFileItem::eFileItem_File &&
            m_FileItemList[row]->m_FileName == name) {
            selectRow(static_cast<int>(row));
            return;
        }
    }
}
