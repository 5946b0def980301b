// Entry point: the command line, then the program on the Qt desktop.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/CommandLine.h"
#include "app/Exit.h"
#include "app/FolderChoice.h"
#include "app/KeyboardMode.h"
#include "app/Startup.h"
#include "platform/qt/QtMain.h"
#include "ui/Controls.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const app::CommandLine line = app::parseCommandLine(args, [&] {
        std::error_code ec;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
        return app::chooseAppPaths(ec ? std::string(argc > 0 ? argv[0] : "") : self.string(),
                                   app::processEnvironment());
    });
    if (!line.run) {
        std::fputs(line.output.c_str(), stdout);
        std::fputs(line.errors.c_str(), stderr);
        return std::fflush(stdout) == 0 ? line.exitCode : 1;
    }
    app::keyboardOptionGiven = line.keyboard;
    platform::qt::Program program;
    program.start = [](const std::string& executablePath) {
        const app::StartOutcome outcome = app::startProgram(executablePath);
        // Another copy holds the folder: its main window comes forward.
        const platform::WindowSpec main = ui::windowSpecs(0, 0)[0];
        return platform::qt::StartResult{outcome.started, outcome.holder, main.title, main.className,
                                         outcome.bringForward, outcome.exitCode};
    };
    // A termination signal takes the same way out as the exit button.
    program.terminate = [] { app::orderlyExit(); };
    return platform::qt::runQtProgram(argc, argv, program);
}
