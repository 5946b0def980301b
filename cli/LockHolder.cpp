#include "cli/LockHolder.h"

#include <fstream>

namespace cli {

namespace {

// The kernel keeps the first 15 bytes of a program's name.
constexpr const char* kToolComm = "tarvik-kxv-libr";

}  // namespace

Holder holderOf(const library::FolderLockState& state) {
    if (state.result != library::LockResult::HeldElsewhere || state.holder <= 0) return Holder::Unknown;
    std::ifstream comm("/proc/" + std::to_string(state.holder) + "/comm");
    std::string name;
    if (!std::getline(comm, name)) return Holder::Unknown;
    return name == kToolComm ? Holder::Tool : Holder::Game;
}

std::string heldMessage(const library::FolderLockState& state, const std::string& where) {
    const std::string process = state.holder > 0 ? " (process " + std::to_string(state.holder) + ")" : std::string();
    switch (holderOf(state)) {
        case Holder::Tool:
            return "another run of tarvik-kxv-library" + process + " is using the library in " + where +
                   " (an import, say); try again when it is done.";
        case Holder::Game:
            return "the game is running on the library in " + where + process + "; close it and try again.";
        case Holder::Unknown:
            break;
    }
    return "the game or another run of tarvik-kxv-library" + process + " is using the library in " + where +
           "; try again when it is done.";
}

}  // namespace cli
