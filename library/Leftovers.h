// The temporary files the program writes its files through, and the removal
// of those a killed run left behind. Their names carry a mark no person
// would choose, so a player's own copies ("OnLoad.dat.backup", say) are
// never taken for them.
#pragma once

#include <string>

#include "library/AppPaths.h"

namespace library {

// Between the replaced file's name and mkstemp's six random characters.
inline constexpr const char* kTemporaryMark = ".tarvik-kxv-temp-";

// The mkstemp pattern of a temporary file that replaces target, beside it.
std::string temporaryPattern(const std::string& target);

// Whether name is a temporary file for a file called base: base, the mark
// and six characters of mkstemp's alphabet.
bool isTemporaryFor(const std::string& name, const std::string& base);

// Whether name has the shape of the temporary files earlier versions made,
// base, a dot and six random characters: at least one capital after the
// first character and one small letter, as mkstemp's random mix nearly
// always has and a word chosen by a person ("backup", "saved1", "orig01",
// "Backup") does not. The shape alone proves nothing (see removeLeftovers).
bool hasOldTemporaryShape(const std::string& name, const std::string& base);

// Removes the temporary files killed runs left beside the four game files of
// paths, and beside the final targets of those that are links. A file of the
// old shape goes only when it also proves to be one: this user's plain file
// of mode 0600 (mkstemp's) with a single link, whose content is what such a
// write held (a start of the library, of its scrambled form, of the
// statistics' numbers or of the default configuration). Call only while
// holding the folder.
void removeLeftovers(const AppPaths& paths);

}  // namespace library
