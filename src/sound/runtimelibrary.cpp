#include "runtimelibrary.h"

#include <dlfcn.h>

namespace qv {

void* openRuntimeLibrary(const char* libraryName, std::string* error) {
    void* handle = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : libraryName;
    }
    return handle;
}

void* findRuntimeFunction(void* handle, const char* function, std::string* missing) {
    // A handle's symbols include those of the libraries it depends on.
    void* found = dlsym(handle, function);
    if (found == nullptr)
        *missing += (missing->empty() ? "" : ", ") + std::string(function);
    return found;
}

}  // namespace qv
