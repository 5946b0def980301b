#include "ui/SoundCues.h"

#include "game/RoundState.h"
#include "platform/Desktop.h"
#include "ui/Notices.h"

namespace ui {

const std::array<CueSpec, 9> cueTable = {{
    {SoundCue::Click, "ClickCue", 4450, 22050, 16, 0.03, false},
    {SoundCue::Minimize, "MinimizeCue", 4500, 8000, 8, 0.28, false},
    {SoundCue::Hit, "HitCue", 4600, 11025, 16, 0.49, true},
    {SoundCue::Miss, "MissCue", 4650, 22050, 16, 0.40, true},
    {SoundCue::NewGame, "NewGameCue", 4700, 22050, 8, 0.66, true},
    {SoundCue::Panel, "PanelCue", 5600, 22050, 8, 0.28, false},
    {SoundCue::Win, "WinCue", 5650, 11025, 16, 4.75, true},
    {SoundCue::Loss, "LossCue", 5700, 22050, 16, 2.50, true},
    {SoundCue::AltLoss, "AltLossCue", 7200, 22050, 16, 4.00, true},
}};

const CueSpec& cueSpec(SoundCue cue) { return cueTable[static_cast<int>(cue)]; }

void playCue(SoundCue cue) { platform::desktop().playWave(cueSpec(cue).resource); }

bool soundMuted() { return game::roundState.soundToggleCount % 2 != 0; }

void playCueUnlessMuted(SoundCue cue) {
    if (!soundMuted()) playCue(cue);
}

void onSoundButton(platform::Window window) {
    playCue(SoundCue::Click);
    game::roundState.soundToggleCount += 1;
    platform::desktop().setFocus(window);
    announce(soundMuted() ? "Sound off" : "Sound on");
}

}  // namespace ui
