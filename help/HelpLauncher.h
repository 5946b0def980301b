// HelpButton: opens the help document in the desktop's default viewer.
#pragma once

#include "platform/Desktop.h"

namespace help {

inline constexpr const char* kHelpWindowTitle = "ZPT Quorvel";

// Returns false on the refusal path (no default processing follows).
bool LaunchHelp(platform::Window window);

}  // namespace help
