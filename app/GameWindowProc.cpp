#include "app/GameWindowProc.h"

#include <array>

#include "app/Exit.h"
#include "app/ShownStates.h"
#include "app/KeyboardMode.h"
#include "game/GameControl.h"
#include "game/Guessing.h"
#include "game/Mute.h"
#include "game/RoundState.h"
#include "game/Stats.h"
#include "help/HelpLauncher.h"
#include "library/AddPuzzle.h"
#include "library/LibraryState.h"
#include "library/PuzzleViewer.h"
#include "ui/Controls.h"
#include "ui/AccessibleNames.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace app {

using platform::Message;
using platform::Window;

namespace {

// A command handler returns whether default processing follows it.
using CommandHandler = bool (*)(Window);

template <void (*Handler)(Window)>
bool thenDefault(Window w) {
    Handler(w);
    return true;
}

void onMinimize(Window w) {
    ui::playCue(ui::SoundCue::Minimize);
    platform::desktop().minimizeWindow(w);
}

void onExit(Window) { orderlyExit(); }

struct CommandRoute {
    int id;
    CommandHandler handler;
};

const std::array<CommandRoute, 18> commandRoutes = {{
    {ui::id::MessageCloseButton, thenDefault<game::onMessageClose>},
    {ui::id::PlayerOneButton, thenDefault<game::onPlayerOne>},
    {ui::id::PlayerTwoButton, thenDefault<game::onPlayerTwo>},
    {ui::id::ResetStatsButton, thenDefault<game::onResetStats>},
    {ui::id::SoundButton, thenDefault<game::onSoundButton>},
    {ui::id::DifficultyButton, thenDefault<game::onDifficulty>},
    {ui::id::NewGameButton, thenDefault<game::onNewGame>},
    {ui::id::RevealButton, thenDefault<game::onReveal>},
    {ui::id::MinimizeButton, thenDefault<onMinimize>},
    {ui::id::HelpButton, help::LaunchHelp},
    {ui::id::ExitButton, thenDefault<onExit>},
    {ui::id::GuessPhraseButton, thenDefault<game::guessPhrase>},
    {ui::id::AddButton, thenDefault<library::onAdd>},
    {ui::id::AddPuzzlesButton, thenDefault<library::onAddPuzzles>},
    {ui::id::DeleteButton, thenDefault<library::onDelete>},
    {ui::id::ViewButton, thenDefault<library::onView>},
    {ui::id::CloseAddButton, thenDefault<library::onCloseAdd>},
    {ui::id::FigureButton, thenDefault<game::onFigure>},
}};

void onCommand(Window w, int id) {
    for (const auto& route : commandRoutes) {
        if (route.id == id) {
            if (!route.handler(w)) return;
            break;
        }
    }
    platform::desktop().defaultProcessing(w, Message::Command);
}

void moveBy(Window w, int dx, int dy, int width, int height) {
    auto& d = platform::desktop();
    const platform::Rect r = d.windowRect(w);
    d.moveWindow(w, r.left + dx, r.top + dy, width, height);
}

}  // namespace

void nudgeWindows(int key) {
    int dx = 0;
    int dy = 0;
    switch (key) {
        case platform::VK_LEFT: dx = -2; break;
        case platform::VK_UP: dy = -2; break;
        case platform::VK_RIGHT: dx = 2; break;
        case platform::VK_DOWN: dy = 2; break;
        default: return;
    }
    if (library::libraryState.addWindowToggleCount % 2 != 0) {
        ui::refuse(ui::Refusal::WindowsHeld);
        return;
    }
    // Down moves the add-puzzle window first, the other keys the main window.
    if (key == platform::VK_DOWN) {
        moveBy(Window::AddPuzzle, dx, dy, ui::kAddWidth, ui::kAddHeight);
        moveBy(Window::Main, dx, dy, ui::kMainWidth, ui::kMainHeight);
    } else {
        moveBy(Window::Main, dx, dy, ui::kMainWidth, ui::kMainHeight);
        moveBy(Window::AddPuzzle, dx, dy, ui::kAddWidth, ui::kAddHeight);
    }
}

namespace {

void dispatch(Window window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::Destroy:
            platform::desktop().postQuit(0);
            return;
        case Message::KeyDown:
            if (!keyboardKey(window, static_cast<int>(wParam))) nudgeWindows(static_cast<int>(wParam));
            return;
        case Message::Command:
            onCommand(window, static_cast<int>(wParam & 0xFFFF));
            return;
        case Message::Timer:
            game::onTimer(window);
            return;
        case Message::LButtonDown:
            game::onLeftButtonDown(window, platform::lParamToPoint(lParam));
            return;
        case Message::LButtonUp:
            platform::desktop().setFocus(window);
            return;
        case Message::Close:
            // Any close of any window ends the program the orderly way.
            orderlyExit();
            return;
    }
    platform::desktop().defaultProcessing(window, message);
}

}  // namespace

long GameWindowProc(Window window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    dispatch(window, message, wParam, lParam);
    // The names that carry values follow what the message changed.
    if (message != Message::Destroy && message != Message::Close) ui::refreshAccessibleNames(shownStates());
    return 0;
}

}  // namespace app
