// The speaker simulation panel: its folder listing on real folders, the magnitude response it draws
// for an impulse response, and the panels in the main window against the built-in simulated
// dual-amp head, in real time: what each user action sends, what the amp then stores, and the
// panel's states.
#include <sys/stat.h>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <cmath>
#include <filesystem>

#include "SimulatedEditorTest.h"
#include "app/speaker/FileItem.h"
#include "app/speaker/FileTableView.h"
#include "app/speaker/IrCurveView.h"
#include "app/speaker/IrResponse.h"
#include "app/speaker/SpeakerSimulationWindowController.h"
#include "controls/SPButton.h"
#include "eLibrary/AudioFileBuilder.h"
#include "strings/StringTable.h"

namespace {

using velk::browse::magnitudeResponseDB;
using velk::browse::makeFileItemList;
using velk::sim::Request;
using velk::strings::text;

const std::vector<std::string> kFileTypes{"aif", "aiff", "wav", "AIF", "AIFF", "WAV"};

std::vector<std::string> shownNames(const FileItemList& list) {
    std::vector<std::string> names;
    for (const auto& item : list)
        names.push_back(item->m_DisplayName);
    return names;
}

// The panel's tests below enter the folders and open the files of such a list.
TEST(FileItemList, showsParentFoldersThenSupportedRegularFilesByNameAndLeavesTheRestOutExceptAtTheRoot) {
    testaudio::TempDir folder;
    for (const char* name : {"b.wav", "A.aif", "c.txt", ".hidden.wav", "x.Wav", "y.WAV",
                             "Gr\xC3\xBC\xC3\x9F"
                             "e.aiff"})
        folder.write(name, {});
    std::filesystem::create_directory(folder.path("Sub"));
    std::filesystem::create_directory(folder.path(".cache"));
    std::filesystem::create_symlink(folder.path("b.wav"), folder.path("link.wav"));
    std::filesystem::create_directory_symlink(folder.path("Sub"), folder.path("LinkedSub"));
    ASSERT_EQ(mkfifo(folder.path("pipe.wav").c_str(), 0600), 0);

    const FileItemList list = makeFileItemList(folder.path(""), kFileTypes);
    EXPECT_EQ(shownNames(list),
              (std::vector<std::string>{"[..]", "[Sub]", "A.aif", "b.wav", "Gr??e.aiff", "y.WAV"}));
    EXPECT_EQ(list[4]->m_FileName,
              "Gr\xC3\xBC\xC3\x9F"
              "e.aiff")
        << "the file is opened by its own name";
    // The root has no parent entry, an unreadable folder only that.
    EXPECT_NE(makeFileItemList("/", kFileTypes).front()->m_DisplayName, "[..]");
    EXPECT_EQ(shownNames(makeFileItemList("/no/such/folder", kFileTypes)), std::vector<std::string>{"[..]"});
    // The speaker panel's tests enter and leave folders below the root.
    EXPECT_EQ(velk::browse::deletingLastPathComponent("/home/"), "/");
}

// A full-scale impulse is flat at 0 dB; a two-tap average falls off towards Nyquist; silence reads
// as the floor.
TEST(IrResponse, isTheMagnitudeOfTheFilterOnAnAxisSpacedEvenlyInRatio) {
    const std::vector<double> decades = velk::browse::logFrequencies(20, 20000, 4);
    ASSERT_EQ(decades.size(), 4u);
    for (size_t i = 0; i < decades.size(); ++i)
        EXPECT_NEAR(decades[i], 20 * std::pow(10.0, static_cast<double>(i)), 1e-6);
    std::vector<int16_t> impulse(2048, 0);
    impulse[0] = 32767;
    for (double level : magnitudeResponseDB(impulse, velk::browse::logFrequencies(20, 20000, 64)))
        EXPECT_NEAR(level, 0.0, 0.01);

    std::vector<int16_t> average(2048, 0);
    average[0] = average[1] = 16384;
    const std::vector<double> ends{20.0, 20000.0};
    const std::vector<double> levels = magnitudeResponseDB(average, ends);
    EXPECT_NEAR(levels[0], 0.0, 0.01);
    // |cos(pi f / fs)| around 20 kHz, averaged over the band
    EXPECT_NEAR(levels[1], 20 * std::log10(std::cos(M_PI * 20000.0 / 44100.0)), 0.5);
    EXPECT_EQ(magnitudeResponseDB(std::vector<int16_t>(2048, 0), ends).front(), velk::browse::kFloorDB);
}

std::vector<int32_t> ramp(int count, int step) {
    std::vector<int32_t> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = (i * step) % 30000 - 15000;
    return values;
}

class SpeakerPanelTest : public velk::test::SimulatedEditorTest {
protected:
    void SetUp() override {
        files.write("b.wav", testaudio::wav({.channels = 1}, ramp(3000, 7)));
        files.write("a.wav", testaudio::wav({.channels = 1}, ramp(100, 300)));
        files.write("stereo.wav", testaudio::wav({.channels = 2}, ramp(200, 11)));
        files.write("wide.wav", testaudio::wav({.channels = 1, .sampleRate = 48000}, ramp(100, 1)));
        std::filesystem::create_directory(files.path("Sub"));
        files.write("Sub/inner.wav", testaudio::wav({.channels = 1}, ramp(50, 5)));
        velk::test::clearPreferenceStore();
        Preference::sharedInstance().load();
        Preference::sharedInstance().setM_FolderPathAmpI(folder());
        realTime = true;
        window.show();  // before the launch, as in the editor: the name field takes Return only so
        launchAndRead(velk::sim::HeadModel::Dual);
        controller.tabView()->setCurrentWidget(&panel);
        table = panel.findChild<FileTableView*>();
    }

    QString folder(const char* name = "") const {
        return QString::fromStdString(files.path(name)).chopped(name[0] ? 0 : 1);
    }
    template <typename Control>
    Control* control(const char* name) const {
        return panel.findChild<Control*>(QString::fromLatin1(name));
    }
    void click(const QString& shown) {
        const QModelIndex index = table->model()->index(static_cast<int>(panel.fileList().indexOf(shown)), 0);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
    }
    bool idle() {
        return driveUntil([this] { return !panel.isWaiting(); });
    }
    bool received(Request request, int count) {
        return driveUntil([&] { return amp().receivedCount(request) >= count; });
    }
    velk::sim::AmpSimulator& amp() { return amplifier->head(); }
    FIRCOE storedSlot() { return amp().firSlot(amp().state().currentSlot(0)); }

    testaudio::TempDir files;
    SpeakerSimulationWindowController& panel =
        *static_cast<SpeakerSimulationWindowController*>(controller.speakerSimulationView(0));
    FileTableView* table = nullptr;
};

// What reaches the head, and the install, are checked byte for byte by tests/xvfb/speaker_panel.sh.
TEST_F(SpeakerPanelTest, aClickedFileIsPlayedWithTheKnobsGainAndDrawnOverThePreviousOne) {
    EXPECT_EQ(panel.fileList(), (QStringList{"[..]", "[Sub]", "a.wav", "b.wav", "stereo.wav", "wide.wav"}));
    EXPECT_EQ(control<QLabel>("m_Gain_Label")->text(), QStringLiteral("-12.0 dB"));
    click("b.wav");
    EXPECT_TRUE(panel.isWaiting());
    panel.receiveVelkEvent(eVelkEvent_FIRCOESent, 1);
    EXPECT_TRUE(panel.isWaiting()) << "Amp II's transfer does not end Amp I's wait";
    ASSERT_TRUE(idle());
    const FIRCOE playing = amp().playBuffer(0);
    EXPECT_STREQ(playing.name, "b");
    EXPECT_EQ(playing.gain, CVelkManager::shortGain(-12.0));
    EXPECT_EQ(panel.irCurve().currentLevels().size(), 256u);
    click("a.wav");
    ASSERT_TRUE(idle());
    EXPECT_FALSE(panel.irCurve().previousLevels().empty()) << "b.wav stays as the faint curve";
    EXPECT_EQ(amp().playBuffer(0).coe[100], 0) << "a file of 100 frames is zero-filled";
    EXPECT_TRUE(velk::sim::sameRecord(amp().playBuffer(1), amp().firSlot(amp().state().currentSlot(1))))
        << "Amp II untouched";
}

TEST_F(SpeakerPanelTest, aFileTheAmpRefusesIsConvertedBesideItOnRequestAndAStereoOneAsksForItsChannel) {
    click("wide.wav");
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.alerts.front().messageText, text("Err_FIRFile_SampleRate"));
    EXPECT_EQ(panel.fileSelectIndex(), -1);
    EXPECT_FALSE(panel.isWaiting());
    user.alerts.clear();
    EXPECT_EQ(panel.makeFileContextMenu(static_cast<int>(panel.fileList().indexOf("[Sub]"))), nullptr);
    const auto convertWide = [this] {
        const auto menu = panel.makeFileContextMenu(static_cast<int>(panel.fileList().indexOf("wide.wav")));
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions().front()->text(), text("ConvertForAmp_Menu"));
        menu->actions().front()->trigger();
    };
    convertWide();
    EXPECT_TRUE(user.alerts.empty());
    EXPECT_EQ(panel.fileList(),
              (QStringList{"[..]", "[Sub]", "a.wav", "b.wav", "stereo.wav", "wide 44k1.wav", "wide.wav"}));
    EXPECT_EQ(panel.fileSelectIndex(), 5);
    ASSERT_TRUE(idle());
    EXPECT_STREQ(amp().playBuffer(0).name, "wide 44k1");
    EXPECT_EQ(amp().receivedCount(Request::CoefficientPacket), 10)
        << "one record: the refused file's never went";

    const auto copySize = std::filesystem::file_size(files.path("wide 44k1.wav"));
    convertWide();
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.alerts.front().messageText, text("Convert_Err_Exists").arg("\"wide 44k1.wav\""));
    EXPECT_EQ(std::filesystem::file_size(files.path("wide 44k1.wav")), copySize);

    user.alerts.clear();
    Preference::sharedInstance().setM_PrimaryCh(2);
    click("stereo.wav");
    ASSERT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.alerts.front().messageText, text("AskPrimaryCh_Message"));
    ASSERT_TRUE(idle());
    EXPECT_EQ(amp().playBuffer(0).coe[1], ramp(4, 11)[2]) << "the left channel, as the user answered";
}

TEST_F(SpeakerPanelTest, foldersAreListedWhenFirstShownBrowsedWithTheKeyboardAndRemembered) {
    auto& ampII = *static_cast<SpeakerSimulationWindowController*>(controller.speakerSimulationView(1));
    EXPECT_TRUE(ampII.fileList().isEmpty()) << "a panel out of sight has not listed its folder";
    controller.tabView()->setCurrentWidget(&ampII);
    EXPECT_EQ(ampII.fileList().value(0), QStringLiteral("[..]"));
    controller.tabView()->setCurrentWidget(&panel);

    click("[Sub]");
    EXPECT_EQ(panel.fileSelectIndex(), -1) << "a folder row does not stay selected";
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(panel.folderPath(), folder("Sub"));
    EXPECT_EQ(Preference::sharedInstance().m_FolderPathAmpI(), folder("Sub"));
    EXPECT_EQ(panel.fileList(), (QStringList{"[..]", "inner.wav"}));
    QTest::keyClick(table, Qt::Key_Backspace);
    EXPECT_EQ(panel.folderPath(), folder());

    table->setFocus();
    QTest::keyClicks(table, "b");
    EXPECT_EQ(panel.fileSelectIndex(), 3) << "typing jumps to the name";
    ASSERT_TRUE(idle());
    EXPECT_STREQ(amp().playBuffer(0).name, "b");
    QTest::keyClick(table, Qt::Key_Down);
    ASSERT_TRUE(idle());
    EXPECT_STREQ(amp().playBuffer(0).name, "stereo") << "each file moved to is auditioned";

    panel.openDroppedPath(folder("Sub/inner.wav"));
    EXPECT_EQ(panel.folderPath(), folder("Sub"));
    ASSERT_TRUE(idle());
    EXPECT_STREQ(amp().playBuffer(0).name, "inner") << "a dropped file is opened and auditioned";
}

TEST_F(SpeakerPanelTest, aNewNameIsCutToItsLimitWithQuestionMarksAndStoredInTheSlot) {
    // Typed, and stored.
    const std::pair<QString, std::string> cases[] = {{QString(70, QLatin1Char('n')), std::string(63, 'n')},
                                                     {QStringLiteral("Gr\u00fc\u00dfe 4x12"), "Gr??e 4x12"}};
    auto* name = control<QLineEdit>("m_IrName_Text");
    int writes = 0;
    for (const auto& [typed, stored] : cases) {
        name->setFocus();
        name->selectAll();
        name->insert(typed);  // key clicks carry ASCII only
        QTest::keyClick(name, Qt::Key_Return);
        ASSERT_TRUE(received(Request::FlashWrite, ++writes));
        ASSERT_TRUE(driveUntil([&] { return std::string(storedSlot().name) == stored; }));
        EXPECT_EQ(name->text().toStdString(), stored);
    }
    const int selects = amp().receivedCount(Request::SelectStoredIr);
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    name->setFocus();
    name->clear();
    QTest::keyClick(name, Qt::Key_Return);
    QTest::qWait(400);
    EXPECT_EQ(amp().receivedCount(Request::SelectStoredIr), selects)
        << "the same or an empty name sends nothing";
    EXPECT_EQ(name->text().toStdString(), cases[1].second);
}

TEST_F(SpeakerPanelTest, theStoredGainIsShownInFiveCharactersAndBypassOffWithoutAFileReturnsToTheStoredIr) {
    const std::pair<double, QString> cases[] = {{-10.0, "-10.0 dB"}, {-3.0, " -3.0 dB"}, {0.0, "  0.0 dB"}};
    for (const auto& [dB, shown] : cases) {
        amp().editState([&](velk::sim::AmpState& state) {
            state.firSlots[state.currentSlot(0)].gain = CVelkManager::shortGain(dB);
        });
        CVelkManager::instance()->sendRequest(eVelkRequest_AllBulkDump, 0, 0);
        ASSERT_TRUE(driveUntilStateRead(stateReads + 1));
        EXPECT_EQ(control<QLabel>("m_IrGain_Label")->text(), shown);
    }
    auto* bypass = control<SPButton>("m_Bypass_Sw");
    bypass->click();
    EXPECT_TRUE(panel.irCurve().isBypass());
    ASSERT_TRUE(idle());
    EXPECT_TRUE(amp().state().isBypassed(0));
    bypass->click();
    EXPECT_FALSE(panel.isWaiting());
    ASSERT_TRUE(received(Request::SelectStoredIr, 1));
    ASSERT_TRUE(driveUntil([&] { return velk::sim::sameRecord(amp().playBuffer(0), storedSlot()); }));
}

TEST_F(SpeakerPanelTest, controlsAreEnabledByConnectionWaitingSelectionAndBypass) {
    // Amp type, name, gain label, knob, folder button, folder label, list, install, bypass.
    const char* names[] = {"m_Amp_Type_Label", "m_IrName_Text", "m_Gain_Label",
                           "m_Gain_Knob",      "m_Folder_Btn",  "m_Folder_Label",
                           "m_FileTableView",  "m_Install_Btn", "m_Bypass_Sw"};
    const auto toggleBypass = [this] {
        control<SPButton>("m_Bypass_Sw")->click();
        idle();
    };
    // The panel's state, how it is entered, and which of the controls above are enabled in it.
    const std::tuple<const char*, std::function<void()>, std::array<bool, 9>> cases[] = {
        {"no file, bypass off", [] {}, {1, 1, 0, 0, 1, 1, 1, 0, 1}},
        {"waiting for a file", [&] { click("a.wav"); }, {0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"file selected", [&] { idle(); }, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"bypass on", toggleBypass, {1, 1, 0, 0, 1, 1, 1, 1, 1}},
        {"bypass off, file played again", toggleBypass, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"disconnected",
         [&] { panel.receiveVelkEvent(eVelkEvent_Disconnected, 0); },
         {0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [state, enter, enabled] : cases) {
        enter();
        for (size_t i = 0; i < std::size(names); ++i)
            EXPECT_EQ(panel.findChild<QWidget*>(QString::fromLatin1(names[i]))->isEnabled(), enabled[i])
                << state << ": " << names[i];
    }
    EXPECT_EQ(amp().receivedCount(Request::CoefficientPacket), 30) << "file, bypass, file again";
}

TEST_F(SpeakerPanelTest, aSilentHeadNeitherFreezesTheWindowNorLeavesThePanelWaiting) {
    click("a.wav");
    ASSERT_TRUE(idle());
    amp().setSilent(true);
    control<SPButton>("m_Install_Btn")->click();  // its reply wait holds the manager's queue for 5 s
    QTest::qWait(200);
    QElapsedTimer posting;
    posting.start();
    control<SPButton>("m_Bypass_Sw")->click();
    EXPECT_LT(posting.elapsed(), 1000) << "posting does not wait for the pass";
    EXPECT_TRUE(panel.isWaiting());
    ASSERT_TRUE(idle()) << "the time-out ends the wait";
    ASSERT_FALSE(user.alerts.empty());
    EXPECT_EQ(user.alerts.front().messageText, text("Err_Timeout"));
}

}  // namespace
