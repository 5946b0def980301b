// Placeholder until the library lands.
#include "library/Config.h"
namespace library {
std::int32_t Disable_Console = 0;
std::int32_t Disable_VCCntls = 0;
void loadConfig() {}
}
