#include "game/Mute.h"

#include "game/RoundState.h"

namespace game {

bool soundMuted() { return roundState.soundToggleCount % 2 != 0; }

void playCueUnlessMuted(ui::SoundCue cue) {
    if (!soundMuted()) ui::playCue(cue);
}

void onSoundButton(platform::Window window) {
    ui::playCue(ui::SoundCue::Click);
    roundState.soundToggleCount += 1;
    platform::desktop().setFocus(window);
}

}  // namespace game
