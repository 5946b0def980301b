// tarvik-make-library: builds the shipped, scrambled puzzle library.
//
// Usage:  tarvik-make-library <puzzles.txt> <OnLoad.dat>
//
// Reads the readable source, checks every line (see the top of puzzles.txt
// for the format), writes the records back to back and scrambles them into
// the output file, replacing it in one step. Any broken line is reported
// with its number and nothing is written. The output depends on the source
// alone, so running it twice gives the same bytes.
//
// The build target shipped_library (configure with -DTARVIK_TOOLS=ON) runs it
// on resources/puzzles/puzzles.txt and resources/OnLoad.dat.

#include <cstdio>
#include <string>

#include "PuzzleSource.h"
#include "library/AtomicFile.h"
#include "library/PuzzleFile.h"

namespace {

// The game unscrambles with this exact shift; refuse to write a library if
// the transform linked here does anything else.
bool transformIsSound(const std::string& plain, const std::string& scrambled) {
    if (library::scrambleBytes("go;up:") != "hq>yu@") return false;
    if (scrambled.size() != plain.size()) return false;
    return library::unscrambleBytes(scrambled) == plain;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <puzzles.txt> <OnLoad.dat>\n", argv[0]);
        return 2;
    }
    const std::string sourcePath = argv[1];
    const std::string outputPath = argv[2];

    std::string source;
    if (!library::readWholeFile(sourcePath, source)) {
        std::fprintf(stderr, "%s: cannot read\n", sourcePath.c_str());
        return 1;
    }
    const auto parsed = puzzle_source::parsePuzzleSource(source);
    if (!parsed.errors.empty()) {
        for (const auto& e : parsed.errors)
            std::fprintf(stderr, "%s: %s\n", sourcePath.c_str(), e.c_str());
        std::fprintf(stderr, "%s: %zu error(s), nothing written\n", sourcePath.c_str(),
                     parsed.errors.size());
        return 1;
    }

    const std::string plain = puzzle_source::buildLibraryText(parsed.puzzles);
    const std::string scrambled = library::scrambleBytes(plain);
    if (!transformIsSound(plain, scrambled)) {
        std::fprintf(stderr, "the linked scramble transform is not the game's; nothing written\n");
        return 1;
    }
    if (!library::replaceFileAtomically(outputPath, scrambled)) {
        std::fprintf(stderr, "%s: cannot write\n", outputPath.c_str());
        return 1;
    }
    std::printf("%s: %zu puzzles (%zu drawable), %zu bytes\n", outputPath.c_str(),
                parsed.puzzles.size(), parsed.puzzles.size() - 2, scrambled.size());
    return 0;
}
