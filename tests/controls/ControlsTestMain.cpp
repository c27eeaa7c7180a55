// Entry point of the control tests: one QApplication for every test, drawing offscreen with a
// fixed style and a 12-pixel font so that pixel checks do not depend on the desktop.

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    // Whole pixels only: the caption checks look for exact colours.
    font.setStyleStrategy(QFont::NoAntialias);
    QApplication::setFont(font);
    return RUN_ALL_TESTS();
}
