#pragma once

#include <string>

namespace velk::convert {

// A file written under a temporary name in its destination's folder and put in place only when
// complete, so that a failed or interrupted write leaves neither a partial file nor a damaged
// destination. The temporary name begins with a dot and ends in ".part", so folder listings that
// look for audio files do not show it.
class AtomicOutputFile {
public:
    // Creates the temporary file. Throws ConversionError OutputNotWritten.
    explicit AtomicOutputFile(std::string destination);
    // Removes the temporary file unless it was put in place.
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    int descriptor() const { return m_Descriptor; }

    // Closes the file and gives it the destination's name. Without `replace` an existing
    // destination stays as it is and ConversionError OutputExists is thrown; the check and the
    // rename are one step, so a file created meanwhile is not lost either. Throws OutputNotWritten.
    void commit(bool replace);

private:
    [[noreturn]] void fail(int error) const;
    bool placeWithoutReplacing() const;

    std::string m_Destination;
    std::string m_Temporary;
    int m_Descriptor = -1;
    bool m_Committed = false;
};

}  // namespace velk::convert
