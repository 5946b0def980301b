#include "app/Startup.h"

#include "app/AppPaths.h"
#include "app/GameWindowProc.h"
#include "game/Stats.h"
#include "library/Config.h"
#include "library/PuzzleFile.h"
#include "platform/Desktop.h"
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

}  // namespace

void startProgram(const std::string& executablePath) {
    appPaths = makeAppPaths(executablePath);
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
    d.showWindow(Window::Main);
    library::loadConfig();
}

}  // namespace app
