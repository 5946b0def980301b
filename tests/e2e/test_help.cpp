// HelpButton on a real desktop: the error box without a help file, the
// refusal while a "ZPT Quorvel" window (or a viewer's window with its own name
// before that title) is open, and the hand-over to the default viewer
// registered for the help file's type.
#include <sys/stat.h>

#include <csignal>
#include <set>
#include <sstream>

#include "tests/e2e/Harness.h"
#include "ui/Controls.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;

const std::string kLibrary = kSixRecords;

class Help : public ProgramTest {
protected:
    // Registers a stub viewer for compiled help files in private XDG
    // directories; it writes its environment to viewer-env.txt, then its
    // argument to viewer-calls.txt.
    Environment stubViewer() {
        const fs::path data = dir() / "xdg-data", config = dir() / "xdg-config";
        fs::create_directories(data / "applications");
        fs::create_directories(config);
        const fs::path script = dir() / "stub-viewer.sh";
        writeFile(script, "#!/bin/sh\nenv > '" + (dir() / "viewer-env.txt").string() + "'\nprintf '%s\\n' \"$1\" >> '" +
                              (dir() / "viewer-calls.txt").string() + "'\n");
        fs::permissions(script, fs::perms::owner_all);
        writeFile(data / "applications" / "tarvik-e2e-viewer.desktop",
                  "[Desktop Entry]\nType=Application\nName=Stub help viewer\nExec=" + script.string() +
                      " %f\nMimeType=application/vnd.ms-htmlhelp;\nNoDisplay=true\n");
        writeFile(config / "mimeapps.list",
                  "[Default Applications]\napplication/vnd.ms-htmlhelp=tarvik-e2e-viewer.desktop\n"
                  "[Added Associations]\napplication/vnd.ms-htmlhelp=tarvik-e2e-viewer.desktop;\n");
        return {{"XDG_DATA_HOME", data.string()}, {"XDG_CONFIG_HOME", config.string()}};
    }

    // A help file beside the program: the shipped one, or a file with its magic.
    void placeHelpFile() {
        const fs::path shipped = fs::path(TARVIK_SOURCE_DIR) / "resources" / "Tarvik_kxv-help.chm";
        if (fs::exists(shipped)) {
            fs::copy_file(shipped, file("Tarvik_kxv-help.chm"), fs::copy_options::overwrite_existing);
        } else {
            writeFile(file("Tarvik_kxv-help.chm"), std::string("ITSF\x03\0\0\0", 8) + std::string(88, '\0'));
        }
    }

    // Whether the box on screen looks exactly like a standard box with this
    // title and text, drawn by the helper beside it.
    ::testing::AssertionResult boxShows(const std::string& boxId, const std::string& title,
                                        const std::string& text) {
        xdo_->focus(boxId);
        if (!waitForFocus(boxId)) return ::testing::AssertionFailure() << "the box does not take the focus";
        const auto g = xdo_->geometry(boxId);
        if (!g) return ::testing::AssertionFailure() << "the box has no geometry";
        const QImage program = settledScreenshot().copy(g->x, g->y, g->width, g->height);

        Process reference;
        if (!reference.start({TARVIK_E2E_HELPER, "box", "20", "20", title, text},
                             {{"DISPLAY", x_.display()}, {"QT_QPA_PLATFORM", "xcb"}}, dir(),
                             dir() / "box.out", dir() / "box.err")) {
            return ::testing::AssertionFailure() << "cannot start the helper";
        }
        std::string refId;
        waitUntil([&] {
            for (const auto& id : xdo_->search("^" + title + "$", true))
                if (id != boxId) refId = id;
            return !refId.empty();
        }, 5s);
        if (refId.empty()) return ::testing::AssertionFailure() << "the reference box did not appear";
        xdo_->focus(refId);
        if (!waitForFocus(refId)) return ::testing::AssertionFailure() << "the reference box does not take the focus";
        const auto r = xdo_->geometry(refId);
        const QImage expected = settledScreenshot().copy(r->x, r->y, r->width, r->height);
        xdo_->focus(boxId);
        if (r->width != g->width || r->height != g->height) {
            return ::testing::AssertionFailure()
                   << "the box is " << g->width << "x" << g->height << ", a box with the text \""
                   << text << "\" is " << r->width << "x" << r->height;
        }
        const int differing = differingPixels(program, expected, 0, 0, g->width, g->height);
        if (differing > 12) {
            return ::testing::AssertionFailure()
                   << differing << " pixels differ from a box with the text \"" << text << "\"";
        }
        return ::testing::AssertionSuccess();
    }

    bool dismiss(const std::string& boxId, const std::string& title) {
        xdo_->focus(boxId);
        if (!waitForFocus(boxId)) return false;
        xdo_->key("Return");
        return waitUntil([&] {
            for (const auto& id : xdo_->search("^" + title + "$", true))
                if (id == boxId) return false;
            return true;
        }, 3s);
    }
};

TEST_F(Help, WithoutTheHelpFileAnErrorBoxAppears) {
    writeLibrary(kLibrary);
    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    const std::string box = waitForWindow("Error - Tarvik_KXv");
    ASSERT_FALSE(box.empty()) << "no box titled \"Error - Tarvik_KXv\" after HelpButton";
    EXPECT_TRUE(boxShows(box, "Error - Tarvik_KXv", "Help files could not be opened..."));
    // The box has no owner: a second press is handled while it is open.
    clickControl(ui::id::HelpButton);
    EXPECT_TRUE(waitUntil([&] { return xdo_->search("^Error - Tarvik_KXv$", true).size() == 2; }, 5s))
        << "a second HelpButton press while the box is open shows no second box";
    for (const auto& id : xdo_->search("^Error - Tarvik_KXv$", true)) {
        if (id != box) {
            EXPECT_TRUE(dismiss(id, "Error - Tarvik_KXv")) << "Return does not close the second box";
        }
    }
    EXPECT_TRUE(dismiss(box, "Error - Tarvik_KXv")) << "Return does not close the box";
    EXPECT_FALSE(fs::exists(file("viewer-calls.txt"))) << "a viewer was started for a missing file";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
    EXPECT_TRUE(windowVisible("Tarvik_KXv"));
}

TEST_F(Help, AWindowTitledZptQuorvelRefusesThePress) {
    writeLibrary(kLibrary);
    placeHelpFile();
    Process other;
    ASSERT_TRUE(other.start({TARVIK_E2E_HELPER, "window", "ZPT Quorvel"},
                            {{"DISPLAY", x_.display()}, {"QT_QPA_PLATFORM", "xcb"}}, dir(),
                            dir() / "other.out", dir() / "other.err"));
    ASSERT_FALSE(waitForWindow("ZPT Quorvel").empty()) << "the helper window did not appear";

    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    const std::string box = waitForWindow("System - Permission Denied");
    ASSERT_FALSE(box.empty()) << "no box titled \"System - Permission Denied\"";
    EXPECT_TRUE(boxShows(box, "System - Permission Denied",
                         "terminating request... help program is currently in use."));
    EXPECT_TRUE(dismiss(box, "System - Permission Denied"));
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the box";
    EXPECT_FALSE(fs::exists(file("viewer-calls.txt"))) << "the help was opened although refused";
    EXPECT_TRUE(program_.running()) << program_.describeEnd();

    // With the other window gone the press opens the help.
    other.kill();
    ASSERT_TRUE(waitUntil([&] { return !windowVisible("ZPT Quorvel"); }, 3s));
    clickControl(ui::id::HelpButton);
    EXPECT_TRUE(waitUntil([&] { return fs::exists(file("viewer-calls.txt")); }, 5s))
        << "the help is not opened after the other window closed";
}

// xchm titles its window with its own name before the document's title; that
// window counts as the help window too.
TEST_F(Help, AnXchmWindowOfTheHelpRefusesThePress) {
    writeLibrary(kLibrary);
    placeHelpFile();
    const std::string title = "xCHM v. 1.35: ZPT Quorvel";
    Process viewer;
    ASSERT_TRUE(viewer.start({TARVIK_E2E_HELPER, "window", title},
                             {{"DISPLAY", x_.display()}, {"QT_QPA_PLATFORM", "xcb"}}, dir(),
                             dir() / "viewer.out", dir() / "viewer.err"));
    ASSERT_FALSE(waitForWindow(title).empty()) << "the helper window did not appear";

    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    const std::string box = waitForWindow("System - Permission Denied");
    ASSERT_FALSE(box.empty()) << "no refusal while \"" << title << "\" is open";
    EXPECT_TRUE(dismiss(box, "System - Permission Denied"));
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after the box";
    EXPECT_FALSE(fs::exists(file("viewer-calls.txt"))) << "the help was opened although refused";

    viewer.kill();
    ASSERT_TRUE(waitUntil([&] { return !windowVisible(title); }, 3s));
    clickControl(ui::id::HelpButton);
    EXPECT_TRUE(waitUntil([&] { return fs::exists(file("viewer-calls.txt")); }, 5s))
        << "the help is not opened after the viewer closed";
    EXPECT_FALSE(windowVisible("System - Permission Denied"));
}

TEST_F(Help, TheDefaultViewerGetsTheHelpFile) {
    writeLibrary(kLibrary);
    placeHelpFile();
    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    // The stub writes one whole line.
    ASSERT_TRUE(waitUntil([&] { return readFile(file("viewer-calls.txt")).ends_with("\n"); }, 5s))
        << "the stub viewer was not started";
    EXPECT_EQ(readFile(file("viewer-calls.txt")), fs::canonical(file("Tarvik_kxv-help.chm")).string() + "\n");
    ASSERT_TRUE(caughtUp()) << "the program does not take the keys after opening the help";
    EXPECT_FALSE(windowVisible("Error - Tarvik_KXv")) << "an error box appeared although the viewer started";
    EXPECT_FALSE(windowVisible("System - Permission Denied"));
    EXPECT_TRUE(program_.running()) << program_.describeEnd();
}

// The game asks for Qt's X11 plugin for itself; the viewer it starts gets the
// environment the game was given, with or without QT_QPA_PLATFORM in it.
TEST_F(Help, TheViewerGetsTheEnvironmentTheGameWasStartedWith) {
    writeLibrary(kLibrary);
    placeHelpFile();
    const auto viewerEnvironment = [&](const Environment& extra) {
        fs::remove(file("viewer-calls.txt"));
        fs::remove(file("viewer-env.txt"));
        Environment env = stubViewer();
        for (const auto& [k, v] : extra) env[k] = v;
        env["TARVIK_E2E_MARK"] = "given";
        launch(env);
        // Found by its title on the X server: the game runs on X11 either way.
        EXPECT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
        clickControl(ui::id::HelpButton);
        EXPECT_TRUE(waitUntil([&] { return fs::exists(file("viewer-calls.txt")); }, 5s))
            << "the stub viewer was not started";
        std::set<std::string> lines;
        std::istringstream in(readFile(file("viewer-env.txt")));
        for (std::string line; std::getline(in, line);) lines.insert(line);
        program_.kill();
        return lines;
    };
    const auto unset = viewerEnvironment({{"QT_QPA_PLATFORM", ""}});
    EXPECT_TRUE(unset.count("TARVIK_E2E_MARK=given")) << "the viewer did not get the game's environment";
    for (const auto& line : unset) EXPECT_NE(line.rfind("QT_QPA_PLATFORM=", 0), 0u) << "the viewer got " << line;
    const auto set = viewerEnvironment({{"QT_QPA_PLATFORM", "xcb"}});
    EXPECT_TRUE(set.count("TARVIK_E2E_MARK=given"));
    EXPECT_TRUE(set.count("QT_QPA_PLATFORM=xcb")) << "the viewer lost a variable the game was given";
}

TEST_F(Help, ATerminationSignalWhileABoxIsOpenStillExitsInOrder) {
    writeLibrary(kLibrary);
    writeFile(file("KXStats.dat"), "10 1 0 0 0 0");
    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    ASSERT_FALSE(waitForWindow("Error - Tarvik_KXv").empty()) << "no error box";
    program_.signal(SIGTERM);
    ASSERT_TRUE(program_.wait(10s)) << "SIGTERM with a box open did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    EXPECT_EQ(readFile(file("KXStats.dat")), "10 1 0 0 0 0");
}

TEST_F(Help, ExitButtonWorksWhileABoxIsOpen) {
    writeLibrary(kLibrary);
    launch(stubViewer());
    ASSERT_FALSE(waitForMainWindow().empty()) << program_.describeEnd();
    clickControl(ui::id::HelpButton);
    ASSERT_FALSE(waitForWindow("Error - Tarvik_KXv").empty()) << "no error box";
    // The box has no owner: the main window's buttons keep working.
    ASSERT_TRUE(exitThroughButton()) << "ExitButton with the box open did not end the program";
    EXPECT_EQ(program_.exitCode(), 0) << program_.describeEnd();
    EXPECT_EQ(readFile(file("OnLoad.dat")), scramble(kLibrary));
    EXPECT_EQ(readFile(file("KXData.dat")), "Data purged...");
    EXPECT_EQ(readFile(file("KXStats.dat")), "0 0 0 0 0 0");
}

}  // namespace
}  // namespace e2e
