#include "library/AddPuzzle.h"

#include "library/AppPaths.h"
#include "library/AtomicFile.h"
#include "library/Config.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "library/PuzzleRecord.h"
#include "library/PuzzleViewer.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace library {

using platform::Window;

namespace {

void toggleAddWindow() {
    auto& d = platform::desktop();
    ui::playCue(ui::SoundCue::Panel);
    auto& count = libraryState.addWindowToggleCount;
    ++count;
    if (count % 2 != 0) {
        d.showWindow(Window::AddPuzzle);
    } else {
        d.hideWindow(Window::AddPuzzle);
    }
    d.setFocus(Window::Main);
}

// The whole text of an edit field, or "" when it is empty.
std::string editText(int id) {
    auto& d = platform::desktop();
    return d.textLength(id) > 0 ? d.text(id) : std::string();
}

}  // namespace

void onAddPuzzles(Window) {
    if (Disable_Console == 0) {
        toggleAddWindow();
    } else if (Disable_Console == 1) {
        ui::refuse(ui::Refusal::AddingLocked);
    }
    // Any other value: the button does nothing at all.
}

void onCloseAdd(Window) {
    auto& d = platform::desktop();
    ui::playCue(ui::SoundCue::Panel);
    ++libraryState.addWindowToggleCount;
    d.hideWindow(Window::AddPuzzle);
    d.setFocus(Window::Main);
}

void onAdd(Window) {
    auto& d = platform::desktop();
    ui::playCue(ui::SoundCue::Click);
    const std::string phrase = fieldForAdd(ui::id::PhraseEdit, editText(ui::id::PhraseEdit));
    const std::string hint = fieldForAdd(ui::id::HintEdit, editText(ui::id::HintEdit));

    if (phrase.empty()) {
        ui::refuse(ui::Refusal::NoPhraseToAdd);
        return;
    }
    // A single character is not a puzzle; it is ignored without a word.
    if (phrase.size() < 2) return;
    // A terminator inside a field would split the record when it is read.
    if (!storableField(phrase, kPhraseForbidden) || !storableField(hint, kHintForbidden)) {
        ui::refuse(ui::Refusal::UnstorablePuzzle);
        return;
    }
    if (!AppendPuzzleRecord(buildRecord(phrase, hint))) {
        ui::refuse(ui::Refusal::PuzzleNotStored);   // the fields keep the text for a retry
        return;
    }
    d.setText(ui::id::PhraseEdit, "");
    d.setText(ui::id::HintEdit, "");
    ui::announce("Puzzle stored");
}

bool AppendPuzzleRecord(const std::string& record) {
    // The file is rewritten whole so that a failed write cannot leave half a
    // record at its end; a missing file starts empty. The scrambled file
    // gets the record too, so it outlives a crash of this run. An append
    // that is not stored changes nothing, the viewing pass included; one
    // that is ends the pass, whose stream still reads the replaced file.
    std::string content;
    if (readFileIfPresent(appPaths.plainPuzzlePath, content) == ReadOutcome::Failed) return false;
    if (!storeLibrary(content + record)) return false;
    resetViewerForAppend();
    ++libraryState.recordCount;
    return true;
}

}  // namespace library
