#pragma once

#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/PanelView.h"
#include "app/speaker/FileItem.h"
#include "common/FIRCOE.h"
#include "common/VelkManager.h"

class AppWindowController;
class FileTableView;
class IrCurveView;
class QLabel;
class QLineEdit;
class QMenu;
class QStringListModel;
class SPButton;
class SPDialControl;

// The speaker simulation panel of one amp: a browser of impulse-response files, each selected
// file auditioned on the amplifier, and the controls that set its gain, switch the speaker
// simulation to bypass, install what the amp plays into the flash slot of its amp type, and
// rename the stored impulse response. It never waits for the amplifier: it posts requests and
// reacts to the device manager's events, disabling its controls while a transfer runs.
class SpeakerSimulationWindowController : public PanelView {
    Q_OBJECT
    Q_PROPERTY(int m_Gain_Knob_Value READ gainKnobValue WRITE setGainKnobValue NOTIFY gainKnobValueChanged)
public:
    // `amp` 0 is Amp I, 1 Amp II; the editor window shows the wait indicator for the panel.
    SpeakerSimulationWindowController(int amp, AppWindowController& editorWindow, QWidget* parent = nullptr);
    ~SpeakerSimulationWindowController() override;

    // Start-up: the amp's folder, the knob at -12.0 dB, the displays, and the listener.
    void awakeFromNib();
    // Reacts to one device manager event; main thread only.
    void receiveVelkEvent(EVelkEventID event, int32_t data);

    int gainKnobValue() const { return m_Gain_Knob_Value; }
    void setGainKnobValue(int value);

    int32_t ampCh() const { return m_AmpCh; }
    const QString& folderPath() const { return m_FolderPath; }
    const QStringList& fileList() const { return m_FileList; }
    qint64 fileSelectIndex() const { return m_FileSelectIndex; }
    bool isWaiting() const { return m_Wait; }
    const FIRCOE& firCoe() const { return m_FirCoe; }
    IrCurveView& irCurve() const { return *m_IrCurve; }

    // Lists another folder, as the folder chooser, a double-click or a drop do.
    void openFolder(const QString& path);
    // Opens the folder of a file and selects it (auditioning it); a folder is opened.
    void openDroppedPath(const QString& path);
    // The file list's context menu for a row: "Convert for the amp…" on a file, whether the
    // loader takes it or not; null on a folder row or outside the rows.
    std::unique_ptr<QMenu> makeFileContextMenu(int row);

signals:
    void gainKnobValueChanged(int value);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ---- Set-up
    void configureControls();
    void initFileTable();
    void connectActions();

    // ---- The file browser
    void updateFileList();
    void makeFileItemList(const QString& folder);
    void makeFileList();
    void deselectAllFiles();
    void updateFolderLabel();
    void updatePreferenceFolderPath();
    void tableViewSelectionDidChange();
    void tableViewDoubleClick();
    void OnClickedFolderBtn();
    bool selectFolderDlg(QString& path, const QString& initialFolder);
    void selectRow(int row);
    void goUp();

    // ---- Converting a file the amplifier cannot take
    void showFileContextMenu(const QPoint& position);
    // Writes the amplifier's copy of the file beside it, lists the folder again and selects the
    // copy, so that it is auditioned at once. A failure is shown and writes nothing.
    void convertForAmp(const std::string& fileName);

    // ---- A selected file
    void selectFile(const CFileItem& item);
    void readCoe(int16_t* coefficients, const QString& folderPath, const std::string& fileName);
    int32_t askPrimaryCh();
    void previewFirCoe();

    // ---- Controls
    void OnClickedInstallBtn();
    void OnClickedBypassSw();
    void OnChangeGainKnob();
    void controlTextDidBeginEditing();
    void controlTextDidEndEditing();
    void endEditingIrNameText();
    void trimIrNameText();
    void sendIrName(const QString& name);
    void turnBypassOff();

    // ---- Displays, enable rules, waiting
    void updateControls();
    void updateAmpChLabel();
    void updateAmpTypeLabel();
    void updateIrNameText();
    void updateIrGainLabel();
    void updateGainLabel();
    void enableControls();
    bool isReady() const { return m_Connected && !m_Wait; }
    bool isFileSelected() const { return m_FileSelectIndex != -1; }
    bool isEnableGainKnob() const;
    void waitCursor(bool wait);
    // The amp refused what the panel waited for: say so, then stop waiting.
    void endWaitWithError(int32_t code);
    // Posts a request for the panel's amp; `stage` puts what the request reads into the manager
    // just before it is posted.
    void post(eVelkRequestEvent kind, int32_t argument = 0,
              const std::function<void(CVelkManager&)>& stage = {});

    AppWindowController& m_EditorWindow;
    SPButton* m_Amp_Ch_Label = nullptr;
    QLabel* m_Amp_Type_Label = nullptr;
    QLineEdit* m_IrName_Text = nullptr;
    QLabel* m_IrGain_Label = nullptr;
    QLabel* m_Gain_Label = nullptr;
    SPDialControl* m_Gain_Knob = nullptr;
    SPButton* m_Install_Btn = nullptr;
    SPButton* m_Folder_Btn = nullptr;
    QLabel* m_Folder_Label = nullptr;
    FileTableView* m_FileTableView = nullptr;
    QStringListModel* m_FileTableModel = nullptr;
    SPButton* m_Bypass_Sw = nullptr;
    IrCurveView* m_IrCurve = nullptr;

    QStringList m_FileList;
    qint64 m_FileSelectIndex = -1;
    qint64 m_FileSelectIndexForDblclk = -1;
    FileItemList m_FileItemList;
    bool m_Connected = false;
    bool m_Wait = false;
    int32_t m_Model = -1;
    int32_t m_AmpCh = -1;
    double m_Gain = 0;
    QString m_FolderPath;
    const std::array<const char*, 5> m_AmpTypeId{"AmpType0", "AmpType1", "AmpType2", "AmpType3", "AmpType4"};
    const std::vector<std::string> m_FileTypes{"aif", "aiff", "wav", "AIF", "AIFF", "WAV"};
    QString m_IrName_Text_String_Before;  // null while the name is not being edited
    FIRCOE m_FirCoe{};
    int m_Gain_Knob_Value = 0;
    QPointer<QWidget> savedFirstResponder;
    bool m_listening = false;
    bool m_listStale = false;  // the folder changed while the panel was out of sight
};
