#include "library/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a chain of symbolic links at path ends in (path itself when it is
// no link). Relative targets count from the link's own directory. False for
// a loop or an unreadable link.
bool finalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return false;
        link.resize(static_cast<std::size_t>(n));
        if (link.empty()) return false;
        target = link.front() == '/' ? link : directoryOf(target) + "/" + link;
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
    if (!finalTarget(path, target)) return false;
    // The permission bits of the file replaced; a new file gets the usual ones.
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) return false;
        mode = old.st_mode & 07777;
    }
    // The temporary file sits beside the target, so the rename is atomic.
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
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

ReadOutcome readFileIfPresent(const std::string& path, std::string& bytes) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Failed;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;   // a directory, an I/O error: the content is not known whole
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) bytes.clear();
    return ok ? ReadOutcome::Read : ReadOutcome::Failed;
}

bool isTemporaryFor(const std::string& name, const std::string& base) {
    if (name.size() != base.size() + 7 || name.compare(0, base.size(), base) != 0) return false;
    if (name[base.size()] != '.') return false;
    for (std::size_t i = base.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum) return false;
    }
    return true;
}

void removeLeftoverTemporaries(const std::string& directory, const std::vector<std::string>& bases) {
    const std::string dir = directory.empty() ? "." : directory;
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return;
    const std::string prefix = directory.empty() ? "" : (dir.back() == '/' ? dir : dir + "/");
    while (const dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        for (const auto& base : bases) {
            if (!isTemporaryFor(name, base)) continue;
            struct stat st {};
            const std::string full = prefix + name;
            // Only plain files: a directory of such a name is not ours.
            if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(full.c_str());
            break;
        }
    }
    ::closedir(d);
}

}  // namespace library
