// A fresh program on the Qt desktop for each test: an empty directory beside
// a pretend executable, a new QtDesktop, every program-wide record reset, and
// a recorder that can stand in for the window procedure.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTest>

#include <cstdint>
#include <memory>
#include <vector>

#include "../logic/Fixture.h"
#include "app/GameWindowProc.h"
#include "platform/qt/QtDesktop.h"

namespace qt_testing {

struct Delivered {
    platform::Window window;
    platform::Message message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

// The messages the desktop delivered while the recorder was the window
// procedure.
inline std::vector<Delivered>& delivered() {
    static std::vector<Delivered> log;
    return log;
}

inline long recordMessage(platform::Window w, platform::Message m, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    delivered().push_back({w, m, wParam, lParam});
    return 0;
}

inline std::vector<Delivered> deliveredOf(platform::Message m) {
    std::vector<Delivered> out;
    for (const auto& d : delivered()) {
        if (d.message == m) out.push_back(d);
    }
    return out;
}

// Deletes what was left for later deletion, so each test starts clean.
inline void flushDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

class QtProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvik-qt-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        testing_support::resetProgramState();
        delivered().clear();
        desk = std::make_unique<platform::qt::QtDesktop>();
        platform::setDesktop(desk.get());
    }
    void TearDown() override {
        platform::setWindowProc(nullptr);
        desk.reset();
        platform::setDesktop(nullptr);
        flushDeletions();
        testing_support::resetProgramState();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    // Runs the whole start-up, as the real program does, then (when asked)
    // lets the recorder take the messages.
    void start(bool record = true) {
        app::startProgram((dir / "tarvik-kxv").string());
        if (record) platform::setWindowProc(&recordMessage);
        QCoreApplication::processEvents();
    }

    QWidget* window(platform::Window w) const { return desk->windowWidget(w); }
    QWidget* control(int id) const { return desk->controlWidget(id); }

    std::filesystem::path dir;
    std::unique_ptr<platform::qt::QtDesktop> desk;
};

}  // namespace qt_testing
