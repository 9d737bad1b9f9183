#include "app/speaker/FileItem.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "common/StringUtil.h"

CFileItem::CFileItem(std::string fileName, std::string displayName, int32_t type)
    : m_FileName(std::move(fileName)), m_DisplayName(std::move(displayName)), m_Type(type) {}

bool CFileItem::Compare(const CFileItem* a, const CFileItem* b) {
    if (a->m_Type != b->m_Type)
        return a->m_Type < b->m_Type;
    return strcasecmp(a->m_DisplayName.c_str(), b->m_DisplayName.c_str()) < 0;
}

namespace velk::browse {

namespace {

// Closes the folder however the listing ends.
struct FolderHandle {
    DIR* dir;
    ~FolderHandle() {
        if (dir)
            closedir(dir);
    }
};

void appendEntry(FileItemList& list, int folderFd, const char* name,
                 const std::vector<std::string>& fileTypes) {
    std::string shown = adjustString(name);
    if (!shown.empty() && shown.front() == '.')
        return;
    struct stat attributes {};
    if (fstatat(folderFd, name, &attributes, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    if (S_ISDIR(attributes.st_mode))
        list.push_back(std::make_unique<CFileItem>(name, "[" + shown + "]", CFileItem::eFileItem_Folder));
    else if (S_ISREG(attributes.st_mode) && isSupportFile(name, fileTypes))
        list.push_back(std::make_unique<CFileItem>(name, std::move(shown), CFileItem::eFileItem_File));
}

}  // namespace

std::string adjustString(const std::string& text) {
    // Each character becomes one byte at most, so a buffer of the source's size holds the result.
    std::string adjusted(text.size() + 1, '\0');
    const auto size = static_cast<int32_t>(text.size());
    mstd::adjustUTF8String(adjusted.data(), size, text.data(), size);
    adjusted.resize(adjusted.find('\0'));
    return adjusted;
}

bool isRoot(const std::string& path) {
    return path == "/";
}

bool isSupportFile(const std::string& name, const std::vector<std::string>& fileTypes) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return false;
    const std::string_view extension = std::string_view(name).substr(dot + 1);
    return std::find(fileTypes.begin(), fileTypes.end(), extension) != fileTypes.end();
}

FileItemList makeFileItemList(const std::string& folder, const std::vector<std::string>& fileTypes) {
    FileItemList list;
    if (!isRoot(folder))
        list.push_back(
            std::make_unique<CFileItem>(kParentEntryName, kParentEntryName, CFileItem::eFileItem_Parent));
    FolderHandle handle{opendir(folder.c_str())};
    if (handle.dir) {
        const int folderFd = dirfd(handle.dir);
        while (const dirent* entry = readdir(handle.dir))
            appendEntry(list, folderFd, entry->d_name, fileTypes);
    }
    std::sort(list.begin(), list.end(),
              [](const auto& a, const auto& b) { return CFileItem::Compare(a.get(), b.get()); });
    return list;
}

std::string deletingLastPathComponent(const std::string& path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : trimmed.substr(0, slash);
}

std::string appendingPathComponent(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

}  // namespace velk::browse
