// The title strip of the main window that opens MessageWindow once a run,
// and the window's close button.
#include "game/GameControl.h"
#include "game/RoundState.h"
#include "library/LibraryState.h"
#include "ui/AccessibleNames.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace game {

namespace {

// Client coordinates of the main window.
constexpr platform::Rect hotStrip{0, 0, 640, 25};

}  // namespace

bool messageStripTest(platform::Window window, platform::Point client) {
    const auto& s = roundState;
    if (window != platform::Window::Main || s.gameInProgress != 0 || s.messageShownCount != 0 ||
        library::libraryState.addWindowToggleCount % 2 != 0 || !hotStrip.contains(client)) {
        return false;
    }
    auto& d = platform::desktop();
    d.beep();
    d.showWindow(platform::Window::Message);
    roundState.messageShownCount += 1;
    ui::announce(ui::windowDescription(platform::Window::Message));
    return true;
}

void onMessageClose(platform::Window) {
    ui::playCue(ui::SoundCue::Click);
    platform::desktop().hideWindow(platform::Window::Message);
}

}  // namespace game
