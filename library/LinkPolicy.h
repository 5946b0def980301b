// Which symbolic links the program follows to its files. In the player's own
// folders every link is followed. In a folder that others may write (group-
// or world-writable, sticky or not) a link is followed only when this user
// made it: one planted by someone else could point the program's writes at
// any file of the player's.
#pragma once

#include <string>

namespace library {

enum class Resolution {
    Followed,   // target holds the file the chain of links ends in (path itself when no link)
    Refused,    // a link another user planted in a shared folder: the file counts as unreadable
    Broken,     // a loop or an unreadable link
};

// Follows the links at path, hop by hop, under the rule above. Relative
// targets count from the link's own directory.
Resolution resolveFile(const std::string& path, std::string& target);

// Whether others than the owner may write the directory.
bool sharedDirectory(const std::string& directory);

// The directory part of a path ("." for a bare name).
std::string directoryOf(const std::string& path);

// Tells the player on stderr, once per path in a run, that a refused link
// is left alone.
void reportRefusedLink(const std::string& path);

// For tests: report every refused link again.
void forgetReportedLinks();

}  // namespace library
