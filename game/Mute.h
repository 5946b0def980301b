// The Sound button's mute and the cues that obey it.
#pragma once

#include "platform/Desktop.h"
#include "ui/SoundCues.h"

namespace game {

// True while the sound is muted (soundToggleCount odd).
bool soundMuted();

// For the cues that obey the mute: plays only while the sound is on.
void playCueUnlessMuted(ui::SoundCue cue);

// SoundButton (3250): click, then toggle the mute, then focus back.
void onSoundButton(platform::Window window);

}  // namespace game
