#include "library/PuzzleViewer.h"

#include <utility>

#include "library/AppPaths.h"
#include "library/Config.h"
#include "library/LibraryState.h"
#include "library/PuzzleFile.h"
#include "ui/Controls.h"
#include "ui/Notices.h"
#include "ui/SoundCues.h"

namespace library {


namespace {

constexpr const char* kResetStatus = "Resetting Puzzle Viewer...";
constexpr const char* kAbortText = "Puzzle viewing aborted...";

void closeStream() {
    auto& v = puzzleViewer;
    if (v.stream.is_open()) v.stream.close();
    v.stream.clear();
}

// Ends the pass: stream closed, nothing kept, nothing on show.
void endPass() {
    auto& v = puzzleViewer;
    closeStream();
    v.step = 0;
    v.deleteMode = 0;
    v.keptRecords.clear();
    v.currentPhrase.clear();
    v.currentHint.clear();
}

// Everything the stream has not read yet, byte for byte; false on a read
// error, when the rest is not known whole.
bool readRestOfStream(std::istream& in, std::string& rest) {
    in.clear();
    rest.clear();
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        rest.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (!in) break;
    }
    return !in.bad();
}

void viewNextRecord() {
    auto& v = puzzleViewer;
    std::string phrase;
    std::string hint;
    readField(v.stream, phrase, ';');
    readField(v.stream, hint, ':');
    v.currentPhrase = std::move(phrase);
    v.currentHint = std::move(hint);
}

// Drops the record on show. The file becomes the records passed before it
// followed by the rest of the file exactly as stored, so no other byte
// changes, a cut last record included. The count follows only a rewrite
// that reached the disk; a failed one leaves the file whole. The scrambled
// file is rewritten with it, so the delete outlives a crash of this run.
// Returns whether the record is gone.
bool deleteRecordOnShow() {
    auto& v = puzzleViewer;
    v.currentPhrase.clear();
    v.currentHint.clear();
    std::string rest;
    const bool restRead = readRestOfStream(v.stream, rest);
    closeStream();
    v.step = 0;
    v.deleteMode = 0;
    const bool deleted = restRead && storeLibrary(v.keptRecords + rest);
    if (deleted) --libraryState.recordCount;
    v.keptRecords.clear();
    return deleted;
}

// A stored field as its edit shows it.
std::string shownPart(const std::string& field) {
    return field.size() <= kLongestShownField ? field : field.substr(0, kLongestShownField);
}

}  // namespace

bool StepPuzzleViewer() {
    auto& v = puzzleViewer;
    bool done = true;
    ++v.step;

    // Carry the record on show into the kept records.
    if (!v.currentPhrase.empty() && v.deleteMode == 0) {
        v.keptRecords += v.currentPhrase + ";" + v.currentHint + ":";
        v.currentPhrase.clear();
        v.currentHint.clear();
    }

    // A pass reads the file as stored; a failed open leaves the stream in error.
    // A library this run does not hold is not shown: the stream stays closed.
    if (v.step == 1) {
        closeStream();
        if (libraryInHand()) {
            v.stream.open(appPaths.plainPuzzlePath, std::ios::in | std::ios::binary);
        } else {
            v.stream.setstate(std::ios::failbit);
        }
    }

    if (v.deleteMode != 0) {
        // A record is on show, so the stream did open; it may already be at
        // its end when the record on show is a cut last one.
        if (v.stream.is_open()) done = deleteRecordOnShow();
    } else if (!v.stream.fail() && !v.stream.eof()) {
        viewNextRecord();
    }

    // The end of the file, a record without a real phrase, or a delete.
    if (v.currentPhrase.size() <= 1) {
        endPass();
        v.status = kResetStatus;
    }
    return done;
}

void onView(platform::Window) {
    auto& v = puzzleViewer;
    auto& d = platform::desktop();
    if (v.deleteMode != 0 || Disable_VCCntls != 0 || !v.status.empty()) {
        ui::refuse(Disable_VCCntls != 0 ? ui::Refusal::ViewingLocked : ui::Refusal::ViewerBusy);
    } else {
        ui::playCue(ui::SoundCue::Click);
        StepPuzzleViewer();
        d.setText(ui::id::PhraseEdit, shownPart(v.currentPhrase));
        d.setText(ui::id::HintEdit, shownPart(v.currentHint));
        if (!v.currentPhrase.empty())
            ui::announce("Puzzle: " + d.text(ui::id::PhraseEdit) + ". Hint: " + d.text(ui::id::HintEdit));
    }
    // A pending status is shown once, by this press.
    if (v.status.size() >= 6) {
        d.setText(ui::id::PhraseEdit, v.status);
        ui::announce(v.status);
        v.status.clear();
    }
}

void onDelete(platform::Window) {
    auto& v = puzzleViewer;
    auto& d = platform::desktop();
    if (v.deleteMode != 0 || Disable_VCCntls != 0 || v.currentPhrase.size() < 3) {
        ui::refuse(Disable_VCCntls != 0 ? ui::Refusal::ViewingLocked : ui::Refusal::NothingToDelete);
        return;
    }
    ui::playCue(ui::SoundCue::Click);
    v.deleteMode = 1;
    const bool deleted = StepPuzzleViewer();
    d.setText(ui::id::PhraseEdit, "");
    d.setText(ui::id::HintEdit, "");
    if (!deleted) {
        ui::refuse(ui::Refusal::PuzzleNotDeleted);   // the record could not be removed from the files
    } else {
        ui::announce("Puzzle deleted");
    }
}

void AbortPuzzleViewing() {
    auto& v = puzzleViewer;
    if (v.currentHint.size() < 3) return;   // a short hint on show: the pass goes on
    auto& d = platform::desktop();
    endPass();
    d.setText(ui::id::PhraseEdit, kAbortText);
    d.setText(ui::id::HintEdit, "");
}

void resetViewerForAppend() {
    auto& v = puzzleViewer;
    v.keptRecords.clear();
    v.currentPhrase.clear();
    v.currentHint.clear();
    if (v.step > 0) {
        closeStream();
        v.step = 0;
        v.deleteMode = 0;
    }
}

void closeViewerStream() { closeStream(); }

std::string fieldForAdd(int editId, const std::string& editText) {
    const auto& v = puzzleViewer;
    if (v.currentPhrase.empty()) return editText;   // no record on show
    const std::string* stored = editId == ui::id::PhraseEdit ? &v.currentPhrase
                                : editId == ui::id::HintEdit  ? &v.currentHint
                                                              : nullptr;
    if (stored == nullptr || editText != shownPart(*stored)) return editText;
    return *stored;
}

}  // namespace library
