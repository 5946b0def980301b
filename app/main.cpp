// Entry point: the program runs on the Qt desktop.
#include "app/Exit.h"
#include "app/Startup.h"
#include "platform/qt/QtMain.h"
#include "ui/Controls.h"

int main(int argc, char** argv) {
    platform::qt::Program program;
    program.start = [](const std::string& executablePath) {
        const app::StartOutcome outcome = app::startProgram(executablePath);
        // Another copy holds the folder: its main window comes forward.
        const platform::WindowSpec main = ui::windowSpecs(0, 0)[0];
        return platform::qt::StartResult{outcome.started, outcome.holder, main.title, main.className};
    };
    // A termination signal takes the same way out as the exit button.
    program.terminate = [] { app::orderlyExit(); };
    return platform::qt::runQtProgram(argc, argv, program);
}
