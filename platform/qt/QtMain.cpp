#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QGuiApplication>
#include <QFile>
#include <QStyleFactory>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <vector>

#include "platform/qt/QtDesktop.h"
#include "platform/qt/TerminationSignals.h"
#include "platform/qt/XDisplay.h"

namespace platform::qt {

namespace {

// Whether Qt will use the X11 platform plugin. Unless told otherwise it
// does: the layout needs windows placed at exact screen positions, which
// X allows and Wayland does not.
bool usesX11() {
    const QByteArray name = qgetenv("QT_QPA_PLATFORM");
    return name.isEmpty() || name == "xcb" || name.startsWith("xcb:");
}

// The arguments the application is made with: the program's own, and the
// X11 plugin asked for on the command line where the environment names
// none. Not through the environment, which the programs it starts (the help
// viewer) inherit: they get the environment the program was given.
struct ApplicationArguments {
    ApplicationArguments(int argc, char** argv) {
        for (int i = 0; i < argc; ++i) pointers.push_back(argv[i]);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            pointers.insert(pointers.begin() + (argc > 0 ? 1 : 0), {platformOption, xcb});
        }
        count = static_cast<int>(pointers.size());
        pointers.push_back(nullptr);
    }
    char platformOption[10] = "-platform";
    char xcb[4] = "xcb";
    std::vector<char*> pointers;
    int count = 0;   // QApplication keeps a reference to it
};

const char* const kNoDisplay =
    "tarvik-kxv: cannot open the display (DISPLAY is not set or the X server is not running)\n";

// Set while the application is being made, and whether the X connection
// failed meanwhile.
bool makingApplication = false;
bool displayFailed = false;

// The program writes no log: Qt's own chatter (a missing audio device, say)
// stays quiet; only a fatal error, which ends the process, is printed. One
// while the application is made (no display, no platform plugin) ends the
// program at once with a line of its own: nothing is open yet.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (makingApplication && message.startsWith(QLatin1String("could not connect to display"))) displayFailed = true;
    if (type != QtFatalMsg) return;
    if (makingApplication) {
        if (displayFailed) {
            std::fputs(kNoDisplay, stderr);
        } else {
            std::fprintf(stderr, "tarvik-kxv: %s\n", message.section(QLatin1Char('\n'), 0, 0).toLocal8Bit().constData());
        }
        std::fflush(stderr);
        std::_Exit(1);
    }
    std::fprintf(stderr, "tarvik-kxv: %s\n", message.toLocal8Bit().constData());
}

std::string executablePath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !path.empty()) return path.string();
    const QByteArray fallback = QFile::encodeName(QCoreApplication::applicationFilePath());
    return {fallback.constData(), static_cast<std::size_t>(fallback.size())};
}

// A start that found another copy running: that copy's main window comes
// to the front, and this one ends without a window of its own.
void bringRunningCopyForward(const StartResult& result) {
    if (result.runningWindowClass.empty() || QGuiApplication::platformName() != QStringLiteral("xcb")) return;
    xdisplay::activateWindowOf(result.runningCopy, result.runningWindowTitle, result.runningWindowClass);
}

}  // namespace

int runQtProgram(int argc, char** argv, const Program& program) {
    qInstallMessageHandler(quietMessages);
    const bool x11 = usesX11();
    // An unreachable server shows while the application is made (see
    // quietMessages); no connection of our own is opened to find out.
    if (x11 && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    // The layout is in logical pixels: Qt scales it by the desktop's factor
    // (Xft.dpi, QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS), a fraction such as
    // 1.5 kept as it is, and the pictures come from their 2x twins wherever
    // the factor is above 1.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    ApplicationArguments arguments(argc, argv);
    makingApplication = true;
    QApplication application(arguments.count, arguments.pointers.data());
    makingApplication = false;
    if (auto* native = application.nativeInterface<QNativeInterface::QX11Application>())
        xdisplay::useApplicationDisplay(native->display());
    QApplication::setApplicationName(QStringLiteral("tarvik-kxv"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setDesktopFileName(QStringLiteral("tarvik-kxv"));

    int code = 0;
    {
        QtDesktop desk;
        platform::setDesktop(&desk);
        TerminationSignals signals_(program.terminate);
        const StartResult start = program.start(executablePath());
        if (start.started) {
            code = desk.runMessageLoop();
        } else {
            if (start.bringForward) bringRunningCopyForward(start);
            code = start.exitCode;
        }
        platform::setDesktop(nullptr);
    }
    xdisplay::closeDisplay();
    return code;
}

}  // namespace platform::qt
