// Replacing a file so that a crash, a kill or a full disk leaves either the
// old content or the new, never a cut file.
#pragma once

#include <string>

namespace library {

// Writes bytes to a temporary file beside path, flushes it, renames it over
// path and flushes the directory, so the change survives a power cut as well.
// A symbolic link at path is followed: its final target is replaced and the
// link stays; a link refused in a shared folder (library/LinkPolicy.h) is
// never written through. A replaced file keeps its permission bits, its
// owner and its group (a run as root gives the player's files back to the
// player); a new one gets 0644, and, made by root in another user's folder,
// that folder's owner and group. Returns false (and leaves path untouched)
// on any failure.
//
// Unflushed: the same replacement without the two flushes, for a file that is
// only a copy made from another at every start (a power cut may then leave
// the old copy or none, which the next start makes again), so that the start
// does not wait for the disk.
enum class Flush { ToDisk, Unflushed };
bool replaceFileAtomically(const std::string& path, const std::string& bytes, Flush flush = Flush::ToDisk);

// Reads the whole file; false when it cannot be opened or read. Links are
// followed under the same rule as for writing.
bool readWholeFile(const std::string& path, std::string& bytes);

enum class ReadOutcome {
    Read,      // the whole file is in bytes
    Missing,   // no such file
    Failed,    // there, but not readable as a file (rights, a directory, I/O, a refused link)
};

// As readWholeFile, telling a missing file from one that cannot be read.
ReadOutcome readFileIfPresent(const std::string& path, std::string& bytes);

// Whether path names something this run may not read: a file without read
// rights for it, a refused link. A missing file is not.
bool presentButUnreadable(const std::string& path);

}  // namespace library
