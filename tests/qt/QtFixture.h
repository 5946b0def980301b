// A fresh program on the Qt desktop for each test: an empty directory beside
// a pretend executable, a new QtDesktop, every program-wide record reset, and
// a recorder that can stand in for the window procedure.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QTest>

#include <cstdint>
#include <cstdlib>
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

// The device pixel ratio this run of the tests paints at: QT_SCALE_FACTOR,
// 1 when it is unset (ctest runs the suite at 1, 1.5 and 2).
inline double testRatio() {
    bool ok = false;
    const double r = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok && r > 0 ? r : 1.0;
}

inline bool wholeRatio() { return testRatio() == 1.0 || testRatio() == 2.0; }

// A picture as the program should show it over `deviceSize` pixels at the
// test ratio: the bitmap itself at 1, its 2x twin at 2, and at a fraction
// the twin brought smoothly to that size.
inline QImage expectedPicture(int number, const QSize& deviceSize) {
    const QImage picture = testRatio() <= 1.0
                               ? QImage(QStringLiteral(":/bitmaps/%1.bmp").arg(number))
                               : QImage(QStringLiteral(":/bitmaps/%1@2x.png").arg(number));
    if (picture.isNull()) return {};
    return picture.scaled(deviceSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

// Whether a screenshot (in device pixels) shows the picture: pixel for
// pixel at a whole ratio, nearly everywhere within a small tolerance at a
// fraction, where edges fall between device pixels.
inline ::testing::AssertionResult showsPicture(const QImage& shot, int number) {
    const QImage seen = shot.convertToFormat(QImage::Format_RGB32);
    const QImage expected = expectedPicture(number, seen.size());
    if (expected.isNull()) return ::testing::AssertionFailure() << "no bitmap " << number;
    const int tolerance = wholeRatio() ? 0 : 40;
    int good = 0;
    for (int y = 0; y < seen.height(); ++y)
        for (int x = 0; x < seen.width(); ++x) {
            const QRgb a = seen.pixel(x, y), b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
                std::abs(qBlue(a) - qBlue(b)) <= tolerance)
                ++good;
        }
    const double fraction = static_cast<double>(good) / (seen.width() * seen.height());
    if (fraction >= (wholeRatio() ? 1.0 : 0.9)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "only " << fraction << " of " << seen.width() << "x"
                                         << seen.height() << " pixels show bitmap " << number
                                         << " at ratio " << testRatio();
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
