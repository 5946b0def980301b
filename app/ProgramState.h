// Every program-wide record back to its start value, as at a fresh start.
// The tests and the fuzz targets run many programs in one process.
#pragma once

namespace app {

void resetProgramState();

}  // namespace app
