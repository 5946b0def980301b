#include "app/KeyboardMode.h"

#include <vector>

#include "library/Config.h"
#include "ui/AccessibleNames.h"
#include "ui/Controls.h"

namespace app {

namespace {

bool& modeOn = keyboardState.modeOn;

// What a click in the middle of the letter's tile does.
void clickTile(int letter) {
    auto& d = platform::desktop();
    const platform::Rect tile = d.controlRect(ui::id::LetterTile(letter));
    const platform::Rect window = d.windowRect(platform::Window::Main);
    const platform::Point client{(tile.left + tile.right) / 2 - window.left,
                                 (tile.top + tile.bottom) / 2 - window.top};
    const auto where = platform::pointToLParam(client);
    platform::sendMessage(platform::Window::Main, platform::Message::LButtonDown, 0, where);
    platform::sendMessage(platform::Window::Main, platform::Message::LButtonUp, 0, where);
}

// What a press of the window's close button does.
void pressClose(platform::Window window, int button) {
    platform::sendMessage(window, platform::Message::Command, static_cast<std::uintptr_t>(button), 0);
}

}  // namespace

bool keyboardMode() { return modeOn; }

void applyKeyboardMode() {
    modeOn = keyboardOptionGiven || library::Keyboard_Play == 1;
    auto& d = platform::desktop();
    d.setKeyboardMode(modeOn, std::vector<int>(ui::focusOrder.begin(), ui::focusOrder.end()));
    if (modeOn) d.setReturnButton(ui::id::GuessEdit, ui::id::GuessPhraseButton);
}

bool keyboardKey(platform::Window window, int key) {
    if (!modeOn) return false;
    if (key >= 'A' && key <= 'Z') {
        if (window == platform::Window::Main) clickTile(key - 'A');
        return true;
    }
    if (key == platform::VK_ESCAPE) {
        if (window == platform::Window::Message) pressClose(window, ui::id::MessageCloseButton);
        if (window == platform::Window::AddPuzzle) pressClose(window, ui::id::CloseAddButton);
        return true;
    }
    return false;
}

}  // namespace app
