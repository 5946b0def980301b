// What assistive technology sees of the program's widgets: the interfaces
// that AT-SPI reads (roles, names, checked and unavailable states, a Press
// action for the pictures that act when clicked, the words a window's
// background shows) and the notices a screen reader speaks unasked.
#pragma once

#include <QString>

#include "platform/Desktop.h"

class QWidget;

namespace platform::qt::accessibility {

// Once, before the first window: our widgets get their interfaces from here.
void install();

void setRole(QWidget* w, platform::AccessibleRole role);
void setState(QWidget* w, platform::AccessibleState state, bool on);
// A window's words that only its background picture shows: its description,
// and a text in its tree.
void setWindowWords(QWidget* window, const QString& text);

// Speaks the text through a notification of the window (made on first use).
void announce(QWidget* window, const QString& text);

}  // namespace platform::qt::accessibility
