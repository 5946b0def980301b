// The two ends of a game and the flight animation after an alternate loss.
#include "game/GallowsPictures.h"
#include "game/GameControl.h"
#include "game/Mute.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

constexpr int flightTimer = 1;
constexpr int flightPeriodMs = 100;
constexpr std::int32_t firstFrameTick = 10;   // about a second of pause first
constexpr std::int32_t lastTick = 17;

}  // namespace

void endGameWon() {
    auto& d = platform::desktop();
    d.setText(ui::id::PhraseDisplay, roundState.answer);
    d.showControl(ui::id::WinPictureLeft);
    d.showControl(ui::id::WinPictureRight);
    game::playCueUnlessMuted(ui::SoundCue::Win);
    roundState.gameInProgress = 0;
    const int player = roundState.currentPlayer;
    const bool known = player == 1 || player == 2;
    const std::int32_t before = known ? playerStats[player - 1].totalScore : 0;
    recordWin();
    if (known) {
        const PlayerStats& p = playerStats[player - 1];
        ui::announce(ui::winNotice(roundState.plainAnswer, player, p.totalScore - before, p.totalText));
    }
    d.setText(ui::id::PlayerOneWinsDisplay, playerStats[0].winsText);
    d.setText(ui::id::PlayerTwoWinsDisplay, playerStats[1].winsText);
    d.setText(ui::id::PlayerOneTotalDisplay, playerStats[0].totalText);
    d.setText(ui::id::PlayerTwoTotalDisplay, playerStats[1].totalText);
}

void endGameLost() {
    auto& d = platform::desktop();
    const bool alternate = roundState.altFigureMode == 1;
    for (int stage : gallowsStagesTopDown) d.hideControl(stage);
    d.hideControl(ui::id::AltGallowsStage1);
    if (!alternate) d.showControl(ui::id::LossFigure);
    game::playCueUnlessMuted(alternate ? ui::SoundCue::AltLoss : ui::SoundCue::Loss);
    if (alternate) {
        d.showControl(ui::id::AltLossFigure);
        d.startTimer(platform::Window::Main, flightTimer, flightPeriodMs);
    }
    roundState.gameInProgress = 0;
    recordLoss();
    ui::announce(ui::lossNotice(roundState.currentPlayer));
    d.setText(ui::id::PlayerOneLossesDisplay, playerStats[0].lossesText);
    d.setText(ui::id::PlayerTwoLossesDisplay, playerStats[1].lossesText);
}

// Ticks 0..9 pause; tick 10 + i hides frame i - 1 and shows frame i, so the
// seven frames pass one after the other; tick 17 hides the last.
void onTimer(platform::Window window) {
    auto& s = roundState;
    auto& d = platform::desktop();
    if (s.flightTick <= lastTick) {
        const std::int32_t frame = s.flightTick - firstFrameTick;
        const auto& frames = ui::id::FlightFrames;
        if (frame >= 1 && frame <= static_cast<std::int32_t>(frames.size())) d.hideControl(frames[frame - 1]);
        if (frame >= 0 && frame < static_cast<std::int32_t>(frames.size())) d.showControl(frames[frame]);
        s.flightTick += 1;
    }
    if (s.flightTick > lastTick) {
        d.stopTimer(window, flightTimer);
        s.flightTick = 0;
    }
}

}  // namespace game
