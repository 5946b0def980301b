// Opening a document in the freedesktop default application, through GIO
// (opened at run time on first use).
// Kept apart from the Qt code, since the GLib headers clash with Qt's
// keywords.
#pragma once

#include <string>

namespace platform::qt {

// Starts the default application for the file's content type with the file
// and returns at once. False when the file is missing or unreadable, when no
// application is registered for its type, when GIO is not installed, or when
// the launch fails.
bool openWithDefaultApplication(const std::string& path);

}  // namespace platform::qt
