#include "app/Startup.h"

#include <csignal>
#include <string>
#include <vector>

#include "app/AppPaths.h"
#include "app/GameWindowProc.h"
#include "app/KeyboardMode.h"
#include "game/Stats.h"
#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/FolderLock.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"
#include "ui/AccessibleNames.h"
#include "ui/Controls.h"

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
        d.createControl(row);
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

// The files written through a temporary beside them.
const std::vector<std::string> kTemporaryBases = {"OnLoad.dat", "KXData.dat", "KXStats.dat",
                                                  "KXC_CONFIG.INI"};

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
    appPaths = makeAppPaths(executablePath);
    const library::FolderLockState lock = library::lockFolder(appPaths.directory);
    if (lock.result == library::LockResult::HeldElsewhere) return {false, lock.holder};
    // A folder that cannot hold the lock (read-only, or a file system
    // without record locks) still gets its game: nothing can be written
    // there anyway, or every write of the library first checks that the
    // plain file is still what this run left in it.
    library::setRunningAlone(lock.result == library::LockResult::Taken);
    if (lock.result == library::LockResult::Taken) {
        library::removeLeftoverTemporaries(appPaths.directory, kTemporaryBases);
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
    ui::describeControls();
    d.showWindow(Window::Main);
    library::loadConfig();
    applyKeyboardMode();
    return {true, 0};
}

}  // namespace app
