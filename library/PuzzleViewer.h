// Stepping through the stored puzzles and deleting the one on show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/Desktop.h"

namespace library {

struct PuzzleViewer {
    std::ifstream stream;
    std::int32_t step = 0;
    std::int32_t deleteMode = 0;
    std::string currentPhrase;
    std::string currentHint;
    std::string keptRecords;
    std::string status;
};

extern PuzzleViewer& puzzleViewer;   // in app::programState

// The most of a stored field View puts in its edit: the most a single-line
// edit of the desktop takes (its typing limit is far lower), and short
// enough that a field of any size (a library without delimiters, say) shows
// at once.
inline constexpr std::size_t kLongestShownField = 32767;

// One step; false when a delete could not be written (the record stays).
bool StepPuzzleViewer();
void onView(platform::Window window);     // ViewButton (6000)
void onDelete(platform::Window window);   // DeleteButton (5950)
void AbortPuzzleViewing();                // New Game
void resetViewerForAppend();              // an append ends any viewing pass
void closeViewerStream();                 // at exit

// What Add takes from an edit field: while a record is on show and the edit
// still holds what View put there, the field as stored (View shows no more
// than an edit takes), so an Add right after a View stores the record
// whole; otherwise the edit's own text.
std::string fieldForAdd(int editId, const std::string& editText);

}  // namespace library
