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
extern std::array<PlayerStats, 2> playerStats;

void loadStats();
// Replaces the statistics file atomically; false when it could not be written.
bool saveStats();
void recordWin();
void recordLoss();
void resetStats();
void onResetStats(platform::Window window);   // ResetStatsButton (3100)

}  // namespace game
