#include "library/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace library {

namespace {

int heldFd = -1;
std::string heldPath;
pid_t heldBy = 0;   // a forked child inherits these variables but not the lock
bool noRecordLocks = false;

bool holding(const std::string& path) { return heldFd >= 0 && heldPath == path && heldBy == ::getpid(); }

std::string lockPath(const std::string& directory) {
    if (directory.empty()) return kLockFileName;
    if (directory.back() == '/') return directory + kLockFileName;
    return directory + '/' + kLockFileName;
}

std::string folderOf(const std::string& directory) { return directory.empty() ? "." : directory; }

struct flock lockFrom(short type, off_t start) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = start;
    fl.l_len = 0;   // to the end, however far the file grows
    return fl;
}

off_t startOf(LockTaker taker) { return taker == LockTaker::Game ? 0 : 1; }

// Asks the kernel who holds a lock on fd's file that keeps a taker out.
FolderLockState whoHolds(int fd, const std::string& path) {
    struct flock fl = lockFrom(F_WRLCK, 0);
    if (::fcntl(fd, F_GETLK, &fl) != 0) return {LockResult::Unavailable, 0, LockHolder::Other, UnsafeLock::None, path};
    if (fl.l_type == F_UNLCK) return {LockResult::Taken, 0, LockHolder::Other, UnsafeLock::None, path};
    LockHolder who = LockHolder::Other;
    if (fl.l_type == F_WRLCK && fl.l_len == 0) {
        if (fl.l_start == startOf(LockTaker::Game)) who = LockHolder::Game;
        if (fl.l_start == startOf(LockTaker::Tool)) who = LockHolder::Tool;
    }
    return {LockResult::HeldElsewhere, fl.l_pid, who, UnsafeLock::None, path};
}

FolderLockState unsafeLock(UnsafeLock why, const std::string& path) {
    return {LockResult::Unsafe, 0, LockHolder::Other, why, path};
}

// Whether a lock file of this owner may be locked with: this user's, or any
// for root, whom no other user can keep out of a file.
bool trustedOwner(uid_t owner) { return owner == ::geteuid() || ::geteuid() == 0; }

// What stands at the lock file's place when it cannot be opened.
FolderLockState unopenable(int openError, const std::string& path) {
    if (openError == ELOOP) return unsafeLock(UnsafeLock::Link, path);
    if (openError == EISDIR) return unsafeLock(UnsafeLock::NotAFile, path);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        // None there and none can be made: a read-only or unwritable folder.
        return {LockResult::Unavailable, 0, LockHolder::Other, UnsafeLock::None, path};
    }
    if (S_ISLNK(st.st_mode)) return unsafeLock(UnsafeLock::Link, path);
    if (!S_ISREG(st.st_mode)) return unsafeLock(UnsafeLock::NotAFile, path);
    if (!trustedOwner(st.st_uid)) return unsafeLock(UnsafeLock::OtherOwner, path);
    if (openError == EROFS) {
        // A read-only folder: nothing can be written there, so the game may
        // run; only whether someone holds it still counts.
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return unsafeLock(UnsafeLock::NoAccess, path);
        FolderLockState state = whoHolds(fd, path);
        ::close(fd);
        if (state.result == LockResult::Taken) state.result = LockResult::Unavailable;
        return state;
    }
    return unsafeLock(UnsafeLock::NoAccess, path);
}

// A made lock file of root's in someone's folder goes to that folder's owner,
// so that a run as root does not lock the player out; an own one of a
// loose mode is narrowed, so that no other user can open it to hold it.
void settleLockFile(int fd, const struct stat& st, const std::string& directory) {
    if (::geteuid() == 0 && st.st_uid == 0) {
        struct stat dir {};
        if (::stat(folderOf(directory).c_str(), &dir) == 0 && dir.st_uid != 0 &&
            ::fchown(fd, dir.st_uid, dir.st_gid) != 0) {
            // Kept as root's; the lock works all the same.
        }
    }
    if (st.st_uid == ::geteuid() && st.st_nlink == 1 && (st.st_mode & 077) != 0) ::fchmod(fd, 0600);
}

}  // namespace

FolderLockState lockFolder(const std::string& directory, LockTaker taker) {
    const std::string path = lockPath(directory);
    if (holding(path)) return {LockResult::Taken, 0, LockHolder::Other, UnsafeLock::None, path};
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return unopenable(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return unsafeLock(UnsafeLock::NotAFile, path);
    }
    if (!trustedOwner(st.st_uid)) {
        ::close(fd);
        return unsafeLock(UnsafeLock::OtherOwner, path);
    }
    struct flock fl = lockFrom(F_WRLCK, startOf(taker));
    if (noRecordLocks || ::fcntl(fd, F_SETLK, &fl) != 0) {
        if (noRecordLocks) errno = ENOLCK;
        FolderLockState state{LockResult::HeldElsewhere, 0, LockHolder::Other, UnsafeLock::None, path};
        if (errno == EACCES || errno == EAGAIN) {
            const FolderLockState who = whoHolds(fd, path);
            if (who.result == LockResult::HeldElsewhere) state = who;
        } else {
            state.result = LockResult::Unavailable;   // ENOLCK: a file system without locks
        }
        ::close(fd);
        return state;
    }
    settleLockFile(fd, st, directory);
    releaseFolderLock();
    heldFd = fd;
    heldPath = path;
    heldBy = ::getpid();
    return {LockResult::Taken, 0, LockHolder::Other, UnsafeLock::None, path};
}

void releaseFolderLock() {
    // Closing drops the record lock; a forked child only closes its copy.
    if (heldFd >= 0) ::close(heldFd);
    heldFd = -1;
    heldPath.clear();
}

FolderLockState probeFolderLock(const std::string& directory) {
    const std::string path = lockPath(directory);
    if (holding(path)) return {LockResult::Taken, 0, LockHolder::Other, UnsafeLock::None, path};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {LockResult::Taken, 0, LockHolder::Other, UnsafeLock::None, path};
        return unopenable(errno, path);
    }
    const FolderLockState state = whoHolds(fd, path);
    ::close(fd);
    return state;
}

void pretendNoRecordLocks(bool pretend) { noRecordLocks = pretend; }

std::string describeUnsafeLock(UnsafeLock why) {
    switch (why) {
        case UnsafeLock::Link:
            return "is a symbolic link";
        case UnsafeLock::NotAFile:
            return "is not a plain file";
        case UnsafeLock::OtherOwner:
            return "belongs to another user";
        case UnsafeLock::NoAccess:
            return "cannot be opened";
        case UnsafeLock::None:
            break;
    }
    return "cannot be used";
}

}  // namespace library
