#include "ui/AccessibleNames.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "ui/SoundCues.h"

namespace ui {

namespace {

using R = platform::AccessibleRole;

constexpr AccessibleRow named(int id, const char* name, const char* description = "",
                               R role = R::Standard) {
    return {id, name, description, role};
}

constexpr AccessibleRow tile(int k) {
    constexpr const char* names[26] = {
        "Letter A", "Letter B", "Letter C", "Letter D", "Letter E", "Letter F", "Letter G",
        "Letter H", "Letter I", "Letter J", "Letter K", "Letter L", "Letter M", "Letter N",
        "Letter O", "Letter P", "Letter Q", "Letter R", "Letter S", "Letter T", "Letter U",
        "Letter V", "Letter W", "Letter X", "Letter Y", "Letter Z"};
    return {id::LetterTile(k), names[k], "Guesses this letter", R::Pressable};
}

// The displays whose name is their painted label followed by their text.
const std::map<int, const char*>& valueLabels() {
    static const std::map<int, const char*> labels = {
        {id::PlayerOneTotalDisplay, "Player 1 score "}, {id::PlayerTwoTotalDisplay, "Player 2 score "},
        {id::PlayerOneWinsDisplay, "Player 1 won "},    {id::PlayerTwoWinsDisplay, "Player 2 won "},
        {id::PlayerOneLossesDisplay, "Player 1 lost "}, {id::PlayerTwoLossesDisplay, "Player 2 lost "},
        {id::HintDisplay, "Hint: "},                    {id::GuessLimitDisplay, "Limit "},
    };
    return labels;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

}  // namespace

const std::array<AccessibleRow, kControlCount> accessibleTable = {{
    named(id::PlayerOneButton, "Player 1", "Makes player 1 the one who plays; checked while player 1 plays"),
    named(id::PlayerTwoButton, "Player 2", "Makes player 2 the one who plays; checked while player 2 plays"),
    named(id::ResetStatsButton, "Reset Stats", "Sets the score, wins and losses of the current player to 0"),
    named(id::SoundButton, "Sound", "Turns the sound cues on and off; checked while they are on"),
    named(id::DifficultyButton, "Level",
          "Checked: each game starts with two wrong guesses counted, five left; unchecked: seven"),
    named(id::NewGameButton, "New Game", "Draws a new phrase"),
    named(id::RevealButton, "Reveal", "After a lost game, shows the phrase"),
    named(id::MinimizeButton, "Minimize", "Minimizes the game"),
    named(id::HelpButton, "Help", "Opens the help document"),
    named(id::ExitButton, "Exit", "Saves the scores and ends the game"),
    named(id::GuessPhraseButton, "Guess Phrase", "Guesses the phrase typed in the guess field"),
    named(id::MessageCloseButton, "OK", "Closes this message"),
    named(id::AddPuzzlesButton, "Add Puzzles", "Shows or hides the window for adding puzzles"),
    named(id::FigureButton, "Figure Mode", "Switches to the alternate figure; checked while it is on"),
    named(id::AddButton, "Add", "Stores the phrase and hint typed above as a new puzzle"),
    named(id::DeleteButton, "Delete", "Deletes the stored puzzle on show"),
    named(id::ViewButton, "View", "Shows the next stored puzzle"),
    named(id::CloseAddButton, "Close", "Closes the add-puzzle window"),

    tile(0), tile(1), tile(2), tile(3), tile(4), tile(5), tile(6), tile(7), tile(8),
    tile(9), tile(10), tile(11), tile(12), tile(13), tile(14), tile(15), tile(16), tile(17),
    tile(18), tile(19), tile(20), tile(21), tile(22), tile(23), tile(24), tile(25),

    named(id::PlayerOneTotalDisplay, "Player 1 score"),
    named(id::PlayerTwoTotalDisplay, "Player 2 score"),
    named(id::PlayerOneWinsDisplay, "Player 1 won"),
    named(id::PlayerTwoWinsDisplay, "Player 2 won"),
    named(id::PlayerOneLossesDisplay, "Player 1 lost"),
    named(id::PlayerTwoLossesDisplay, "Player 2 lost"),
    named(id::WinPictureLeft, "Trophy: the game is won"),
    named(id::WinPictureRight, "Winner's banner"),
    named(id::FigureModeIndicator, "Alternate figure mode is on"),
    named(id::LossFigure, "The whole figure: the game is lost"),
    named(id::AltLossFigure, "The whole alternate figure: the game is lost"),
    named(id::FlightFrame1, "Flight, picture 1 of 7"),
    named(id::FlightFrame2, "Flight, picture 2 of 7"),
    named(id::FlightFrame3, "Flight, picture 3 of 7"),
    named(id::FlightFrame4, "Flight, picture 4 of 7"),
    named(id::FlightFrame5, "Flight, picture 5 of 7"),
    named(id::FlightFrame6, "Flight, picture 6 of 7"),
    named(id::FlightFrame7, "Flight, picture 7 of 7"),
    named(id::HintDisplay, "Hint"),
    named(id::PhraseDisplay, "Phrase"),
    named(id::PhraseUnderlay, "", "", R::Hidden),   // the blanks again: the phrase says them
    named(id::MissedLetters, "Missed: none"),
    named(id::GuessLimitDisplay, "Limit"),
    named(id::GallowsStage6, "Figure: right leg"),
    named(id::GallowsStage5, "Figure: left leg"),
    named(id::GallowsStage4, "Figure: right arm"),
    named(id::GallowsStage3, "Figure: left arm"),
    named(id::GallowsStage2, "Figure: body"),
    named(id::GallowsStage1, "Figure: head"),
    named(id::AltGallowsStage1, "Figure: alternate head"),

    named(id::GuessEdit, "Guess the phrase", "Type the whole phrase, then press Guess Phrase"),
    named(id::PhraseEdit, "Phrase", "The phrase of a new puzzle, up to 38 characters"),
    named(id::HintEdit, "Hint", "The hint of a new puzzle, up to 34 characters"),
}};

const std::array<int, 21> focusOrder = {
    // The main window, row by row.
    id::MinimizeButton, id::HelpButton, id::ExitButton, id::NewGameButton, id::RevealButton,
    id::ResetStatsButton, id::PlayerOneButton, id::SoundButton, id::PlayerTwoButton,
    id::DifficultyButton, id::GuessPhraseButton, id::GuessEdit, id::AddPuzzlesButton,
    id::FigureButton,
    // The add-puzzle window.
    id::CloseAddButton, id::PhraseEdit, id::ViewButton, id::DeleteButton, id::HintEdit, id::AddButton,
    // The message window.
    id::MessageCloseButton,
};

const AccessibleRow* findAccessible(int controlId) {
    auto it = std::find_if(accessibleTable.begin(), accessibleTable.end(),
                           [controlId](const AccessibleRow& a) { return a.id == controlId; });
    return it == accessibleTable.end() ? nullptr : &*it;
}

std::string spokenCharacter(char c) {
    static const std::map<char, const char*> names = {
        {'_', "blank"},      {'\'', "apostrophe"},   {'-', "dash"},        {',', "comma"},
        {'.', "period"},     {'!', "exclamation mark"}, {'?', "question mark"}, {'&', "and"},
        {'#', "number sign"}, {':', "colon"},        {'"', "quote"},       {'/', "slash"},
        {'(', "open parenthesis"}, {')', "close parenthesis"},
    };
    auto it = names.find(c);
    if (it != names.end()) return it->second;
    return std::string(1, c);
}

std::string spelledPhrase(const std::string& display) {
    // The display puts a space before every character of the phrase.
    bool spaced = !display.empty() && display.size() % 2 == 0;
    for (std::size_t k = 0; spaced && k < display.size(); k += 2) spaced = display[k] == ' ';
    if (!spaced) {
        const std::string shown = trimmed(display);
        return shown.empty() ? "Phrase: none" : "Phrase: " + shown;
    }
    std::vector<std::string> words(1);
    std::string plain;
    bool blanks = false;
    for (std::size_t k = 1; k < display.size(); k += 2) {
        const char c = display[k];
        plain.push_back(c);
        if (c == ' ') {
            if (!words.back().empty()) words.emplace_back();
            continue;
        }
        if (c == '_') blanks = true;
        if (!words.back().empty()) words.back() += ", ";
        words.back() += spokenCharacter(c);
    }
    if (words.back().empty()) words.pop_back();
    if (!blanks) return "Phrase: " + trimmed(plain);
    std::string out = "Phrase, " + std::to_string(words.size()) + (words.size() == 1 ? " word: " : " words: ");
    for (std::size_t w = 0; w < words.size(); ++w) {
        if (w > 0) out += "; ";
        out += words[w];
    }
    return out;
}

std::string missedLettersName(const std::string& missed) {
    std::string out;
    for (char c : missed) {
        if (c == ' ') continue;
        if (!out.empty()) out += ", ";
        out += c == '#' ? std::string("wrong phrase") : std::string(1, c);
    }
    return out.empty() ? "Missed: none" : "Missed: " + out;
}

std::string accessibleNameFor(int controlId, const std::string& text) {
    if (controlId == id::PhraseDisplay) return spelledPhrase(text);
    if (controlId == id::MissedLetters) return missedLettersName(text);
    const auto label = valueLabels().find(controlId);
    if (label != valueLabels().end()) {
        const std::string value = trimmed(text);
        return label->second + (value.empty() ? std::string("none") : value);
    }
    const AccessibleRow* row = findAccessible(controlId);
    return row != nullptr ? row->name : std::string();
}

const char* windowDescription(platform::Window w) {
    switch (w) {
        case platform::Window::Main:
            return "Guess the hidden phrase letter by letter, or type it whole. Seven wrong guesses lose the game.";
        case platform::Window::AddPuzzle:
            return "Your own puzzles. Type a phrase of up to 38 characters and a hint of up to 34, "
                   "then press Add to store the puzzle in the library. View steps through the stored "
                   "puzzles one at a time; Delete removes the puzzle on show.";
        case platform::Window::Message:
            return "Use the arrow keys to move the game window";
    }
    return "";
}

namespace {

// What was last pushed, so that an unchanged name or state is not pushed again.
std::map<int, std::string>& pushedNames = accessibleNamesPushed.names;
std::map<std::pair<int, platform::AccessibleState>, bool>& pushedStates = accessibleNamesPushed.states;

void pushName(int controlId, const std::string& name) {
    auto it = pushedNames.find(controlId);
    if (it != pushedNames.end() && it->second == name) return;
    pushedNames[controlId] = name;
    platform::desktop().setAccessibleName(controlId, name);
}

void pushState(int controlId, platform::AccessibleState state, bool on) {
    const auto key = std::make_pair(controlId, state);
    auto it = pushedStates.find(key);
    if (it != pushedStates.end() && it->second == on) return;
    pushedStates[key] = on;
    platform::desktop().setAccessibleState(controlId, state, on);
}

}  // namespace

void describeControls(const ShownStates& states) {
    auto& d = platform::desktop();
    for (platform::Window w : {platform::Window::Main, platform::Window::AddPuzzle, platform::Window::Message})
        d.setWindowDescription(w, windowDescription(w));
    for (const AccessibleRow& row : accessibleTable) {
        if (row.role != R::Standard) d.setAccessibleRole(row.id, row.role);
        if (row.role == R::Hidden) continue;
        pushName(row.id, row.name);
        if (row.description[0] != '\0') d.setAccessibleDescription(row.id, row.description);
    }
    refreshAccessibleNames(states);
}

void refreshAccessibleNames(const ShownStates& s) {
    auto& d = platform::desktop();
    pushName(id::PhraseDisplay, spelledPhrase(d.text(id::PhraseDisplay)));
    pushName(id::MissedLetters, missedLettersName(d.text(id::MissedLetters)));
    for (const auto& [controlId, label] : valueLabels()) pushName(controlId, accessibleNameFor(controlId, d.text(controlId)));

    using S = platform::AccessibleState;
    pushState(id::PlayerOneButton, S::Checked, s.currentPlayer == 1);
    pushState(id::PlayerTwoButton, S::Checked, s.currentPlayer == 2);
    pushState(id::SoundButton, S::Checked, s.soundOn);
    pushState(id::DifficultyButton, S::Checked, s.fiveGuesses);
    pushState(id::FigureButton, S::Checked, s.alternateFigure);
    for (int k = 0; k < 26; ++k) pushState(id::LetterTile(k), S::Unavailable, s.letterUsed[k]);
}

}  // namespace ui
