// The nine sound cues, the wave each plays, and playCue.
#pragma once

#include <array>
#include <vector>

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
// Takes no account of the mute, which is the game's.
void playCue(SoundCue cue);

}  // namespace ui
