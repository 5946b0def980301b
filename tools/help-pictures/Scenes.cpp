#include "Scenes.h"

#include <cctype>

#include "ui/Controls.h"

namespace help_pictures {

namespace id = ui::id;
using platform::Window;

std::string phraseLine(const std::string& phrase, const std::string& guessed) {
    std::string line;
    for (unsigned char c : phrase) {
        const unsigned char up = static_cast<unsigned char>(std::toupper(c));
        const bool hidden = (std::isupper(up) || up == '#') && guessed.find(static_cast<char>(up)) == std::string::npos;
        line += ' ';
        line += hidden ? '_' : static_cast<char>(up);
    }
    return line;
}

std::vector<int> tilesOf(const std::string& letters) {
    std::vector<int> out;
    for (unsigned char c : letters) out.push_back(id::LetterTile(std::toupper(c) - 'A'));
    return out;
}

namespace {

// The six statistics displays.
std::map<int, std::string> stats(const char* t1, const char* w1, const char* l1, const char* t2,
                                 const char* w2, const char* l2) {
    return {{id::PlayerOneTotalDisplay, t1}, {id::PlayerOneWinsDisplay, w1},
            {id::PlayerOneLossesDisplay, l1}, {id::PlayerTwoTotalDisplay, t2},
            {id::PlayerTwoWinsDisplay, w2},   {id::PlayerTwoLossesDisplay, l2}};
}

std::map<int, std::string> with(std::map<int, std::string> a, const std::map<int, std::string>& b) {
    for (const auto& [k, v] : b) a[k] = v;
    return a;
}

}  // namespace

std::vector<Scene> scenes() {
    std::vector<Scene> out;

    // Just after start-up.
    out.push_back({"main-window.png", Window::Main, {}, {},
                   with(stats("250", "7", "3", "40", "1", "9"), {{id::GuessLimitDisplay, "7"}})});

    // A game under way: E, I and S found; A, O and U missed.
    {
        const std::string phrase = "time flies";
        out.push_back({"playing.png", Window::Main,
                       {id::GallowsStage1, id::GallowsStage2, id::GallowsStage3},
                       tilesOf("EISAOU"),
                       with(stats("250", "7", "3", "40", "1", "9"),
                            {{id::GuessLimitDisplay, "7"},
                             {id::PhraseDisplay, phraseLine(phrase, "EIS")},
                             {id::HintDisplay, "It never stops"},
                             {id::MissedLetters, "A O U "},
                             {id::GuessEdit, "time fl"}})});
        // The same game won with a whole-phrase guess: (10 - 3) x 10 = 70.
        out.push_back({"won.png", Window::Main,
                       {id::GallowsStage1, id::GallowsStage2, id::GallowsStage3, id::WinPictureLeft,
                        id::WinPictureRight},
                       tilesOf("EISAOU"),
                       with(stats("320", "8", "3", "40", "1", "9"),
                            {{id::GuessLimitDisplay, "7"},
                             {id::PhraseDisplay, phraseLine(phrase, "ABCDEFGHIJKLMNOPQRSTUVWXYZ")},
                             {id::HintDisplay, "It never stops"},
                             {id::MissedLetters, "A O U "},
                             {id::GuessEdit, "time flies"}})});
    }

    // A lost game: T and I found, seven letters missed.
    out.push_back({"lost.png", Window::Main, {id::LossFigure}, tilesOf("TIBDFGLOU"),
                   with(stats("250", "7", "4", "40", "1", "9"),
                        {{id::GuessLimitDisplay, "7"},
                         {id::PhraseDisplay, phraseLine("a stitch in time", "TI")},
                         {id::HintDisplay, "Saves nine"},
                         {id::MissedLetters, "B D F G L O U "}})});

    // A loss in the alternate figure mode, the flight half-way.
    out.push_back({"figure-mode.png", Window::Main,
                   {id::AltLossFigure, id::FigureModeIndicator, id::FlightFrame4}, tilesOf("OKABEFHIM"),
                   with(stats("40", "1", "10", "250", "7", "3"),
                        {{id::GuessLimitDisplay, "7"},
                         {id::PhraseDisplay, phraseLine("good luck", "OK")},
                         {id::HintDisplay, "Said before a test"},
                         {id::MissedLetters, "A B E F H I M "}})});

    // The puzzle window with a new puzzle typed in.
    out.push_back({"add-window.png", Window::AddPuzzle, {}, {},
                   {{id::PhraseEdit, "Time flies"}, {id::HintEdit, "It never stops"}}});

    // The note about the arrow keys.
    out.push_back({"message-window.png", Window::Message, {}, {}, {}});

    return out;
}

std::map<std::string, int> buttonFaces() {
    std::map<std::string, int> faces;
    const std::map<std::string, int> buttons = {
        {"player1", id::PlayerOneButton},   {"player2", id::PlayerTwoButton},
        {"reset", id::ResetStatsButton},    {"sound", id::SoundButton},
        {"level", id::DifficultyButton},    {"newgame", id::NewGameButton},
        {"reveal", id::RevealButton},       {"minimize", id::MinimizeButton},
        {"help", id::HelpButton},           {"exit", id::ExitButton},
        {"guess", id::GuessPhraseButton},   {"ok", id::MessageCloseButton},
        {"addpuzzles", id::AddPuzzlesButton}, {"figure", id::FigureButton},
        {"add", id::AddButton},             {"delete", id::DeleteButton},
        {"view", id::ViewButton}};
    for (const auto& [name, control] : buttons) faces[name] = ui::findControl(control)->normalFace;
    faces["indicator"] = ui::findControl(id::FigureModeIndicator)->bitmap;
    return faces;
}

}  // namespace help_pictures
