#include "cli/Progress.h"

namespace velk::cli {

void Progress::show(const std::string& line) {
    if (!m_Enabled)
        return;
    m_Err << '\r' << line;
    if (line.size() < m_Shown)
        m_Err << std::string(m_Shown - line.size(), ' ') << '\r' << line;
    m_Err << std::flush;
    m_Shown = line.size();
}

void Progress::clear() {
    if (!m_Enabled || m_Shown == 0)
        return;
    m_Err << '\r' << std::string(m_Shown, ' ') << '\r' << std::flush;
    m_Shown = 0;
}

}  // namespace velk::cli
