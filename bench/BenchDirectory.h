#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace velk::bench {

// A directory of the benchmark's own under the system's temporary directory, made on first use
// and removed when the program ends.
inline std::string benchDirectory() {
    static const std::string directory = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velk-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory");
        std::atexit([] { std::filesystem::remove_all(benchDirectory()); });
        return pattern;
    }();
    return directory;
}

}  // namespace velk::bench
