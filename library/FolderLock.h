// One run per folder: a lock file beside the program's files, held through a
// kernel record lock, so a crash or a kill never leaves it stuck.
#pragma once

#include <string>
#include <sys/types.h>

namespace library {

// The lock file's name inside the folder.
inline constexpr const char* kLockFileName = ".KXLock";

enum class LockResult {
    Taken,          // this process holds the folder now
    HeldElsewhere,  // another running process holds it
    Unavailable,    // no lock file could be opened (an unwritable folder, say)
};

struct FolderLockState {
    LockResult result = LockResult::Unavailable;
    pid_t holder = 0;   // with HeldElsewhere: the holding process, when the kernel tells it
};

// Takes the lock of directory (with or without a trailing '/'). The lock is
// held until releaseFolderLock or the end of the process; the descriptor is
// closed on exec, so programs started from here never inherit it. Taking it
// again while this process holds it returns Taken.
FolderLockState lockFolder(const std::string& directory);

// Lets the folder go (for tests and tools that finish before they exit).
void releaseFolderLock();

// Whether another process holds directory's lock, without taking it.
FolderLockState probeFolderLock(const std::string& directory);

}  // namespace library
