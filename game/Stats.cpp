#include "game/Stats.h"

#include <sstream>
#include <string>
#include <limits>

#include "app/AppPaths.h"
#include "game/RoundState.h"
#include "library/AtomicFile.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

std::array<PlayerStats, 2> playerStats;

namespace {

// Whether this run read the statistics file, or found none; set by loadStats.
bool statsInHand = true;

PlayerStats& current() { return playerStats[roundState.currentPlayer == 2 ? 1 : 0]; }

// Totals and counts stop at the ends of the 32-bit range instead of wrapping.
std::int32_t addClamped(std::int32_t value, std::int64_t delta) {
    const std::int64_t sum = static_cast<std::int64_t>(value) + delta;
    if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

void rebuildTexts(PlayerStats& p) {
    p.totalText = std::to_string(p.totalScore);
    p.winsText = std::to_string(p.wins);
    p.lossesText = std::to_string(p.losses);
}

// The six numbers in file order.
std::array<std::int32_t*, 6> fileOrder() {
    auto& one = playerStats[0];
    auto& two = playerStats[1];
    return {&one.totalScore, &one.wins, &one.losses, &two.totalScore, &two.wins, &two.losses};
}

// Where a player's three texts go, written losses, wins, total.
struct StatsDisplays {
    int losses, wins, total;
};
constexpr std::array<StatsDisplays, 2> statsDisplays = {{
    {ui::id::PlayerOneLossesDisplay, ui::id::PlayerOneWinsDisplay, ui::id::PlayerOneTotalDisplay},
    {ui::id::PlayerTwoLossesDisplay, ui::id::PlayerTwoWinsDisplay, ui::id::PlayerTwoTotalDisplay},
}};

}  // namespace

void loadStats() {
    std::string bytes;
    const library::ReadOutcome outcome = library::readFileIfPresent(app::appPaths.statsPath, bytes);
    // A file that is there but cannot be read is never written over: its
    // numbers are not known, so this run shows zeros and saves nothing.
    statsInHand = outcome != library::ReadOutcome::Failed;
    if (outcome != library::ReadOutcome::Read) {
        for (auto& p : playerStats) {
            p.totalText = p.winsText = p.lossesText = "0";
        }
        return;
    }
    std::istringstream in(bytes);
    // operator>> stores 0 for text that is no number and the nearest limit for
    // a number out of range; once a read has failed, the later ones find the
    // stream failed and leave their 0.
    for (std::int32_t* field : fileOrder()) {
        std::int32_t value = 0;
        in >> value;
        *field = value;
    }
    for (auto& p : playerStats) rebuildTexts(p);
}

bool saveStats() {
    if (!statsInHand) return false;
    std::string bytes;
    for (const std::int32_t* field : fileOrder()) {
        if (!bytes.empty()) bytes += ' ';
        bytes += std::to_string(*field);
    }
    return library::replaceFileAtomically(app::appPaths.statsPath, bytes);
}

void resetStatsFileState() { statsInHand = true; }

void recordWin() {
    const auto& s = roundState;
    if (s.wrongGuesses > 6 || (s.currentPlayer != 1 && s.currentPlayer != 2)) return;
    PlayerStats& p = current();
    p.wins = addClamped(p.wins, 1);
    p.winsText = std::to_string(p.wins);
    const std::int64_t gameScore =
        (static_cast<std::int64_t>(s.plainAnswer.size()) - s.wrongGuesses) * 10;
    p.totalScore = addClamped(p.totalScore, gameScore);
    p.totalText = std::to_string(p.totalScore);
    saveStats();   // booked on disk at once, so a crash keeps it
}

void recordLoss() {
    const auto& s = roundState;
    if (s.wrongGuesses <= 6 || (s.currentPlayer != 1 && s.currentPlayer != 2)) return;
    PlayerStats& p = current();
    p.losses = addClamped(p.losses, 1);
    p.lossesText = std::to_string(p.losses);
    saveStats();
}

void resetStats() {
    const auto player = roundState.currentPlayer;
    if (player != 1 && player != 2) return;
    PlayerStats& p = current();
    p.totalScore = p.wins = p.losses = 0;
    rebuildTexts(p);
    saveStats();
}

void onResetStats(platform::Window window) {
    auto& d = platform::desktop();
    const auto player = roundState.currentPlayer;
    if ((player == 1 || player == 2) && playerStats[player - 1].totalScore > 0) {
        ui::playCue(ui::SoundCue::Click);
        resetStats();
        const PlayerStats& p = playerStats[player - 1];
        const StatsDisplays& out = statsDisplays[player - 1];
        d.setText(out.losses, p.lossesText);
        d.setText(out.wins, p.winsText);
        d.setText(out.total, p.totalText);
        ui::announce("Player " + std::to_string(player) + ": score, wins and losses reset");
    } else {
        ui::refuse(ui::Refusal::NothingToReset);
    }
    d.setFocus(window);
}

}  // namespace game
