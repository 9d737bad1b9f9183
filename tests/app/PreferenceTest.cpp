#include "app/Preference.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>

#include "AppTestSupport.h"
#include "app/RectText.h"

namespace {

using velk::app::rectFromText;
using velk::app::rectToText;

// Each test runs on a first-run store with its own home directory.
class PreferenceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("HOME", home.path().toLocal8Bit());
        velk::test::clearPreferenceStore();
    }
    void TearDown() override {
        qputenv("HOME", savedHome);
        velk::test::clearPreferenceStore();
    }

    QString folder(const char* name) {
        QDir().mkpath(home.filePath(name));
        return home.filePath(name);
    }
    void store(const char* key, const QVariant& value) { PreferenceStore().setValue(key, value); }

    VelkUtilityApp& app = velk::test::editorApplication();
    QByteArray savedHome = qgetenv("HOME");
    QTemporaryDir home;
    Preference& preference = Preference::sharedInstance();
};

// The window frame, the channel and the MIDI device round-trip in the window suites.
TEST_F(PreferenceTest, firstRunGivesDefaultsWhateverWasSetAndSaveThenLoadGivesThemBack) {
    const QString expected = home.filePath("Music/Velk/Ostrel");
    ASSERT_FALSE(QFileInfo::exists(expected));
    preference.setM_WindowRect("{{1, 2}, {3, 4}}");
    preference.setM_PrimaryCh(1);
    preference.load();
    EXPECT_TRUE(preference.m_WindowRect().isNull());
    EXPECT_EQ(preference.m_PrimaryCh(), 0);
    EXPECT_EQ(preference.m_MidiService(), "auto");
    EXPECT_EQ(preference.m_MidiDeviceText(), "VelkSolvo/");
    EXPECT_EQ(preference.m_FolderPathAmpI(), expected);
    EXPECT_EQ(preference.m_FolderPathAmpII(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());

    preference.setM_FolderPathAmpI(folder("irs/one"));
    preference.setM_FolderPathAmpII(folder("irs/two"));
    preference.setM_MidiService("jack");
    store("WindowRect", "{{1, 2}, {3, 4}}");  // from an earlier run
    preference.save();
    preference.setM_FolderPathAmpI(QString());
    preference.load();
    EXPECT_EQ(preference.m_FolderPathAmpI(), home.filePath("irs/one"));
    EXPECT_EQ(preference.m_FolderPathAmpII(), home.filePath("irs/two"));
    EXPECT_EQ(preference.m_MidiService(), "jack");
    EXPECT_FALSE(PreferenceStore().contains("WindowRect")) << "no window frame, no key";
}

TEST_F(PreferenceTest, staleOrMistypedFolderGivesTheDefaultForThatAmpOnlyAndAFileThereStays) {
    store("FolderPathAmpI", folder("kept"));
    store("FolderPathAmpII", folder("deleted"));
    ASSERT_TRUE(QDir(home.filePath("deleted")).removeRecursively());
    preference.load();
    EXPECT_EQ(preference.m_FolderPathAmpI(), home.filePath("kept"));
    EXPECT_EQ(preference.m_FolderPathAmpII(), Preference::defaultFolder());
    EXPECT_EQ(PreferenceStore().value("FolderPathAmpII").toString(), home.filePath("deleted"))
        << "loading leaves the store alone";
    store("FolderPathAmpI", QStringList{folder("a"), folder("b")});
    preference.load();
    EXPECT_EQ(preference.m_FolderPathAmpI(), Preference::defaultFolder());

    QFile blocker(home.filePath("Music/Velk/Ostrel"));
    ASSERT_TRUE(QDir(blocker.fileName()).removeRecursively());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(Preference::defaultFolder(), blocker.fileName());
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile()) << "a file in the default folder's place stays";
}

TEST_F(PreferenceTest, primaryChannelIsReadAsA32BitInteger) {
    for (auto [stored, read] : {std::pair<qint64, qint64>{2, 2}, {Q_INT64_C(0x100000002), 2}, {-1, -1}}) {
        store("PrimaryCh", stored);
        preference.load();
        EXPECT_EQ(preference.m_PrimaryCh(), read) << stored;
    }
}

TEST(RectText, readsBackWhatItWritesOriginThenSizeAndAnythingElseAsTheZeroRectangle) {
    EXPECT_EQ(rectToText(QRect(1, 2, 3, 4)), QStringLiteral("{{1, 2}, {3, 4}}"));
    EXPECT_EQ(rectFromText(rectToText(QRect(-1920, -30, 1, 2))), QRect(-1920, -30, 1, 2));
    EXPECT_EQ(rectFromText(" {{1,2},{3,4}} "), QRect(1, 2, 3, 4)) << "spacing is free";
    for (const char* text :
         {"", "garbage", "{{1, 2}, {3}}", "{{1, 2}, {-3, 4}}", "{{99999999999, 2}, {3, 4}}"})
        EXPECT_EQ(rectFromText(text), QRect()) << text;
}

}  // namespace
