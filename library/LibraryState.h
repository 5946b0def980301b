// The library's program-wide record: how many records the library holds (as
// the last draw counted them, kept up by every add and delete since) and how
// often the add window was shown or hidden.
#pragma once

#include <cstdint>

namespace library {

struct LibraryState {
    std::int32_t recordCount = 0;
    std::int32_t addWindowToggleCount = 0;
};

extern LibraryState& libraryState;   // in app::programState

}  // namespace library
