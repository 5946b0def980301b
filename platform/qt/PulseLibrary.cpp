#include "platform/qt/PulseLibrary.h"

#include "platform/qt/RuntimeLibrary.h"

namespace platform::qt {

const PulseLibrary* pulseLibrary() {
    static const PulseLibrary* library = []() -> const PulseLibrary* {
        static PulseLibrary found;
        RuntimeLibrary pulse("libpulse.so.0");
#define TARVIK_PULSE_FIND(name) pulse.find(found.name, #name);
        TARVIK_PULSE_FUNCTIONS(TARVIK_PULSE_FIND)
#undef TARVIK_PULSE_FIND
        return pulse.complete() ? &found : nullptr;
    }();
    return library;
}

}  // namespace platform::qt
