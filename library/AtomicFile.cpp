#include "library/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "library/Leftovers.h"
#include "library/LinkPolicy.h"

namespace library {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Gives a file that replaces one of another owner that owner back, and a
// new file made by root in someone's folder that folder's owner; a chown that
// is not allowed (an ordinary user cannot give files away) leaves it as made.
void keepOwner(int fd, const struct stat* old, const std::string& directory) {
    uid_t uid = ::geteuid();
    gid_t gid = ::getegid();
    struct stat dir {};
    if (old != nullptr) {
        uid = old->st_uid;
        gid = old->st_gid;
    } else if (::geteuid() == 0 && ::stat(directory.c_str(), &dir) == 0) {
        uid = dir.st_uid;
        gid = dir.st_gid;
    }
    if (uid != ::geteuid() || gid != ::getegid()) {
        if (::fchown(fd, uid, gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), gid) != 0) {
            // Kept as made: the content matters more than its owner.
        }
    }
}

// The file a write of path goes to; false for a refused or broken link.
bool writeTarget(const std::string& path, std::string& target) {
    switch (resolveFile(path, target)) {
        case Resolution::Followed:
            return true;
        case Resolution::Refused:
            reportRefusedLink(path);
            return false;
        case Resolution::Broken:
            break;
    }
    return false;
}

// Flushes the directory entry of a rename to the disk.
bool syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;   // some file systems cannot
    ::close(fd);
    return ok;
}

}  // namespace

bool replaceFileAtomically(const std::string& path, const std::string& bytes, Flush flush) {
    const bool toDisk = flush == Flush::ToDisk;
    std::string target;
    if (!writeTarget(path, target)) return false;
    // The permission bits of the file replaced; a new file gets the usual ones.
    mode_t mode = 0644;
    struct stat old {};
    const bool replacing = ::lstat(target.c_str(), &old) == 0;
    if (replacing) {
        if (!S_ISREG(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    }
    // The temporary file sits beside the target, so the rename is atomic;
    // it gets its owner at once, so a leftover of a killed root run is the
    // player's to remove.
    std::string temp = temporaryPattern(target);
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    keepOwner(fd, replacing ? &old : nullptr, directoryOf(target));
    bool ok = writeAll(fd, bytes) && (!toDisk || ::fsync(fd) == 0);
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new content is in place; a directory that cannot be flushed only
    // weakens the guarantee against a power cut.
    if (toDisk) syncDirectory(directoryOf(target));
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    return readFileIfPresent(path, bytes) == ReadOutcome::Read;
}

// Opens the file a read of path reads; -1 with errno set when it cannot.
int openForReading(const std::string& path) {
    std::string target;
    switch (resolveFile(path, target)) {
        case Resolution::Followed:
            break;
        case Resolution::Refused:
            reportRefusedLink(path);
            errno = EACCES;
            return -1;
        case Resolution::Broken:
            errno = ELOOP;
            return -1;
    }
    // In a shared folder a link swapped in after the check is not followed.
    const int noFollow = sharedDirectory(directoryOf(target)) ? O_NOFOLLOW : 0;
    return ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | noFollow);
}

bool presentButUnreadable(const std::string& path) {
    const int fd = openForReading(path);
    if (fd < 0) return errno != ENOENT;
    ::close(fd);
    return false;
}

ReadOutcome readFileIfPresent(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = openForReading(path);
    if (fd < 0) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
    // Only a plain file: a directory, a pipe or a device is no game file.
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadOutcome::Failed;
    }
    if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;   // an I/O error: the content is not known whole
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok ? ReadOutcome::Read : ReadOutcome::Failed;
}

}  // namespace library
