#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QGuiApplication>
#include <QFile>
#include <QStyleFactory>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/Exit.h"
#include "app/Startup.h"
#include "platform/qt/EarlyWork.h"
#include "platform/qt/QtDesktop.h"
#include "platform/qt/TerminationSignals.h"
#include "platform/qt/XDisplay.h"
#include "ui/Controls.h"

namespace platform::qt {

namespace {

// Whether Qt will use the X11 platform plugin. Unless told otherwise it
// does: the layout needs windows placed at exact screen positions, which
// X allows and Wayland does not.
bool usesX11() {
    const QByteArray name = qgetenv("QT_QPA_PLATFORM");
    if (name.isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    return name.isEmpty() || name == "xcb" || name.startsWith("xcb:");
}

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

// A second start in a folder another run holds: that run's main window
// comes to the front, and this one ends without a window of its own.
void bringRunningGameForward(pid_t holder) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return;
    xdisplay::activateWindowOf(holder, "Tarvik_KXv", "Tarvik_KXv");
}

}  // namespace

int runQtProgram(int argc, char** argv) {
    // The user's locale from the start, as the application would set it,
    // so that no thread ever reads numbers while it changes (fontconfig
    // reads its configuration on the early thread).
    std::setlocale(LC_ALL, "");
    qInstallMessageHandler(quietMessages);
    const bool x11 = usesX11();
    earlywork::begin(ui::firstFrameBitmaps());
    // An unreachable server shows while the application is made (see
    // quietMessages); no connection of our own is opened to find out.
    if (x11 && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fputs(kNoDisplay, stderr);
        earlywork::finish();
        return 1;
    }
    // The layout is in logical pixels: Qt scales it by the desktop's factor
    // (Xft.dpi, QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS), a fraction such as
    // 1.5 kept as it is, and the pictures come from their 2x twins wherever
    // the factor is above 1.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    makingApplication = true;
    QApplication application(argc, argv);
    makingApplication = false;
    if (auto* native = application.nativeInterface<QNativeInterface::QX11Application>())
        xdisplay::useApplicationDisplay(native->display());
    // The early thread may be looking at fonts: it ends before the
    // application does.
    struct EarlyWorkEnds {
        ~EarlyWorkEnds() { earlywork::finish(); }
    } earlyWorkEnds;
    QApplication::setApplicationName(QStringLiteral("tarvik-kxv"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setDesktopFileName(QStringLiteral("tarvik-kxv"));
    earlywork::applicationReady();

    int code = 0;
    {
        QtDesktop desk;
        platform::setDesktop(&desk);
        // A termination signal takes the same way out as the exit button.
        TerminationSignals signals_([] { app::orderlyExit(); });
        const app::StartOutcome start = app::startProgram(executablePath());
        if (start.started) {
            code = desk.runMessageLoop();
        } else {
            if (start.bringForward) bringRunningGameForward(start.holder);
            code = start.exitCode;
        }
        platform::setDesktop(nullptr);
    }
    xdisplay::closeDisplay();
    return code;
}

}  // namespace platform::qt
