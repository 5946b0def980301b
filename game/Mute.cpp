#include "game/Mute.h"

#include "game/RoundState.h"
#include "ui/Notices.h"

namespace game {

bool soundMuted() { return roundState.soundToggleCount % 2 != 0; }

void playCueUnlessMuted(ui::SoundCue cue) {
    if (!soundMuted()) ui::playCue(cue);
}

void onSoundButton(platform::Window window) {
    ui::playCue(ui::SoundCue::Click);
    roundState.soundToggleCount += 1;
    platform::desktop().setFocus(window);
    ui::announce(soundMuted() ? "Sound off" : "Sound on");
}

}  // namespace game
