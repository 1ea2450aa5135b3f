#include "sdlmixerlibrary.h"

#include <dlfcn.h>

#include <map>
#include <memory>
#include <mutex>

namespace qv {

namespace {

struct Loaded {
    std::unique_ptr<SdlMixerLibrary> library;
    std::string error;
};

Loaded load(const char* libraryName) {
    Loaded result;
    // Kept loaded for the rest of the program: SDL's threads and callbacks
    // may outlive any one backend.
    void* handle = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        result.error = reason != nullptr ? reason : libraryName;
        return result;
    }
    auto library = std::make_unique<SdlMixerLibrary>();
    std::string missing;
    // A handle's symbols include those of the libraries it depends on, SDL2's among them.
#define QV_SDL_MIXER_RESOLVE(name)                                                   \
    library->name = reinterpret_cast<decltype(library->name)>(dlsym(handle, #name)); \
    if (library->name == nullptr)                                                    \
        missing += (missing.empty() ? "" : ", ") + std::string(#name);
    QV_SDL_MIXER_FUNCTIONS(QV_SDL_MIXER_RESOLVE)
#undef QV_SDL_MIXER_RESOLVE
    if (!missing.empty()) {
        result.error = std::string(libraryName) + " lacks " + missing;
        return result;
    }
    result.library = std::move(library);
    return result;
}

}  // namespace

const SdlMixerLibrary* loadSdlMixer(const char* libraryName, std::string* error) {
    static std::mutex mutex;
    static std::map<std::string, Loaded> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    auto found = loaded.find(libraryName);
    if (found == loaded.end())
        found = loaded.emplace(libraryName, load(libraryName)).first;
    if (found->second.library == nullptr && error != nullptr)
        *error = found->second.error;
    return found->second.library.get();
}

}  // namespace qv
