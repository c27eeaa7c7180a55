#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include "browser/NullBrowserPane.h"
#include "browser/PlainBrowserPane.h"

namespace {

TEST(NullBrowserPane, RecordsNavigationAndWalksItsHistory) {
    TNullBrowserPane pane;
    QSignalSpy navigated(&pane, &TBrowserPane::Navigated);
    EXPECT_TRUE(pane.Location().isEmpty());
    pane.Navigate("/tmp/a.html");
    pane.Navigate("/tmp/b.html");
    EXPECT_EQ(pane.Location(), "/tmp/b.html");
    pane.GoBack();
    EXPECT_EQ(pane.Location(), "/tmp/a.html");
    pane.GoBack(); // nothing before the first page
    EXPECT_EQ(pane.Location(), "/tmp/a.html");
    pane.GoForward();
    EXPECT_EQ(pane.Location(), "/tmp/b.html");
    pane.GoBack();
    pane.Navigate("/tmp/c.html"); // a new page drops the pages ahead
    EXPECT_EQ(pane.history, QStringList({"/tmp/a.html", "/tmp/c.html"}));
    pane.GoForward();
    EXPECT_EQ(pane.Location(), "/tmp/c.html");
    EXPECT_EQ(navigated.count(), 3);
}

TEST(PlainBrowserPane, NamesThePageAndOffersToOpenIt) {
    TPlainBrowserPane pane;
    QPushButton* open = pane.findChild<QPushButton*>();
    QLabel* label = pane.findChild<QLabel*>();
    ASSERT_NE(open, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(open->isEnabled());
    pane.Navigate("/tmp/out/house.html");
    EXPECT_TRUE(open->isEnabled());
    EXPECT_TRUE(label->text().contains("/tmp/out/house.html"));
    EXPECT_EQ(pane.Location(), "/tmp/out/house.html");
    // After a failed open it names no page and offers nothing.
    pane.Clear();
    EXPECT_TRUE(pane.Location().isEmpty());
    EXPECT_FALSE(open->isEnabled());
    EXPECT_FALSE(label->text().contains("house.html"));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
