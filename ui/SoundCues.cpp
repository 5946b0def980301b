#include "ui/SoundCues.h"

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

std::vector<int> cueResources() {
    std::vector<int> out;
    for (const auto& cue : cueTable) out.push_back(cue.resource);
    return out;
}

void playCue(SoundCue cue) { platform::desktop().playWave(cueSpec(cue).resource); }

}  // namespace ui
