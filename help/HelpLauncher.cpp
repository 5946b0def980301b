// Placeholder until help lands.
#include "help/HelpLauncher.h"
namespace help {
bool LaunchHelp(platform::Window) { return true; }
}
