// Listing a folder of 10,000 impulse-response files (plus folders, hidden files, other files and
// links) for the speaker panel, side by side with a bare readdir + lstat pass over the same
// folder: the filter, the shown names and the sort are what the panel adds to the file system's
// own cost.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/speaker/FileItem.h"

namespace {

constexpr int kIrFiles = 10000;
constexpr int kFolders = 200;
constexpr int kHiddenFiles = 500;
constexpr int kOtherFiles = 500;
constexpr int kLinks = 100;

const std::vector<std::string> kFileTypes{"aif", "aiff", "wav", "AIF", "AIFF", "WAV"};

std::string populate(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const char* extensions[] = {"wav", "WAV", "aif", "aiff"};
    for (int i = 0; i < kIrFiles; ++i)
        std::ofstream(folder / ("Cab " + std::to_string((i * 7919) % kIrFiles) + "." + extensions[i % 4]));
    for (int i = 0; i < kFolders; ++i)
        std::filesystem::create_directory(folder / ("Pack " + std::to_string(i)));
    for (int i = 0; i < kHiddenFiles; ++i)
        std::ofstream(folder / ("._Cab " + std::to_string(i) + ".wav"));
    for (int i = 0; i < kOtherFiles; ++i)
        std::ofstream(folder / ("Notes " + std::to_string(i) + ".txt"));
    for (int i = 0; i < kLinks; ++i)
        std::filesystem::create_symlink(folder / "Notes 0.txt",
                                        folder / ("Link " + std::to_string(i) + ".wav"));
    return folder.string();
}

const std::string& benchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "velk-filelist-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        const std::string path = populate(std::filesystem::path(pattern) / "IR");
        std::atexit([] { std::filesystem::remove_all(std::filesystem::path(benchFolder()).parent_path()); });
        return path;
    }();
    return folder;
}

void BM_ReaddirLstat(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        DIR* dir = opendir(folder.c_str());
        size_t entries = 0;
        while (const dirent* entry = readdir(dir)) {
            struct stat attributes {};
            entries += lstat((folder + "/" + entry->d_name).c_str(), &attributes) == 0;
        }
        closedir(dir);
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_ReaddirLstat)->Unit(benchmark::kMillisecond);

void BM_MakeFileItemList(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        FileItemList list = velk::browse::makeFileItemList(folder, kFileTypes);
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["entries"] =
        static_cast<double>(velk::browse::makeFileItemList(folder, kFileTypes).size());
}
BENCHMARK(BM_MakeFileItemList)->Unit(benchmark::kMillisecond);

}  // namespace
