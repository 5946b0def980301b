// The add-puzzle window's commands and the append of a record.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace library {

void onAddPuzzles(platform::Window window);   // AddPuzzlesButton (5350)
void onCloseAdd(platform::Window window);     // CloseAddButton (6200)
void onAdd(platform::Window window);          // AddButton (5200)

// Appends one record to the plain puzzle file; libraryState.recordCount follows only when
// it was written. Returns whether it was.
bool AppendPuzzleRecord(const std::string& record);

}  // namespace library
