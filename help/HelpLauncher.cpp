// HelpButton (4150): hands the help document to the desktop's default viewer.
// The program never shows help itself; it only refuses while a window with
// the help document's title is open, and reports when the desktop cannot
// open the file. No state is kept: every press starts from scratch.
#include "help/HelpLauncher.h"

#include "library/AppPaths.h"
#include "ui/SoundCues.h"

namespace help {

namespace {

constexpr const char* kInUseText = "terminating request... help program is currently in use.";
constexpr const char* kInUseCaption = "System - Permission Denied";
constexpr const char* kOpenFailedText = "Help files could not be opened...";
constexpr const char* kOpenFailedCaption = "Error - Tarvik_KXv";

}  // namespace

bool LaunchHelp(platform::Window) {
    auto& desk = platform::desktop();
    ui::playCue(ui::SoundCue::Click);  // heard even while muted

    if (desk.topLevelWindowExists(kHelpWindowTitle)) {
        // Whoever owns that window, the help counts as in use; the open one
        // is not brought forward and no default processing follows.
        desk.messageBox(kInUseText, kInUseCaption, platform::MB_TOPMOST);
        return false;
    }

    // A missing file is reported only through the desktop's failure.
    if (!desk.openDocument(library::appPaths.helpPath)) {
        desk.messageBox(kOpenFailedText, kOpenFailedCaption, platform::MB_OK);
    }
    return true;
}

}  // namespace help
