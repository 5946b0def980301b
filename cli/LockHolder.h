// Who holds the library's folder when the tool cannot take it: the game, or
// another run of this tool (an import, say), told apart by the holding
// process's name.
#pragma once

#include <string>

#include "library/FolderLock.h"

namespace cli {

enum class Holder { Game, Tool, Unknown };

// Unknown when the kernel did not name the process (or it ended meanwhile).
Holder holderOf(const library::FolderLockState& state);

// "the game is running on the library in DIR (process N); close it and try
// again." or the like for another run of the tool.
std::string heldMessage(const library::FolderLockState& state, const std::string& where);

}  // namespace cli
