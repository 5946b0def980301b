#include "game/Stats.h"

#include <sstream>
#include <string>
#include <limits>

#include "game/RoundState.h"
#include "library/AppPaths.h"
#include "library/AtomicFile.h"
#include "library/PuzzleFile.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

bool& statsInHand = statsFileState.inHand;
std::array<std::int32_t, 6>& onDisk = statsFileState.onDisk;
bool& failureTold = statsFileState.failureTold;

constexpr const char* kNotSavedCaption = "Error - Tarvik_KXv";

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

// The six numbers as loadStats reads them: operator>> stores 0 for text that
// is no number and the nearest limit for a number out of range; once a read
// has failed, the later ones find the stream failed and leave their 0.
std::array<std::int32_t, 6> parseNumbers(const std::string& bytes) {
    std::array<std::int32_t, 6> numbers{};
    std::istringstream in(bytes);
    for (std::int32_t& n : numbers) {
        std::int32_t value = 0;
        in >> value;
        n = value;
    }
    return numbers;
}

void showAllStatistics() {
    auto& d = platform::desktop();
    for (std::size_t i = 0; i < playerStats.size(); ++i) {
        d.setText(statsDisplays[i].losses, playerStats[i].lossesText);
        d.setText(statsDisplays[i].wins, playerStats[i].winsText);
        d.setText(statsDisplays[i].total, playerStats[i].totalText);
    }
}

// Re-reads the file and adds to its numbers what this run changed since it
// last read or wrote them. False when the file is there but cannot be read:
// then nothing is written over it.
bool takeInOtherRunsBookings() {
    std::string bytes;
    switch (library::readFileIfPresent(library::appPaths.statsPath, bytes)) {
        case library::ReadOutcome::Failed:
            return false;
        case library::ReadOutcome::Missing:
            return true;   // nothing booked elsewhere to keep
        case library::ReadOutcome::Read:
            break;
    }
    const auto now = parseNumbers(bytes);
    if (now == onDisk) return true;
    const auto fields = fileOrder();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        *fields[i] = addClamped(now[i], static_cast<std::int64_t>(*fields[i]) - onDisk[i]);
    }
    for (auto& p : playerStats) rebuildTexts(p);
    showAllStatistics();
    return true;
}

// Books a change on disk at once, so a crash keeps it; when that fails, the
// player hears of it once instead of seeing numbers that are not kept.
void saveOrTell() {
    if (saveStats()) {
        failureTold = false;
        return;
    }
    if (failureTold) return;
    failureTold = true;
    const std::string& path = library::appPaths.statsPath;
    const std::string text =
        statsInHand ? "The scores could not be saved: " + path +
                          " cannot be written (is the disk full?). This game's result is shown but not kept."
                    : "The scores are not saved in this run: " + path +
                          " is there but cannot be read, so it is not written over.";
    platform::desktop().messageBox(text, kNotSavedCaption, platform::MB_OK);
}

}  // namespace

void loadStats() {
    std::string bytes;
    const library::ReadOutcome outcome = library::readFileIfPresent(library::appPaths.statsPath, bytes);
    // A file that is there but cannot be read is never written over: its
    // numbers are not known, so this run shows zeros and saves nothing.
    statsInHand = outcome != library::ReadOutcome::Failed;
    onDisk = {};
    if (outcome != library::ReadOutcome::Read) {
        for (auto& p : playerStats) {
            p.totalText = p.winsText = p.lossesText = "0";
        }
        return;
    }
    onDisk = parseNumbers(bytes);
    const auto fields = fileOrder();
    for (std::size_t i = 0; i < fields.size(); ++i) *fields[i] = onDisk[i];
    for (auto& p : playerStats) rebuildTexts(p);
}

bool saveStats() {
    if (!statsInHand) return false;
    const auto fields = fileOrder();
    // Without the folder's lock another run may have booked games since this
    // one read the file: those are kept, this run's changes added to them.
    if (!library::runningAlone() && !takeInOtherRunsBookings()) return false;
    std::string bytes;
    for (const std::int32_t* field : fields) {
        if (!bytes.empty()) bytes += ' ';
        bytes += std::to_string(*field);
    }
    if (!library::replaceFileAtomically(library::appPaths.statsPath, bytes)) return false;
    for (std::size_t i = 0; i < fields.size(); ++i) onDisk[i] = *fields[i];
    return true;
}

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
    saveOrTell();
}

void recordLoss() {
    const auto& s = roundState;
    if (s.wrongGuesses <= 6 || (s.currentPlayer != 1 && s.currentPlayer != 2)) return;
    PlayerStats& p = current();
    p.losses = addClamped(p.losses, 1);
    p.lossesText = std::to_string(p.losses);
    saveOrTell();
}

void resetStats() {
    const auto player = roundState.currentPlayer;
    if (player != 1 && player != 2) return;
    PlayerStats& p = current();
    p.totalScore = p.wins = p.losses = 0;
    rebuildTexts(p);
    saveOrTell();
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
