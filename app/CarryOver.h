// Bringing a player's files from an earlier folder into the one in use: the
// files an earlier per-user install kept beside itself, or those of a copy
// whose own folder can no longer be written.
#pragma once

#include <string>
#include <vector>

#include "library/AppPaths.h"

namespace app {

enum class CarryMode {
    Move,   // the earlier folder is given up: its files go, once they are safe
    Copy,   // the earlier folder stays as it is (it cannot be written)
};

// Brings the library (OnLoad.dat with a live KXData.dat), the statistics and
// the configuration from `from` into the folder of `to`, each through the
// safe write. A file there is only replaced when it holds nothing of the
// player's: it is missing, the same bytes, or what a first start makes (the
// shipped library; zero statistics or the locked configuration when they are
// not newer than the earlier ones). Anything else is kept in both places and
// said in `notes`. With Move, only the running user's own regular files are
// taken, and removed from `from` once all of them are written; nothing is
// done while a game runs in either folder. Returns false when something was
// left behind.
bool carryOver(const std::string& from, const library::AppPaths& to, const std::string& shippedLibraryPath,
               CarryMode mode, std::vector<std::string>& notes);

}  // namespace app
