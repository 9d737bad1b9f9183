#include "app/Preference.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "AppTestSupport.h"

namespace {

// Each test runs on a first-run store with its own home directory.
class PreferenceTest : public testing::Test {
protected:
    void SetUp() override {
        velk::test::editorApplication();
        ASSERT_TRUE(home.isValid());
        savedHome = qgetenv("HOME");
        qputenv("HOME", home.path().toLocal8Bit());
        velk::test::clearPreferenceStore();
    }
    void TearDown() override {
        qputenv("HOME", savedHome);
        velk::test::clearPreferenceStore();
    }

    QString folder(const char* name) {
        const QString path = home.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        return path;
    }

    Preference& preference = Preference::sharedInstance();
    QTemporaryDir home;
    QByteArray savedHome;
};

TEST_F(PreferenceTest, firstRunGivesDefaultsAndCreatesTheDefaultFolder) {
    const QString expected = home.filePath(QStringLiteral("Music/Velk/Ostrel"));
    ASSERT_FALSE(QFileInfo::exists(expected));
    preference.load();
    EXPECT_TRUE(preference.m_WindowRect().isNull());
    EXPECT_EQ(preference.m_PrimaryCh(), 0);
    EXPECT_EQ(preference.m_FolderPathAmpI(), expected);
    EXPECT_EQ(preference.m_FolderPathAmpII(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
}

TEST_F(PreferenceTest, saveThenLoadGivesBackTheSameFourValues) {
    preference.setM_WindowRect(QStringLiteral("{{120, -40}, {960, 650}}"));
    preference.setM_PrimaryCh(1);
    preference.setM_FolderPathAmpI(folder("irs/one"));
    preference.setM_FolderPathAmpII(folder("irs/two"));
    preference.save();

    preference.setM_WindowRect(QString());
    preference.setM_PrimaryCh(0);
    preference.setM_FolderPathAmpI(QString());
    preference.setM_FolderPathAmpII(QString());
    preference.load();

    EXPECT_EQ(preference.m_WindowRect(), QStringLiteral("{{120, -40}, {960, 650}}"));
    EXPECT_EQ(preference.m_PrimaryCh(), 1);
    EXPECT_EQ(preference.m_FolderPathAmpI(), home.filePath(QStringLiteral("irs/one")));
    EXPECT_EQ(preference.m_FolderPathAmpII(), home.filePath(QStringLiteral("irs/two")));
}

TEST_F(PreferenceTest, deletedFolderFallsBackToTheDefaultForThatAmpOnly) {
    preference.load();
    preference.setM_FolderPathAmpI(folder("kept"));
    preference.setM_FolderPathAmpII(folder("deleted"));
    preference.save();
    ASSERT_TRUE(QDir(home.filePath(QStringLiteral("deleted"))).removeRecursively());

    preference.load();
    EXPECT_EQ(preference.m_FolderPathAmpI(), home.filePath(QStringLiteral("kept")));
    EXPECT_EQ(preference.m_FolderPathAmpII(), Preference::defaultFolder());
    EXPECT_EQ(PreferenceStore().value(QStringLiteral("FolderPathAmpII")).toString(),
              home.filePath(QStringLiteral("deleted")))
        << "the stale value stays in the store until the next save";
}

TEST_F(PreferenceTest, folderStoredAsSomethingElseThanTextGivesTheDefault) {
    PreferenceStore().setValue(QStringLiteral("FolderPathAmpI"), QStringList{folder("a"), folder("b")});
    preference.load();
    EXPECT_EQ(preference.m_FolderPathAmpI(), Preference::defaultFolder());
}

TEST_F(PreferenceTest, primaryChannelIsReadAsA32BitInteger) {
    PreferenceStore().setValue(QStringLiteral("PrimaryCh"), 2);
    preference.load();
    EXPECT_EQ(preference.m_PrimaryCh(), 2);
    PreferenceStore().setValue(QStringLiteral("PrimaryCh"), Q_INT64_C(0x100000002));
    preference.load();
    EXPECT_EQ(preference.m_PrimaryCh(), 2);
    PreferenceStore().setValue(QStringLiteral("PrimaryCh"), -1);
    preference.load();
    EXPECT_EQ(preference.m_PrimaryCh(), -1);
}

TEST_F(PreferenceTest, loadDiscardsUnsavedChanges) {
    preference.load();
    preference.setM_PrimaryCh(1);
    preference.load();
    EXPECT_EQ(preference.m_PrimaryCh(), 0);
}

TEST_F(PreferenceTest, savingWithoutAWindowRectRemovesTheKey) {
    preference.load();
    preference.setM_WindowRect(QStringLiteral("{{1, 2}, {3, 4}}"));
    preference.save();
    ASSERT_TRUE(PreferenceStore().contains(QStringLiteral("WindowRect")));
    preference.setM_WindowRect(QString());
    preference.save();
    EXPECT_FALSE(PreferenceStore().contains(QStringLiteral("WindowRect")));
}

TEST_F(PreferenceTest, defaultFolderLeavesAFileInItsPlaceAlone) {
    QDir().mkpath(home.filePath(QStringLiteral("Music/Velk")));
    QFile blocker(home.filePath(QStringLiteral("Music/Velk/Ostrel")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("not a folder");
    blocker.close();
    EXPECT_EQ(Preference::defaultFolder(), blocker.fileName());
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile());
}

}  // namespace
