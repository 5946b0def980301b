#include "app/Startup.h"

#include <csignal>
#include <cstdio>
#include <string>

#include "app/FolderChoice.h"
#include "app/GameWindowProc.h"
#include "app/KeyboardMode.h"
#include "app/ShownStates.h"
#include "game/Stats.h"
#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/FolderLock.h"
#include "library/Leftovers.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"
#include "ui/AccessibleNames.h"
#include "ui/Controls.h"
#include "ui/SoundCues.h"

namespace app {

using platform::Window;

namespace {

void showStatistics() {
    auto& d = platform::desktop();
    const auto& one = game::playerStats[0];
    const auto& two = game::playerStats[1];
    d.setText(ui::id::PlayerOneLossesDisplay, one.lossesText);
    d.setText(ui::id::PlayerTwoLossesDisplay, two.lossesText);
    d.setText(ui::id::PlayerOneWinsDisplay, one.winsText);
    d.setText(ui::id::PlayerTwoWinsDisplay, two.winsText);
    d.setText(ui::id::PlayerOneTotalDisplay, one.totalText);
    d.setText(ui::id::PlayerTwoTotalDisplay, two.totalText);
}

void createControls() {
    auto& d = platform::desktop();
    for (const auto& row : ui::controlTable) {
        d.createControl(ui::describeControl(row));
        switch (row.id) {
            case ui::id::HintDisplay:
                game::loadStats();
                showStatistics();
                break;
            case ui::id::GuessLimitDisplay:
                d.setText(ui::id::GuessLimitDisplay, "7");
                break;
            case ui::id::WinPictureLeft:
            case ui::id::WinPictureRight:
            case ui::id::FigureModeIndicator:
                d.hideControl(row.id);
                break;
            default:
                break;
        }
    }
}

void assignBitmaps() {
    auto& d = platform::desktop();
    for (const auto& row : ui::controlTable) {
        if (row.kind == ui::ControlKind::Picture) d.assignBitmap(row.id);
    }
    for (int id : ui::picturesHiddenAfterAssignment) d.hideControl(id);
}

constexpr const char* kRefusalCaption = "Error - Tarvik_KXv";
constexpr const char* kToolHoldsText =
    "The puzzle library is being changed by tarvik-kxv-library; try again when it is done.";

// The box of a start that may not go on, or empty when it may.
std::string refusalText(const library::FolderLockState& lock) {
    switch (lock.result) {
        case library::LockResult::HeldElsewhere:
            if (lock.heldBy == library::LockHolder::Tool) return kToolHoldsText;
            if (lock.heldBy == library::LockHolder::Game) return {};
            return "The game's folder is in use by another program, which holds " + lock.lockFile +
                   " locked; try again when it is done.";
        case library::LockResult::Unsafe:
            return "The game's folder is not safe to use: " + lock.lockFile + " " +
                   library::describeUnsafeLock(lock.unsafe) +
                   ". Nothing was changed; remove that file, or start the game from a folder of your own.";
        case library::LockResult::Taken:
        case library::LockResult::Unavailable:
            break;
    }
    return {};
}

extern "C" void onFileSizeLimit(int) {}

// A write past a file-size limit then fails with EFBIG, which the writers
// handle, instead of ending the program. A handler rather than SIG_IGN, so
// programs started from here get the default back.
void keepRunningPastFileSizeLimit() {
    struct sigaction action {};
    action.sa_handler = onFileSizeLimit;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGXFSZ, &action, nullptr);
}

}  // namespace

StartOutcome startProgram(const std::string& executablePath) {
    std::vector<std::string> notes;
    library::appPaths = makeAppPaths(executablePath, &notes);
    // Files kept in two places or a folder that cannot be written: told,
    // since the game shows nothing of where its files are.
    for (const std::string& note : notes) std::fprintf(stderr, "tarvik-kxv: %s\n", note.c_str());
    const library::FolderLockState lock = library::lockFolder(library::appPaths.directory);
    if (lock.result == library::LockResult::HeldElsewhere && lock.heldBy == library::LockHolder::Game) {
        return {false, true, lock.holder, 0};
    }
    if (const std::string refusal = refusalText(lock); !refusal.empty()) {
        platform::desktop().messageBox(refusal, kRefusalCaption, platform::MB_OK);
        return {false, false, lock.holder, 1};
    }
    // A folder that cannot hold the lock (read-only, or a file system
    // without record locks) still gets its game: nothing can be written
    // there anyway, or every write of the library first checks that the
    // plain file is still what this run left in it.
    library::setRunningAlone(lock.result == library::LockResult::Taken);
    if (lock.result == library::LockResult::Taken) {
        library::removeLeftovers(library::appPaths);
    }
    keepRunningPastFileSizeLimit();
    library::unscramblePuzzleFile();

    auto& d = platform::desktop();
    platform::setWindowProc(&GameWindowProc);
    const platform::Size screen = d.screenSize();
    const auto windows = ui::windowSpecs(screen.width, screen.height);
    d.createWindow(windows[0]);
    d.createWindow(windows[1]);
    d.hideWindow(Window::AddPuzzle);
    d.createWindow(windows[2]);
    d.hideWindow(Window::Message);

    createControls();
    assignBitmaps();
    d.registerWaves(ui::cueResources());
    ui::describeControls(shownStates());
    d.showWindow(Window::Main);
    library::loadConfig();
    applyKeyboardMode();
    return {true, false, 0, 0};
}

}  // namespace app
