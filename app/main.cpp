// Entry point: the program runs on the Qt desktop.
#include "platform/qt/QtMain.h"

int main(int argc, char** argv) { return platform::qt::runQtProgram(argc, argv); }
