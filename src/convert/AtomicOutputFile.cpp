#include "convert/AtomicOutputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "convert/ConversionError.h"

namespace velk::convert {

namespace {

// Another process writing the same destination at the same moment may hold a name already.
constexpr int kNameAttempts = 16;

std::string temporaryNameBeside(const std::string& destination, unsigned token) {
    const std::filesystem::path path(destination);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.part", token);
    // Appended piece by piece: GCC 12 at -O3 takes "." + std::string for an overlapping copy.
    std::string name = ".";
    name.append(path.filename().string()).append(suffix);
    return (path.parent_path() / name).string();
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::string destination) : m_Destination(std::move(destination)) {
    std::random_device random;
    for (int attempt = 0; attempt < kNameAttempts && m_Descriptor < 0; ++attempt) {
        m_Temporary = temporaryNameBeside(m_Destination, random());
        // Mode 0666 lets the umask decide, as for any file the user creates.
        m_Descriptor = ::open(m_Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_Descriptor < 0 && errno != EEXIST)
            break;
    }
    if (m_Descriptor < 0)
        fail(errno);
}

AtomicOutputFile::~AtomicOutputFile() {
    if (m_Descriptor >= 0)
        ::close(m_Descriptor);
    if (!m_Committed)
        ::unlink(m_Temporary.c_str());
}

// No fsync: the copy is as durable as any file the user's tools write, and forcing it to disk
// would cost more than the whole conversion.
void AtomicOutputFile::commit(bool replace) {
    const bool closed = ::close(m_Descriptor) == 0;
    m_Descriptor = -1;
    if (!closed)
        fail(errno);
    if (replace ? ::rename(m_Temporary.c_str(), m_Destination.c_str()) != 0 : !placeWithoutReplacing()) {
        if (errno == EEXIST)
            throw ConversionError(ConversionFault::OutputExists, m_Destination);
        fail(errno);
    }
    m_Committed = true;
}

// A filesystem without the atomic no-replace rename still has hard links, which fail as well
// when the name is taken.
bool AtomicOutputFile::placeWithoutReplacing() const {
    if (::renameat2(AT_FDCWD, m_Temporary.c_str(), AT_FDCWD, m_Destination.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    if (::link(m_Temporary.c_str(), m_Destination.c_str()) != 0)
        return false;
    ::unlink(m_Temporary.c_str());
    return true;
}

void AtomicOutputFile::fail(int error) const {
    throw ConversionError(ConversionFault::OutputNotWritten, m_Destination, std::strerror(error));
}

}  // namespace velk::convert
