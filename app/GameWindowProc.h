// The window procedure shared by all three top-level windows.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"

namespace app {

long GameWindowProc(platform::Window window, platform::Message message, std::uintptr_t wParam,
                    std::intptr_t lParam);

// Arrow-key nudging of the main and add-puzzle windows.
void nudgeWindows(int virtualKey);

}  // namespace app
