// Placeholder until the Qt desktop lands.
#include "platform/qt/QtMain.h"

#include <cstdio>

namespace platform::qt {
int runQtProgram(int, char**) {
    std::fputs("tarvik-kxv: the desktop layer is not built yet\n", stderr);
    return 1;
}
}  // namespace platform::qt
