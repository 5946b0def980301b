// One run per folder: a lock file beside the program's files, held through a
// kernel record lock, so a crash or a kill never leaves it stuck.
#pragma once

#include <string>
#include <sys/types.h>

namespace library {

// The lock file's name inside the folder.
inline constexpr const char* kLockFileName = ".KXLock";

// Who takes the lock. The game locks the file from byte 0, the library tool
// from byte 1: the two ranges overlap, so either keeps the other out, and the
// start of the lock another process holds tells which of them it is.
enum class LockTaker { Game, Tool };

enum class LockResult {
    Taken,          // this process holds the folder now
    HeldElsewhere,  // another running process holds it
    Unsafe,         // the lock file is not this user's to lock with (see UnsafeLock)
    Unavailable,    // the folder can hold no lock (read-only, or a file system without locks)
};

enum class LockHolder { Game, Tool, Other };   // Other: a read lock, or a lock of any other shape

enum class UnsafeLock {
    None,
    Link,           // a symbolic link: never followed
    NotAFile,       // a directory, a pipe, a device
    OtherOwner,     // another user's file: they could hold it or take it away
    NoAccess,       // there, but this user may not open it (mode 000, say)
};

struct FolderLockState {
    LockResult result = LockResult::Unavailable;
    pid_t holder = 0;                    // with HeldElsewhere: the holding process, when the kernel tells it
    LockHolder heldBy = LockHolder::Other;   // with HeldElsewhere
    UnsafeLock unsafe = UnsafeLock::None;    // with Unsafe
    std::string lockFile;                // the lock file's path
};

// Takes the lock of directory (with or without a trailing '/'). The lock file
// is opened without following a link and created 0600 (made by root in
// another user's folder, it is given to that folder's owner). The lock is
// held until releaseFolderLock or the end of the process; the descriptor is
// closed on exec, so programs started from here never inherit it. Taking it
// again while this process holds it returns Taken.
FolderLockState lockFolder(const std::string& directory, LockTaker taker = LockTaker::Game);

// Lets the folder go (for tests and tools that finish before they exit).
void releaseFolderLock();

// Whether another process holds directory's lock, without taking it.
FolderLockState probeFolderLock(const std::string& directory);

// For tests: lockFolder acts as on a file system without record locks.
void pretendNoRecordLocks(bool pretend);

// A short account of why an unsafe lock file cannot be used ("belongs to
// another user", say).
std::string describeUnsafeLock(UnsafeLock why);

}  // namespace library
