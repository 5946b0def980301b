// The statistics file: any bytes in KXStats.dat are read without harm, the
// displays' texts follow the numbers, and what is saved reads back the same.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "game/RoundState.h"
#include "game/Stats.h"

namespace {

// Six decimal integers separated by single spaces, nothing else.
bool isStatsLine(const std::string& s) {
    int numbers = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        if (numbers > 0) {
            if (s[i] != ' ') return false;
            ++i;
        }
        if (i < s.size() && s[i] == '-') ++i;
        const std::size_t digits = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        if (i == digits) return false;
        ++numbers;
    }
    return numbers == 6;
}

void checkTexts(const std::string& input) {
    for (const auto& p : game::playerStats) {
        FUZZ_CHECK(p.totalText == std::to_string(p.totalScore), fuzz::show(input));
        FUZZ_CHECK(p.winsText == std::to_string(p.wins), fuzz::show(input));
        FUZZ_CHECK(p.lossesText == std::to_string(p.losses), fuzz::show(input));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzz::resetProgram();
    fuzz::writeFile("KXStats.dat", input);

    game::loadStats();
    checkTexts(input);
    FUZZ_CHECK(fuzz::readFile("KXStats.dat") == input, "reading changed the file");
    const auto loaded = game::playerStats;

    // Saved, the numbers make a well-formed line that loads back unchanged.
    FUZZ_CHECK(game::saveStats(), "could not save after reading " + fuzz::show(input));
    const std::string saved = fuzz::readFile("KXStats.dat");
    FUZZ_CHECK(isStatsLine(saved), fuzz::show(saved) + " saved from " + fuzz::show(input));
    game::playerStats = {};
    game::loadStats();
    checkTexts(saved);
    for (int i = 0; i < 2; ++i) {
        const auto& before = loaded[i];
        const auto& after = game::playerStats[i];
        FUZZ_CHECK(before.totalScore == after.totalScore && before.wins == after.wins &&
                       before.losses == after.losses,
                   "player " + std::to_string(i + 1) + " changed through " + fuzz::show(saved));
    }

    // A win and a loss booked on top stay within the 32-bit range and are
    // on disk at once.
    game::recordWin();
    game::roundState.wrongGuesses = 7;
    game::recordLoss();
    checkTexts(input);
    const auto booked = game::playerStats;
    game::playerStats = {};
    game::loadStats();
    for (int i = 0; i < 2; ++i) {
        FUZZ_CHECK(booked[i].totalScore == game::playerStats[i].totalScore &&
                       booked[i].wins == game::playerStats[i].wins &&
                       booked[i].losses == game::playerStats[i].losses,
                   "the booking is not on disk: " + fuzz::show(fuzz::readFile("KXStats.dat")));
    }
    return 0;
}
