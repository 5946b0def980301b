#include "library/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace library {

namespace {

int heldFd = -1;
std::string heldPath;
pid_t heldBy = 0;   // a forked child inherits these variables but not the lock

bool holding(const std::string& path) { return heldFd >= 0 && heldPath == path && heldBy == ::getpid(); }

std::string lockPath(const std::string& directory) {
    if (directory.empty()) return kLockFileName;
    if (directory.back() == '/') return directory + kLockFileName;
    return directory + '/' + kLockFileName;
}

struct flock wholeFile(short type) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    return fl;
}

// Asks the kernel who holds a write lock on fd's file; 0 when nobody does.
FolderLockState whoHolds(int fd) {
    struct flock fl = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_GETLK, &fl) != 0) return {LockResult::Unavailable, 0};
    if (fl.l_type == F_UNLCK) return {LockResult::Taken, 0};
    return {LockResult::HeldElsewhere, fl.l_pid};
}

}  // namespace

FolderLockState lockFolder(const std::string& directory) {
    const std::string path = lockPath(directory);
    if (holding(path)) return {LockResult::Taken, 0};
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        // A lock file this user may not write (another user's run made it):
        // whoever holds it still shows.
        const FolderLockState other = probeFolderLock(directory);
        if (other.result == LockResult::HeldElsewhere) return other;
        return {LockResult::Unavailable, 0};
    }
    struct flock fl = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_SETLK, &fl) != 0) {
        FolderLockState state{LockResult::HeldElsewhere, 0};
        if (errno == EACCES || errno == EAGAIN) {
            const FolderLockState who = whoHolds(fd);
            if (who.result == LockResult::HeldElsewhere) state.holder = who.holder;
        } else {
            state.result = LockResult::Unavailable;
        }
        ::close(fd);
        return state;
    }
    releaseFolderLock();
    heldFd = fd;
    heldPath = path;
    heldBy = ::getpid();
    return {LockResult::Taken, 0};
}

void releaseFolderLock() {
    // Closing drops the record lock; a forked child only closes its copy.
    if (heldFd >= 0) ::close(heldFd);
    heldFd = -1;
    heldPath.clear();
}

FolderLockState probeFolderLock(const std::string& directory) {
    const std::string path = lockPath(directory);
    if (holding(path)) return {LockResult::Taken, 0};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {errno == ENOENT ? LockResult::Taken : LockResult::Unavailable, 0};
    const FolderLockState state = whoHolds(fd);
    ::close(fd);
    return state;
}

}  // namespace library
