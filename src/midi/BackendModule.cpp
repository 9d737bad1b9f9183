#include "midi/BackendModule.h"

#include <dlfcn.h>

#include <filesystem>

namespace midi {

namespace {

struct Loaded {
    const BackendEntry* entry = nullptr;
    std::string whyNot;
};

// A program of the build tree (a test, velkctl before it is installed) takes the modules built
// there; an installed program those installed with it, found from where the program is.
std::filesystem::path moduleDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    // The program's path has its links resolved; the build tree's must have them too.
    const std::filesystem::path buildTree = std::filesystem::weakly_canonical(VELK_BUILD_DIR, error);
    if (!error && program.native().starts_with(buildTree.native() + "/"))
        return VELK_MODULE_BUILD_DIR;
    return (program.parent_path() / VELK_MODULE_DIR_FROM_PROGRAM).lexically_normal();
}

// The module is never closed: its threads and the services it handed out may live until exit.
Loaded load(const char* backendName, const char* moduleFile) {
    const std::string why = std::string("the ") + backendName + " backend could not be loaded (";
    const std::string path = moduleDirectory() / moduleFile;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return {nullptr, why + dlerror() + ")"};
    auto* entryPoint = reinterpret_cast<decltype(&velk_midi_backend)>(dlsym(module, "velk_midi_backend"));
    if (!entryPoint)
        return {nullptr, why + path + " is not a MIDI backend)"};
    return {entryPoint(), ""};
}

const Loaded& alsa() {
#if VELK_HAVE_ALSA
    static const Loaded loaded = load("ALSA", VELK_ALSA_MODULE);
#else
    static const Loaded loaded{nullptr, "built without ALSA sequencer support"};
#endif
    return loaded;
}

const Loaded& jack() {
#if VELK_HAVE_JACK
    static const Loaded loaded = load("JACK", VELK_JACK_MODULE);
#else
    static const Loaded loaded{nullptr, "built without JACK support"};
#endif
    return loaded;
}

}  // namespace

const BackendEntry* loadBackend(Backend backend, std::string& whyNot) {
    const Loaded& loaded = backend == Backend::Alsa ? alsa() : jack();
    whyNot = loaded.whyNot;
    return loaded.entry;
}

}  // namespace midi
