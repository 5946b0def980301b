// Stepping through the stored puzzles and deleting the one on show.
#pragma once

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

// One step; false when a delete could not be written (the record stays).
bool StepPuzzleViewer();
void onView(platform::Window window);     // ViewButton (6000)
void onDelete(platform::Window window);   // DeleteButton (5950)
void AbortPuzzleViewing();                // New Game
void resetViewerForAppend();              // an append ends any viewing pass
void closeViewerStream();                 // at exit

}  // namespace library
