#include "library/LinkPolicy.h"

#include <cstdio>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace library {

namespace {

std::set<std::string>& reported() {
    static std::set<std::string> paths;
    return paths;
}

}  // namespace

std::string directoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool sharedDirectory(const std::string& directory) {
    struct stat st {};
    if (::stat(directory.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

Resolution resolveFile(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return Resolution::Followed;
        if (st.st_uid != ::geteuid() && sharedDirectory(directoryOf(target))) return Resolution::Refused;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return Resolution::Broken;
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : directoryOf(target) + "/" + link;
    }
    return Resolution::Broken;
}

void reportRefusedLink(const std::string& path) {
    if (!reported().insert(path).second) return;
    std::fprintf(stderr,
                 "tarvik-kxv: %s is a link that another user made in a folder others may write;"
                 " it is not followed, and nothing is read from or written through it\n",
                 path.c_str());
    std::fflush(stderr);
}

void forgetReportedLinks() { reported().clear(); }

}  // namespace library
