// The nine sound cues, the wave each plays, and playCue.
#pragma once

#include <array>
#include <vector>

#include "platform/Desktop.h"

namespace ui {

enum class SoundCue { Click, Minimize, Hit, Miss, NewGame, Panel, Win, Loss, AltLoss };

struct CueSpec {
    SoundCue cue;
    const char* name;
    int resource;       // wave resource number
    int sampleRate;     // Hz
    int bitsPerSample;  // 8 or 16, mono PCM
    double seconds;     // length of the stored sound
    bool obeysMute;
};

extern const std::array<CueSpec, 9> cueTable;

const CueSpec& cueSpec(SoundCue cue);

// The wave resources of the cues, in table order.
std::vector<int> cueResources();

// Plays the cue's wave asynchronously; a new cue cuts off the one playing.
// Takes no account of the mute: see playCueUnlessMuted.
void playCue(SoundCue cue);

// True while the sound is muted (soundToggleCount odd).
bool soundMuted();

// For the cues that obey the mute: plays only while the sound is on.
void playCueUnlessMuted(SoundCue cue);

// SoundButton (3250): click, then toggle the mute, then focus back.
void onSoundButton(platform::Window window);

}  // namespace ui
