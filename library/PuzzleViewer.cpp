// Placeholder until the library lands.
#include "library/PuzzleViewer.h"
namespace library {
PuzzleViewer puzzleViewer;
void StepPuzzleViewer() {}
void onView(platform::Window) {}
void onDelete(platform::Window) {}
void AbortPuzzleViewing() {}
void resetViewerForAppend() {}
void closeViewerStream() {}
}
