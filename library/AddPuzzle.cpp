// Placeholder until the library lands.
#include "library/AddPuzzle.h"
namespace library {
void onAddPuzzles(platform::Window) {}
void onCloseAdd(platform::Window) {}
void onAdd(platform::Window) {}
bool AppendPuzzleRecord(const std::string&) { return false; }
}
