#pragma once
// Helpers of the control tests: a shown, active top-level window to put controls on, pixel
// access to what a control draws, and a log that records the order of events.

#include "controls/MaxControl.h"

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// GoogleTest prints QString values in failure messages as text. Every test file sees this
// through this header, so that all of them print QString the same way.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vantor::test {

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(400, 400);
    }
    void TearDown() override { window.reset(); }

    // Shows the window and makes it the active one, as pointer and focus tests need.
    void ShowWindow() {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Another application in the foreground (false), or this window again (true).
    void SetApplicationActive(bool active) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(active ? window.get() : nullptr);
        QT_WARNING_POP
        ASSERT_EQ(QApplication::activeWindow(), active ? window.get() : nullptr);
    }

    std::unique_ptr<QWidget> window;
};

inline QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Colours as 8-bit RGB, the precision of a grabbed image (palette colours carry more).
inline QColor Rgb(const QColor& color) {
    return QColor(color.rgb());
}

inline QColor Pixel(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

inline QColor Sys(const QWidget* widget, TSysColor color) {
    return Rgb(SysColor(widget->palette(), color));
}

// Events in the order they were raised, as short names.
struct EventLog {
    std::vector<std::string> events;
    std::function<void()> Record(std::string name) {
        return [this, name] { events.push_back(name); };
    }
};

} // namespace vantor::test
