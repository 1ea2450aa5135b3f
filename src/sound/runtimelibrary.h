#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace qv {

// Libraries the program loads when it first needs them rather than when it
// starts (SDL2_mixer, FluidSynth): their loading and linking would otherwise
// stand between a click on the program and its first window, and the
// program links only Qt. Each is kept loaded for the rest of the program,
// since threads and callbacks of theirs may outlive any one user.
//
// A table of functions names them in an X-macro list and declares them with
// QV_RUNTIME_FUNCTION_POINTER; its resolve() fills them in with
// QV_RUNTIME_FUNCTION_RESOLVE (see sdlmixerlibrary.h).

// dlopen()s the library; nullptr with the reason in *error.
void* openRuntimeLibrary(const char* libraryName, std::string* error);
// The named function of an open library; nullptr after adding its name to *missing.
void* findRuntimeFunction(void* handle, const char* function, std::string* missing);

#define QV_RUNTIME_FUNCTION_POINTER(name) decltype(&::name) name = nullptr;
#define QV_RUNTIME_FUNCTION_RESOLVE(name) \
    name = reinterpret_cast<decltype(name)>(::qv::findRuntimeFunction(handle, #name, &missing));

// Loads the library and resolves the table's functions, once per name; later
// calls are cheap and may come from any thread. Returns nullptr when the
// library or one of its functions is missing, with the reason in *error.
template <typename Table>
const Table* loadRuntimeLibrary(const char* libraryName, std::string* error) {
    struct Loaded {
        std::unique_ptr<Table> table;
        std::string error;
    };
    static std::mutex mutex;
    static std::map<std::string, Loaded> loaded;
    const std::lock_guard<std::mutex> lock(mutex);
    auto found = loaded.find(libraryName);
    if (found == loaded.end()) {
        Loaded result;
        if (void* handle = openRuntimeLibrary(libraryName, &result.error)) {
            auto table = std::make_unique<Table>();
            std::string missing;
            table->resolve(handle, missing);
            if (missing.empty())
                result.table = std::move(table);
            else
                result.error = std::string(libraryName) + " lacks " + missing;
        }
        found = loaded.emplace(libraryName, std::move(result)).first;
    }
    if (found->second.table == nullptr && error != nullptr)
        *error = found->second.error;
    return found->second.table.get();
}

}  // namespace qv
