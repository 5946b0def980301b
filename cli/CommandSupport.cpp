#include "cli/CommandSupport.h"

#include "library/FolderLock.h"

namespace cli {

namespace {

// As many records as splitLibrary finds, without building them: a phrase
// up to ";" (or the end), a hint up to ":" (or the end).
std::size_t countRecords(const std::string& plain) {
    std::size_t count = 0, pos = 0;
    while (pos < plain.size()) {
        ++count;
        const std::size_t semi = plain.find(';', pos);
        if (semi == std::string::npos) break;
        const std::size_t colon = plain.find(':', semi + 1);
        pos = colon == std::string::npos ? plain.size() : colon + 1;
    }
    return count;
}

}  // namespace

bool openLibrary(const Context& c, Access access, LoadedLibrary& library) {
    std::string error;
    bool missing = false;
    if (!takeFolder(c.paths, access, missing, error) || (!missing && !loadLibrary(c.paths, library, error))) {
        complain(error);
        return false;
    }
    library.folderMissing = missing;
    if (library.source.empty() && !missing && access == Access::Read) {
        complain("note: " + c.paths.directory + " holds no library yet (no " +
                 c.paths.scrambledPuzzlePath.substr(c.paths.directory.size()) + ")");
    }
    if (library.source == c.paths.plainPuzzlePath) {
        complain("note: no OnLoad.dat here; the library was read from KXData.dat, as the game does");
    }
    if (access != Access::Change) library::releaseFolderLock();
    return true;
}

std::string libraryState(const std::string& plain) {
    const std::size_t records = countRecords(plain);
    const std::int64_t drawable = library::drawableCount(plain);
    std::string text = "The library holds " + std::to_string(records) + " record" + (records == 1 ? "" : "s");
    if (drawable > 2) return text + "; New Game draws from " + std::to_string(drawable) + " of them.\n";
    return text + "; New Game draws nothing before it holds 5 (the first and the last are never drawn).\n";
}

bool storeOrComplain(const Context& c, const LoadedLibrary& lib, const std::string& plain) {
    std::string error;
    if (storeLibrary(c.paths, lib, plain, error)) return true;
    complain(error);
    return false;
}

std::vector<std::string> takenPhrases(const LoadedLibrary& lib, const library::InsertionPlan& plan) {
    std::vector<std::string> phrases;
    phrases.reserve(lib.records.size() + 2);
    for (const auto& r : lib.records) phrases.push_back(r.phrase);
    if (plan.startRecord) phrases.push_back(library::kStartPhrase);
    if (plan.endRecord) phrases.push_back(library::kEndPhrase);
    return phrases;
}

}  // namespace cli
