// The scrambled storage: the transform both ways on any bytes, and the
// start-up unscramble and exit scramble of the files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "library/PuzzleFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as the stored form and as the plain form: each way back is exact.
    const std::string scrambled = library::scrambleBytes(bytes);
    FUZZ_CHECK(scrambled.size() == bytes.size(), fuzz::show(bytes));
    FUZZ_CHECK(library::unscrambleBytes(scrambled) == bytes, fuzz::show(bytes));
    FUZZ_CHECK(library::scrambleBytes(library::unscrambleBytes(bytes)) == bytes, fuzz::show(bytes));

    // Every byte moves up by its offset, 1 to 10 in turn, modulo 256; text
    // without control characters never scrambles to a line end or ^Z.
    bool printable = true;
    for (std::size_t k = 0; k < size; ++k) {
        const auto plain = static_cast<unsigned char>(bytes[k]);
        const auto stored = static_cast<unsigned char>(scrambled[k]);
        FUZZ_CHECK(static_cast<unsigned char>(stored - plain) == k % 10 + 1,
                   "position " + std::to_string(k) + " of " + fuzz::show(bytes));
        if (plain < 32) printable = false;
    }
    if (printable) {
        FUZZ_CHECK(scrambled.find_first_of(std::string("\n\r\x1a", 3)) == std::string::npos,
                   fuzz::show(bytes));
    }

    // Start-up turns the stored file into the plain one; the exit stores the
    // plain file again exactly as it was and leaves the placeholder.
    fuzz::resetProgram();
    fuzz::writeFile("OnLoad.dat", bytes);
    library::unscramblePuzzleFile();
    FUZZ_CHECK(fuzz::readFile("KXData.dat") == library::unscrambleBytes(bytes), fuzz::show(bytes));
    FUZZ_CHECK(fuzz::readFile("OnLoad.dat") == bytes, "start-up changed the stored file");
    FUZZ_CHECK(library::scramblePuzzleFile(), "the exit could not store " + fuzz::show(bytes));
    FUZZ_CHECK(fuzz::readFile("OnLoad.dat") == bytes, "the stored file did not come back whole");
    FUZZ_CHECK(fuzz::readFile("KXData.dat") == library::kPurgedText, "no placeholder after the exit");
    return 0;
}
