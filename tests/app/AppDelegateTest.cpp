#include "app/AppDelegate.h"

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/Preference.h"
#include "common/MIDIManager.h"
#include "common/VelkManager.h"
#include "strings/StringTable.h"

namespace {

using velk::strings::text;

struct ErrorCase {
    int32_t code;
    const char* key;
};
void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.code << " -> " << c.key;
}

class ErrorDisplayTest : public testing::TestWithParam<ErrorCase> {
protected:
    void SetUp() override { velk::test::editorApplication(); }
    velk::test::AnsweringPresenter user;
};

TEST_P(ErrorDisplayTest, showsTheTextOfTheCodesKey) {
    AppDelegate::displayError(GetParam().code);
    ASSERT_EQ(user.alerts.size(), 1u);
    const velk::app::Alert& alert = user.alerts.front();
    EXPECT_EQ(alert.messageText, text(GetParam().key));
    EXPECT_NE(alert.messageText, QString::fromLatin1(GetParam().key)) << "the key has English text";
    EXPECT_TRUE(alert.informativeText.contains(QString::number(GetParam().code)));
    EXPECT_EQ(alert.style, velk::app::Alert::Style::Critical);
    EXPECT_EQ(alert.buttons.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorDisplayTest,
    testing::Values(ErrorCase{1000, "Err_MIDIOpen"}, ErrorCase{1001, "Err_MIDISend"},
                    ErrorCase{1002, "Err_ReceiveData"}, ErrorCase{1003, "Err_FIRData_Write"},
                    ErrorCase{1004, "Err_Timeout"}, ErrorCase{1005, "Err_FIRFile_Open"},
                    ErrorCase{1006, "Err_FIRFile_Channel"}, ErrorCase{1007, "Err_FIRFile_SampleRate"},
                    ErrorCase{1008, "Err_FIRFile_SampleSize"}, ErrorCase{1009, "Err_FIRFile_Read"},
                    ErrorCase{1010, "Err_Unknown"}, ErrorCase{999, "Err_Unknown"},
                    ErrorCase{1011, "Err_Unknown"}, ErrorCase{-1, "Err_Unknown"}));

TEST(AppDelegate, loadsThePreferencesWhenCreated) {
    velk::test::editorApplication();
    velk::test::clearPreferenceStore();
    PreferenceStore().setValue(QStringLiteral("PrimaryCh"), 2);
    AppDelegate delegate;
    EXPECT_EQ(Preference::sharedInstance().m_PrimaryCh(), 2);
    velk::test::clearPreferenceStore();
}

TEST(AppDelegate, quittingSavesThePreferencesAndEndsTheManagers) {
    velk::test::editorApplication();
    velk::test::clearPreferenceStore();
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    ASSERT_NE(CMIDIManager::instance(), nullptr) << "launching creates the managers";
    Preference::sharedInstance().setM_PrimaryCh(1);

    delegate.applicationWillTerminate();

    EXPECT_EQ(PreferenceStore().value(QStringLiteral("PrimaryCh")).toInt(), 1);
    EXPECT_EQ(CMIDIManager::instance(), nullptr) << "the MIDI port manager goes with the device manager";
    velk::test::clearPreferenceStore();
}

}  // namespace
