// Scores and the statistics file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/Desktop.h"

namespace game {

struct PlayerStats {
    std::int32_t totalScore = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::string totalText;
    std::string winsText;
    std::string lossesText;
};

// Player one is [0], player two [1].
extern std::array<PlayerStats, 2>& playerStats;   // in app::programState

// Whether this run read the statistics file, or found none; set by loadStats.
struct StatsFileState {
    bool inHand = true;
    // The six numbers in file order as this run last read or wrote them: what
    // another run (in a folder without a lock) has booked since is the file's
    // difference from them.
    std::array<std::int32_t, 6> onDisk{};
    // Whether the player has been told that the scores are not being saved;
    // told again only after a save has worked meanwhile.
    bool failureTold = false;
};
extern StatsFileState& statsFileState;   // in app::programState

// Loads the file; one that is there but cannot be read is never saved over.
void loadStats();
// Replaces the statistics file atomically; false when it could not be
// written or was not read at start.
bool saveStats();
// Each booking and the reset also saves the file at once.
void recordWin();
void recordLoss();
void resetStats();
void onResetStats(platform::Window window);   // ResetStatsButton (3100)

}  // namespace game
