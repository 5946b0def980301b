// Replacing a file so that a crash, a kill or a full disk leaves either the
// old content or the new, never a cut file.
#pragma once

#include <string>

namespace library {

// Writes bytes to a temporary file beside path, flushes it and renames it
// over path. Returns false (and leaves path untouched) on any failure.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);

// Reads the whole file; false when it cannot be opened.
bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace library
