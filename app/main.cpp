// Entry point: the program runs on the Qt desktop.
#include "app/KeyboardMode.h"
#include "platform/qt/QtMain.h"

int main(int argc, char** argv) {
    app::keyboardOptionGiven = app::keyboardOptionIn(argc, argv);
    return platform::qt::runQtProgram(argc, argv);
}
