// Start-up work done on a second thread while the main thread loads Qt and
// connects to the display: fontconfig reads its configuration, the icon and
// the bitmaps of the first frame are read and, once the application exists,
// the font database is filled and the phrase font fitted. The main thread
// waits for a piece of it only where it needs that piece, and gets the same
// results it would have worked out itself.
#pragma once

#include <QImage>

#include <vector>

namespace platform::qt::earlywork {

// Starts the thread; the first thing the program does.
void begin(std::vector<int> firstFrameBitmaps);

// The application exists: the thread may look at fonts from here on.
void applicationReady();

// The window icon's pictures, one for each size it was drawn at up to 64
// pixels; waits for them.
std::vector<QImage> iconImages();

// Waits for the thread to end (telling it not to wait for the application
// any more); before the application goes. Safe to call more than once.
void finish();

}  // namespace platform::qt::earlywork
