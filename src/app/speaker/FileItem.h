#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One entry of the speaker panel's file list. Kept free of Qt so that listing a folder costs no
// more than the file system's own calls plus the sort.
class CFileItem {
public:
    enum EType : int32_t { eFileItem_Parent = 1, eFileItem_Folder = 2, eFileItem_File = 3 };

    CFileItem(std::string fileName, std::string displayName, int32_t type);
    virtual ~CFileItem() = default;

    // The list's order: the parent entry, then the folders, then the files, each group by shown
    // name regardless of ASCII case.
    static bool Compare(const CFileItem* a, const CFileItem* b);

    std::string m_FileName;     // the name in the file system; "[..]" for the parent entry
    std::string m_DisplayName;  // the shown text: ASCII with "?" per other character, folders in brackets
    int32_t m_Type;
};

using FileItemList = std::vector<std::unique_ptr<CFileItem>>;

namespace velk::browse {

inline constexpr const char* kParentEntryName = "[..]";

// The text with every non-ASCII character replaced by one "?"; nothing is cut.
std::string adjustString(const std::string& text);

bool isRoot(const std::string& path);
// Whether the name's extension (after the last '.') is one of `fileTypes`, compared exactly.
bool isSupportFile(const std::string& name, const std::vector<std::string>& fileTypes);

// The entries of `folder`, sorted: "[..]" unless it is "/", its folders, and its regular files
// with a supported extension. Hidden entries, symbolic links, devices and anything whose
// attributes cannot be read are left out; a folder that cannot be read lists no names.
FileItemList makeFileItemList(const std::string& folder, const std::vector<std::string>& fileTypes);

// The folder one level up ("/" above a top-level folder), and a name inside a folder.
std::string deletingLastPathComponent(const std::string& path);
std::string appendingPathComponent(const std::string& folder, const std::string& name);

}  // namespace velk::browse
