#include "platform/qt/PulseLibrary.h"

#include <dlfcn.h>

namespace platform::qt {

namespace {

const PulseLibrary* open() {
    void* handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    static PulseLibrary library;
    bool complete = true;
#define TARVIK_PULSE_RESOLVE(name)                                                \
    library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, #name)); \
    complete = complete && library.name != nullptr;
    TARVIK_PULSE_FUNCTIONS(TARVIK_PULSE_RESOLVE)
#undef TARVIK_PULSE_RESOLVE
    // Kept open for the run: the sound thread runs its code until exit.
    return complete ? &library : nullptr;
}

}  // namespace

const PulseLibrary* pulseLibrary() {
    static const PulseLibrary* library = open();
    return library;
}

}  // namespace platform::qt
