// The speaker panel's folder listing on real folders: what is shown, what is left out, in which order.
#include "app/speaker/FileItem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "eLibrary/AudioFileBuilder.h"

namespace {

using velk::browse::makeFileItemList;

const std::vector<std::string> kFileTypes{"aif", "aiff", "wav", "AIF", "AIFF", "WAV"};

std::vector<std::string> shownNames(const FileItemList& list) {
    std::vector<std::string> names;
    for (const auto& item : list)
        names.push_back(item->m_DisplayName);
    return names;
}

TEST(FileItemList, showsParentFoldersThenSupportedRegularFilesByNameAndLeavesTheRestOut) {
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
    EXPECT_EQ(list[1]->m_FileName, "Sub");
    EXPECT_EQ(list[4]->m_FileName,
              "Gr\xC3\xBC\xC3\x9F"
              "e.aiff")
        << "the file is opened by its own name";
    const std::vector<int32_t> types{CFileItem::eFileItem_Parent, CFileItem::eFileItem_Folder,
                                     CFileItem::eFileItem_File};
    for (size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(list[i]->m_Type, types[i]);
}

TEST(FileItemList, theRootHasNoParentEntryAndAnUnreadableFolderOnlyTheParent) {
    EXPECT_NE(makeFileItemList("/", kFileTypes).front()->m_DisplayName, "[..]");
    EXPECT_EQ(shownNames(makeFileItemList("/no/such/folder", kFileTypes)), std::vector<std::string>{"[..]"});
    // The speaker panel's tests enter and leave folders below the root.
    EXPECT_EQ(velk::browse::deletingLastPathComponent("/home/"), "/");
}

}  // namespace
