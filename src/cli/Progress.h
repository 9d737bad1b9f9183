#pragma once

#include <ostream>
#include <string>

namespace velk::cli {

// One line of progress on a terminal, redrawn in place, for the operations that take a while
// (the packets of a coefficient stream, a flash write). Draws nothing when not enabled, so
// scripts and pipes see only results.
class Progress {
public:
    Progress(std::ostream& err, bool enabled) : m_Err(err), m_Enabled(enabled) {}
    ~Progress() { clear(); }

    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void show(const std::string& line);
    // Removes the line, so what is printed next starts on a clean line.
    void clear();

private:
    std::ostream& m_Err;
    const bool m_Enabled;
    size_t m_Shown = 0;  // characters of the line on screen
};

}  // namespace velk::cli
