// Replacing a file so that a crash, a kill or a full disk leaves either the
// old content or the new, never a cut file.
#pragma once

#include <string>
#include <vector>

namespace library {

// Writes bytes to a temporary file beside path, flushes it, renames it over
// path and flushes the directory, so the change survives a power cut as well.
// A symbolic link at path is followed: its final target is replaced and the
// link stays. A replaced file keeps its permission bits; a new one gets 0644.
// Returns false (and leaves path untouched) on any failure.
//
// Unflushed: the same replacement without the two flushes, for a file that is
// only a copy made from another at every start (a power cut may then leave
// the old copy or none, which the next start makes again), so that the start
// does not wait for the disk.
enum class Flush { ToDisk, Unflushed };
bool replaceFileAtomically(const std::string& path, const std::string& bytes, Flush flush = Flush::ToDisk);

// Reads the whole file; false when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes);

enum class ReadOutcome {
    Read,      // the whole file is in bytes
    Missing,   // no such file
    Failed,    // there, but not readable as a file (rights, a directory, I/O)
};

// As readWholeFile, telling a missing file from one that cannot be read.
ReadOutcome readFileIfPresent(const std::string& path, std::string& bytes);

// Whether name is one of replaceFileAtomically's temporary files for a file
// called base: base, a dot and six characters of mkstemp's alphabet.
bool isTemporaryFor(const std::string& name, const std::string& base);

// Removes, in directory, the temporary files that a killed run left beside
// the named files. Call only while holding the folder.
void removeLeftoverTemporaries(const std::string& directory, const std::vector<std::string>& bases);

}  // namespace library
