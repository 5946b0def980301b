#include "platform/qt/QtMain.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QIcon>
#include <QStyleFactory>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/Exit.h"
#include "app/Startup.h"
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
    if (name.isEmpty()) qputenv("QT_QPA_PLATFORM", "xcb");
    return name.isEmpty() || name == "xcb" || name.startsWith("xcb:");
}

// The program writes no log: Qt's own chatter (a missing audio device, say)
// stays quiet; only a fatal error, which ends the process, is printed.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) return;
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
    if (usesX11() && !xdisplay::canOpenDisplay()) {
        std::fputs("tarvik-kxv: cannot open the display (DISPLAY is not set or the X server is not running)\n",
                   stderr);
        return 1;
    }
    qInstallMessageHandler(quietMessages);
    // The layout is in logical pixels: Qt scales it by the desktop's factor
    // (Xft.dpi, QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS), a fraction such as
    // 1.5 kept as it is, and the pictures come from their 2x twins wherever
    // the factor is above 1.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvik-kxv"));
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setDesktopFileName(QStringLiteral("tarvik-kxv"));
    // The icon at every size it was drawn at, so each place gets a sharp one.
    QIcon icon;
    for (const QString& name : QDir(QStringLiteral(":/icon")).entryList(QDir::Files))
        icon.addFile(QStringLiteral(":/icon/") + name);
    if (!icon.isNull()) QApplication::setWindowIcon(icon);

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
            bringRunningGameForward(start.holder);
        }
        platform::setDesktop(nullptr);
    }
    xdisplay::closeDisplay();
    return code;
}

}  // namespace platform::qt
