// Placeholder until the library lands.
#include "library/AtomicFile.h"
namespace library {
bool replaceFileAtomically(const std::string&, const std::string&) { return false; }
bool readWholeFile(const std::string&, std::string&) { return false; }
}
