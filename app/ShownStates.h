// The game's states that only pictures show, gathered for the screen reader.
#pragma once

#include "ui/AccessibleNames.h"

namespace app {

ui::ShownStates shownStates();

}  // namespace app
