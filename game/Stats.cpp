// Placeholder until statistics land.
#include "game/Stats.h"
namespace game {
std::array<PlayerStats, 2> playerStats;
void loadStats() {}
bool saveStats() { return false; }
void recordWin() {}
void recordLoss() {}
void resetStats() {}
void onResetStats(platform::Window) {}
}
