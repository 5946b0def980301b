// Window operations, timers, message boxes, the quit, the title search, the
// document opener, the waves and the termination signals on the Qt desktop.
#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "QtFixture.h"
#include "platform/qt/DocumentOpener.h"
#include "platform/qt/TerminationSignals.h"
#include "platform/qt/WavePlayer.h"
#include "ui/SoundCues.h"

namespace {

using platform::Message;
using platform::Window;
using qt_testing::deliveredOf;
using qt_testing::QtProgramTest;

class DesktopTest : public QtProgramTest {};

TEST_F(DesktopTest, MoveKeepsTheExactGeometryEvenAboveAndLeftOfTheScreen) {
    start();
    desk->moveWindow(Window::AddPuzzle, -40, -66, 698, 400);
    EXPECT_EQ(window(Window::AddPuzzle)->geometry(), QRect(-40, -66, 698, 400));
    EXPECT_EQ(desk->windowRect(Window::AddPuzzle), (platform::Rect{-40, -66, 658, 334}));
    desk->moveWindow(Window::Main, 64, 6, 900, 620);
    EXPECT_EQ(desk->clientToScreen(Window::Main, {10, 20}), (platform::Point{74, 26}));
    const platform::Rect tile = desk->controlRect(ui::id::LetterTile(0));
    EXPECT_EQ(tile, (platform::Rect{64 + 86, 6 + 479, 64 + 86 + 19, 6 + 479 + 20}));
}

TEST_F(DesktopTest, ShowRestoresAMinimisedWindowAndHideHidesIt) {
    start();
    QWidget* main = window(Window::Main);
    desk->minimizeWindow(Window::Main);
    EXPECT_TRUE(main->isMinimized() || !main->isVisible());
    desk->showWindow(Window::Main);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->isMinimized());
    desk->hideWindow(Window::Main);
    EXPECT_FALSE(main->isVisible());
    desk->showWindow(Window::Main);
    EXPECT_TRUE(main->isVisible());
}

TEST_F(DesktopTest, ControlsHideAndShow) {
    start();
    desk->showControl(ui::id::GallowsStage1);
    EXPECT_TRUE(control(ui::id::GallowsStage1)->isVisible());
    desk->hideControl(ui::id::LetterTile(3));
    EXPECT_FALSE(control(ui::id::LetterTile(3))->isVisible());
    desk->showControl(ui::id::LetterTile(3));
    EXPECT_TRUE(control(ui::id::LetterTile(3))->isVisible());
}

TEST_F(DesktopTest, DestroyingTheMainWindowTakesTheOwnedOnesWithItInOrder) {
    start();
    QPointer<QWidget> main = window(Window::Main);
    QPointer<QWidget> add = window(Window::AddPuzzle);
    desk->startTimer(Window::Main, 1, 10);
    desk->destroyWindow(Window::Main);
    const auto destroys = deliveredOf(Message::Destroy);
    ASSERT_EQ(destroys.size(), 3u);
    EXPECT_EQ(destroys[0].window, Window::AddPuzzle);
    EXPECT_EQ(destroys[1].window, Window::Message);
    EXPECT_EQ(destroys[2].window, Window::Main);
    EXPECT_EQ(window(Window::Main), nullptr);
    EXPECT_EQ(control(ui::id::GuessEdit), nullptr);
    qt_testing::flushDeletions();
    EXPECT_TRUE(main.isNull());
    EXPECT_TRUE(add.isNull());
    // Its timer went with it, and later calls are harmless.
    QTest::qWait(40);
    EXPECT_TRUE(deliveredOf(Message::Timer).empty());
    desk->setText(ui::id::GuessEdit, "x");
    EXPECT_EQ(desk->text(ui::id::GuessEdit), "");
    desk->destroyWindow(Window::Main);
    EXPECT_EQ(deliveredOf(Message::Destroy).size(), 3u);
}

TEST_F(DesktopTest, DestroyingAnOwnedWindowLeavesTheOthers) {
    start();
    desk->destroyWindow(Window::Message);
    const auto destroys = deliveredOf(Message::Destroy);
    ASSERT_EQ(destroys.size(), 1u);
    EXPECT_EQ(destroys[0].window, Window::Message);
    EXPECT_NE(window(Window::Main), nullptr);
    EXPECT_NE(window(Window::AddPuzzle), nullptr);
}

TEST_F(DesktopTest, TimersDeliverTheirIdUntilStoppedAndARestartReplacesThem) {
    start();
    desk->startTimer(Window::Main, 1, 10);
    desk->startTimer(Window::Main, 1, 10);   // the same timer, not a second one
    QTRY_VERIFY_WITH_TIMEOUT(deliveredOf(Message::Timer).size() >= 3, 2000);
    desk->stopTimer(Window::Main, 1);
    const auto ticks = deliveredOf(Message::Timer);
    for (const auto& t : ticks) {
        EXPECT_EQ(t.window, Window::Main);
        EXPECT_EQ(t.wParam, 1u);
    }
    QTest::qWait(60);
    EXPECT_EQ(deliveredOf(Message::Timer).size(), ticks.size());

    // Two running timers would tick about twice as often as one.
    qt_testing::delivered().clear();
    desk->startTimer(Window::Main, 1, 25);
    desk->startTimer(Window::Main, 1, 25);
    QTest::qWait(260);
    desk->stopTimer(Window::Main, 1);
    EXPECT_LE(deliveredOf(Message::Timer).size(), 12u);
}

TEST_F(DesktopTest, TimersStopFromTheirOwnTick) {
    start();
    platform::setWindowProc([](Window w, Message m, std::uintptr_t id, std::intptr_t) -> long {
        if (m == Message::Timer) {
            qt_testing::delivered().push_back({w, m, id, 0});
            platform::desktop().stopTimer(w, static_cast<int>(id));
        }
        return 0;
    });
    desk->startTimer(Window::Main, 1, 5);
    QTest::qWait(80);
    EXPECT_EQ(deliveredOf(Message::Timer).size(), 1u);
}

// Finds the open message box, if any.
QMessageBox* openBox() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) return box;
    }
    return nullptr;
}

TEST_F(DesktopTest, MessageBoxShowsCaptionAndTextWithOneOkAndNoIcon) {
    start();
    QString title, text;
    int buttons = 0;
    bool topmost = false;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QTimer::singleShot(50, [&] {
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        buttons = static_cast<int>(box->buttons().size());
        icon = box->icon();
        topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        EXPECT_EQ(box->parentWidget(), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    desk->messageBox("terminating request... help program is currently in use.",
                     "System - Permission Denied", platform::MB_TOPMOST);
    EXPECT_EQ(title, QStringLiteral("System - Permission Denied"));
    EXPECT_EQ(text, QStringLiteral("terminating request... help program is currently in use."));
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_TRUE(topmost);

    QTimer::singleShot(50, [&] {
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr);
        topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->button(QMessageBox::Ok)->click();
    });
    desk->messageBox("Help files could not be opened...", "Error - Tarvik_KXv", platform::MB_OK);
    EXPECT_FALSE(topmost);
}

TEST_F(DesktopTest, WhileABoxIsOpenTheWindowsKeepWorkingAndASecondBoxCanOpen) {
    start();
    int boxesSeen = 0;
    QTimer::singleShot(30, [&] {
        QTimer::singleShot(30, [&] {
            boxesSeen = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                boxesSeen += qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible() ? 1 : 0;
            // Close the inner box; the outer one is closed once it returns.
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (box != nullptr && box->isVisible() && box->text() == QStringLiteral("second"))
                    box->button(QMessageBox::Ok)->click();
            }
        });
        // The main window still takes clicks: a button press reaches the
        // program, which opens a second box inside the first.
        QTest::mouseClick(control(ui::id::HelpButton), Qt::LeftButton, {}, QPoint(5, 5));
        if (QMessageBox* outer = openBox()) outer->button(QMessageBox::Ok)->click();
    });
    platform::setWindowProc([](Window w, Message m, std::uintptr_t id, std::intptr_t) -> long {
        qt_testing::delivered().push_back({w, m, id, 0});
        if (m == Message::Command) platform::desktop().messageBox("second", "Second", platform::MB_OK);
        return 0;
    });
    desk->messageBox("first", "First", platform::MB_TOPMOST);
    EXPECT_EQ(boxesSeen, 2);
    EXPECT_EQ(deliveredOf(Message::Command).size(), 1u);
    EXPECT_EQ(openBox(), nullptr);
}

TEST_F(DesktopTest, AQuitPostedWhileABoxIsOpenEndsTheBox) {
    start();
    QTimer::singleShot(30, [&] { desk->postQuit(0); });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        if (QMessageBox* box = openBox()) box->button(QMessageBox::Ok)->click();
    });
    watchdog.start(3000);
    desk->messageBox("text", "caption", platform::MB_OK);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(desk->quitPosted());
    // Once the quit is posted, no box holds the program up.
    desk->messageBox("later", "caption", platform::MB_OK);
    EXPECT_FALSE(timedOut);
}

TEST_F(DesktopTest, AQuitPostedBeforeTheLoopRunsEndsItAtOnceWithItsCode) {
    start();
    desk->postQuit(0);
    desk->postQuit(3);   // the first quit stands
    EXPECT_EQ(desk->runMessageLoop(), 0);
}

TEST_F(DesktopTest, TheExitButtonEndsTheRunningLoopWithCodeZero) {
    start(false);   // the real window procedure
    QTimer::singleShot(30, [&] {
        QTest::mouseClick(control(ui::id::ExitButton), Qt::LeftButton, {}, QPoint(5, 5));
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(7); });
    watchdog.start(5000);
    EXPECT_EQ(desk->runMessageLoop(), 0);
    EXPECT_TRUE(desk->quitPosted());
    EXPECT_EQ(window(Window::Main), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir / "KXStats.dat"));
}

TEST_F(DesktopTest, TheExitButtonPressedWhileABoxIsOpenEndsBoxAndLoop) {
    start(false);
    bool boxReturned = false;
    QTimer::singleShot(20, [&] {
        QTimer::singleShot(40, [&] {
            QTest::mouseClick(control(ui::id::ExitButton), Qt::LeftButton, {}, QPoint(5, 5));
        });
        desk->messageBox("Help files could not be opened...", "Error - Tarvik_KXv", platform::MB_OK);
        boxReturned = true;
    });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QMessageBox* box = openBox()) box->button(QMessageBox::Ok)->click();
        QCoreApplication::exit(7);
    });
    watchdog.start(5000);
    EXPECT_EQ(desk->runMessageLoop(), 0);
    EXPECT_TRUE(boxReturned);
    EXPECT_EQ(openBox(), nullptr);
}

TEST_F(DesktopTest, TitleSearchSeesTheProgramsOwnWindowsHiddenOrNot) {
    start();
    EXPECT_TRUE(desk->topLevelWindowExists("Tarvik_KXv"));
    EXPECT_TRUE(desk->topLevelWindowExists("Add_Puzzle"));   // hidden, still there
    EXPECT_FALSE(desk->topLevelWindowExists("ZPT Quorvel"));
    EXPECT_FALSE(desk->topLevelWindowExists("Tarvik"));      // exact titles only
    QWidget other;
    other.setWindowTitle(QStringLiteral("ZPT Quorvel"));
    other.show();
    EXPECT_TRUE(desk->topLevelWindowExists("ZPT Quorvel"));
    other.setWindowTitle(QStringLiteral("kchmviewer - ZPT Quorvel"));
    EXPECT_TRUE(desk->topLevelWindowExists("ZPT Quorvel"));   // a viewer's prefix counts
    other.setWindowTitle(QStringLiteral("ZPT Quorvel - kchmviewer"));
    EXPECT_FALSE(desk->topLevelWindowExists("ZPT Quorvel"));
    other.hide();
    desk->destroyWindow(Window::Main);
    qt_testing::flushDeletions();   // on X the native windows go with the widgets
    EXPECT_FALSE(desk->topLevelWindowExists("Add_Puzzle"));
}

TEST(DocumentOpener, FailsForMissingUnreadableAndNonRegularFiles) {
    EXPECT_FALSE(platform::qt::openWithDefaultApplication("/nonexistent/Tarvik_kxv-help.chm"));
    EXPECT_FALSE(platform::qt::openWithDefaultApplication(""));
    EXPECT_FALSE(platform::qt::openWithDefaultApplication("/tmp"));
    if (geteuid() != 0) {
        const std::string path = "/tmp/tarvik-unreadable.txt";
        std::ofstream(path) << "x";
        chmod(path.c_str(), 0);
        EXPECT_FALSE(platform::qt::openWithDefaultApplication(path));
        std::remove(path.c_str());
    }
}

// Opens a text file with a viewer registered in a private XDG tree, in a
// child process so the registration stays out of this one.
TEST(DocumentOpener, LaunchesTheDefaultApplicationWithTheFileAndDoesNotWait) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char pattern[] = "/tmp/tarvik-xdg-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path root = pattern;
    std::filesystem::create_directories(root / "data/applications");
    std::filesystem::create_directories(root / "config");
    const auto marker = root / "opened";
    std::ofstream(root / "data/applications/tarvik-test-viewer.desktop")
        << "[Desktop Entry]\nType=Application\nName=Test viewer\n"
        << "Exec=sh -c 'sleep 1; echo \"$1\" > " << marker.string() << "' viewer %f\n"
        << "MimeType=text/plain;\n";
    std::ofstream(root / "config/mimeapps.list")
        << "[Default Applications]\ntext/plain=tarvik-test-viewer.desktop\n";
    const auto document = root / "notes.txt";
    std::ofstream(document) << "plain text\n";

    EXPECT_EXIT(
        {
            setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
            setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
            setenv("XDG_CURRENT_DESKTOP", "", 1);
            const auto before = std::chrono::steady_clock::now();
            const bool ok = platform::qt::openWithDefaultApplication(document.string());
            const auto took = std::chrono::steady_clock::now() - before;
            // The viewer sleeps a second before it writes: a launch that
            // waited for it would take that long.
            if (!ok) std::_Exit(2);
            if (took > std::chrono::milliseconds(900)) std::_Exit(3);
            for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) usleep(50000);
            std::ifstream in(marker);
            std::string line;
            std::getline(in, line);
            std::_Exit(line == document.string() ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

TEST(WavePlayer, AWaveThatCannotPlayGivesTheBeep) {
    int beeps = 0;
    platform::qt::WavePlayer player([&] { ++beeps; });
    player.play(99999);   // no such resource
    EXPECT_EQ(beeps, 1);
    EXPECT_FALSE(platform::qt::WavePlayer::hasWave(99999));
}

TEST(WavePlayer, EveryCueHasItsWave) {
    for (const auto& cue : ui::cueTable) {
        EXPECT_TRUE(platform::qt::WavePlayer::hasWave(cue.resource)) << cue.name;
    }
}

// What goes to the sound server is the stored sound, in its own format.
TEST(WavePlayer, EveryCueDecodesToItsFormatAndLength) {
    for (const auto& cue : ui::cueTable) {
        SCOPED_TRACE(cue.name);
        const auto wave = platform::qt::WavePlayer::loadWave(cue.resource);
        ASSERT_TRUE(wave.has_value());
        EXPECT_EQ(wave->sampleRate, cue.sampleRate);
        EXPECT_EQ(wave->bitsPerSample, cue.bitsPerSample);
        EXPECT_EQ(wave->channels, 1);
        EXPECT_NEAR(wave->seconds(), cue.seconds, 0.001);
    }
}

TEST(WaveData, OnlyWholeUncompressedPcmDecodes) {
    auto le = [](unsigned v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return out;
    };
    auto file = [&](unsigned format, unsigned channels, unsigned bits, const std::string& data,
                    const std::string& extra = {}) {
        const std::string fmt = le(format, 2) + le(channels, 2) + le(8000, 4) +
                                le(8000 * channels * bits / 8, 4) + le(channels * bits / 8, 2) + le(bits, 2);
        const std::string body = "WAVE" + extra + "fmt " + le(16, 4) + fmt + "data" +
                                 le(static_cast<unsigned>(data.size()), 4) + data;
        return "RIFF" + le(static_cast<unsigned>(body.size()), 4) + body;
    };
    // A chunk the decoder does not know (padded to an even size) is skipped.
    const auto good = platform::qt::decodeWave(file(1, 1, 16, std::string("\x01\x00\x02\x00", 4),
                                                    "LIST" + le(3, 4) + "abc" + std::string(1, '\0')));
    ASSERT_TRUE(good.has_value());
    EXPECT_EQ(good->samples, (std::vector<std::uint8_t>{1, 0, 2, 0}));
    // An odd byte at the end of 16-bit data is no sample.
    const auto odd = platform::qt::decodeWave(file(1, 1, 16, std::string("\x01\x00\x02", 3)));
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->samples.size(), 2u);
    EXPECT_FALSE(platform::qt::decodeWave(file(3, 1, 32, "abcd")).has_value()) << "float samples";
    EXPECT_FALSE(platform::qt::decodeWave(file(1, 6, 16, "abcdefghijkl")).has_value()) << "six channels";
    EXPECT_FALSE(platform::qt::decodeWave(file(1, 1, 24, "abc")).has_value()) << "24 bits";
    std::string cut = file(1, 1, 8, "abcdefgh");
    cut.resize(cut.size() - 3);
    EXPECT_FALSE(platform::qt::decodeWave(cut).has_value()) << "data cut short";
    EXPECT_FALSE(platform::qt::decodeWave("RIFF").has_value());
    EXPECT_FALSE(platform::qt::decodeWave(std::string(64, 'x')).has_value());
}

TEST(TerminationSignals, EachSignalRunsTheHandlerOnTheEventLoop) {
    int calls = 0;
    {
        platform::qt::TerminationSignals signals_([&] { ++calls; });
        ASSERT_TRUE(signals_.installed());
        std::raise(SIGTERM);
        EXPECT_EQ(calls, 0);   // not inside the signal handler
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 2000);
        std::raise(SIGHUP);
        std::raise(SIGINT);
        QTRY_COMPARE_WITH_TIMEOUT(calls, 3, 2000);
    }
    // Uninstalled: the previous handlers are back.
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

TEST_F(DesktopTest, ASignalTakesTheOrderlyExitEvenWithABoxOpen) {
    start(false);
    platform::qt::TerminationSignals signals_([] { app::orderlyExit(); });
    QTimer::singleShot(30, [] { std::raise(SIGTERM); });
    QTimer watchdog;
    bool timedOut = false;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        if (QMessageBox* box = openBox()) box->button(QMessageBox::Ok)->click();
    });
    watchdog.start(3000);
    desk->messageBox("text", "caption", platform::MB_OK);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(desk->quitPosted());
    EXPECT_EQ(window(Window::Main), nullptr);
    EXPECT_TRUE(std::filesystem::exists(dir / "KXStats.dat"));
}

}  // namespace
