#include "controls/MaxGroup.h"

#include "ControlsTestSupport.h"

#include <QSignalSpy>
#include <QWindow>

namespace vantor {
namespace {

using test::ControlTest;
using test::Grab;
using test::Pixel;
using test::Sys;

class MaxGroupBoxTest : public ControlTest {
protected:
    // A box of the scene tab's kind: 201 high, with the 12-pixel font of the tests.
    TMaxGroupBox* AddBox(int y, int height = 201) {
        auto* box = new TMaxGroupBox(window.get());
        box->setGeometry(10, y, 180, height);
        return box;
    }
    void PressTitle(TMaxGroupBox* box, int y = 5) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(40, y));
    }
};

TEST_F(MaxGroupBoxTest, CollapseToTheTitleMovesTheNextBoxBy187) {
    TMaxGroupBox* first = AddBox(10);
    TMaxGroupBox* second = AddBox(219, 100);
    first->SetNextGroup(second);
    ShowWindow();
    ASSERT_EQ(first->TitleHeight(), 12);
    first->SetMinimized(true);
    EXPECT_EQ(first->height(), 14);
    EXPECT_EQ(first->MaxHeight(), 201);
    EXPECT_EQ(second->y(), 219 - 187);
    first->SetMinimized(false);
    EXPECT_EQ(first->height(), 201);
    EXPECT_EQ(second->y(), 219);
}

TEST_F(MaxGroupBoxTest, TitlePressTogglesWithoutMouseDown) {
    TMaxGroupBox* box = AddBox(10);
    ShowWindow();
    QSignalSpy downs(box, &TMaxGroupBox::OnMouseDown);
    PressTitle(box, 11);
    EXPECT_TRUE(box->Minimized());
    PressTitle(box);
    EXPECT_FALSE(box->Minimized());
    EXPECT_EQ(downs.count(), 0);
    PressTitle(box, 12); // below the 12-pixel title zone
    EXPECT_FALSE(box->Minimized());
    EXPECT_EQ(downs.count(), 1);
}

TEST_F(MaxGroupBoxTest, EnableMinimizedOffIgnoresTitleAndExpands) {
    TMaxGroupBox* box = AddBox(10);
    ShowWindow();
    box->SetMinimized(true);
    box->SetEnableMinimized(false);
    EXPECT_FALSE(box->Minimized());
    EXPECT_EQ(box->height(), 201);
    QSignalSpy downs(box, &TMaxGroupBox::OnMouseDown);
    PressTitle(box);
    EXPECT_FALSE(box->Minimized());
    EXPECT_EQ(downs.count(), 0);
}

TEST_F(MaxGroupBoxTest, MaxHeightFollowsResizesOnlyWhileExpanded) {
    TMaxGroupBox* box = AddBox(10);
    ShowWindow();
    box->resize(180, 150);
    EXPECT_EQ(box->MaxHeight(), 150);
    box->SetMinimized(true);
    box->resize(180, 30);
    EXPECT_EQ(box->MaxHeight(), 150);
    box->SetMinimized(false);
    EXPECT_EQ(box->height(), 150);
    box->SetMaxHeight(120);
    EXPECT_EQ(box->height(), 120);
    box->SetMinimized(true);
    box->SetMaxHeight(90);
    EXPECT_EQ(box->height(), 14);
    box->SetMinimized(false);
    EXPECT_EQ(box->height(), 90);
}

TEST_F(MaxGroupBoxTest, ChainRipplesDownBeforeAndAfterTheWindowIsShown) {
    TMaxGroupBox* first = AddBox(10, 100);
    TMaxGroupBox* second = AddBox(0, 50);
    TMaxGroupBox* third = AddBox(0, 50);
    first->SetNextGroup(second);
    second->SetNextGroup(third);
    second->SetNextOffset(4);
    EXPECT_EQ(second->y(), 118);
    EXPECT_EQ(third->y(), 172);
    first->SetMinimized(true);
    EXPECT_EQ(second->y(), 32);
    EXPECT_EQ(third->y(), 86);
    ShowWindow();
    first->SetMinimized(false);
    EXPECT_EQ(second->y(), 118);
    EXPECT_EQ(third->y(), 172);
    first->move(10, 20);
    EXPECT_EQ(third->y(), 182);
}

TEST_F(MaxGroupBoxTest, LinksMustBeChildOrSiblingAndNeverALoop) {
    TMaxGroupBox* first = AddBox(10, 50);
    TMaxGroupBox* second = AddBox(70, 50);
    TMaxGroupBox* third = AddBox(130, 50);
    QWidget stranger;
    first->SetNextGroup(&stranger);
    EXPECT_EQ(first->NextGroup(), nullptr);
    first->SetNextGroup(first);
    EXPECT_EQ(first->NextGroup(), nullptr);
    first->SetNextGroup(second);
    second->SetNextGroup(third);
    third->SetNextGroup(first);
    EXPECT_EQ(third->NextGroup(), nullptr);
    first->SetChildPanel(second);
    EXPECT_EQ(first->ChildPanel(), nullptr);
    delete second; // a link to a destroyed box is dropped, not followed
    EXPECT_EQ(first->NextGroup(), nullptr);
    first->SetMinimized(true);
}

TEST_F(MaxGroupBoxTest, ChildPanelFillsTheInsideAndHidesWhenCollapsed) {
    TMaxGroupBox* box = AddBox(10);
    auto* panel = new QWidget(box);
    box->SetChildPanel(panel);
    ShowWindow();
    EXPECT_EQ(panel->geometry(), QRect(2, 12, 176, 201 - 14));
    box->SetMinimized(true);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->height(), 201 - 14);
    box->SetMinimized(false);
    EXPECT_TRUE(panel->isVisible());
    box->resize(150, 120);
    EXPECT_EQ(panel->geometry(), QRect(2, 12, 146, 106));
}

TEST_F(MaxGroupBoxTest, CollapseButtonShowsMinusOrPlus) {
    TMaxGroupBox* box = AddBox(10, 100); // h = 12, h2 = 6: the button spans (8, 2) to (16, 10)
    box->SetCaption("Scene");
    const QColor dark = Sys(box, TSysColor::DkShadow3D);
    const QColor highlight = Sys(box, TSysColor::BtnHighlight);
    QImage image = Grab(box);
    EXPECT_EQ(Pixel(image, 8, 2), dark);
    EXPECT_EQ(Pixel(image, 16, 10), dark);
    EXPECT_EQ(Pixel(image, 9, 3), highlight);
    EXPECT_EQ(Pixel(image, 10, 6), dark);
    EXPECT_EQ(Pixel(image, 14, 6), dark);
    EXPECT_EQ(Pixel(image, 15, 6), highlight);
    EXPECT_EQ(Pixel(image, 12, 4), highlight);
    box->SetMinimized(true);
    image = Grab(box);
    EXPECT_EQ(Pixel(image, 12, 4), dark);
    EXPECT_EQ(Pixel(image, 12, 7), dark);
    EXPECT_EQ(Pixel(image, 12, 8), highlight);
    // The etched frame on the left, below the title.
    EXPECT_EQ(Pixel(image, 0, 10), Sys(box, TSysColor::BtnShadow));
    EXPECT_EQ(Pixel(image, 1, 10), highlight);
}

TEST_F(MaxGroupBoxTest, AliasTitleCornerPassesThePointerToWhatLiesBeneath) {
    auto* beneath = new TMaxControl(window.get());
    beneath->setGeometry(0, 0, 300, 100);
    TMaxGroupBox* box = AddBox(10, 100); // W = 180, h = 12
    box->SetStyle(TMaxGroupBoxStyle::mgbAlias);
    ShowWindow();
    EXPECT_FALSE(box->mask().contains(QPoint(179, 0)));
    EXPECT_FALSE(box->mask().contains(QPoint(170, 3))); // 10 + 3 < 14
    EXPECT_TRUE(box->mask().contains(QPoint(166, 0)));  // 14
    EXPECT_TRUE(box->mask().contains(QPoint(178, 13)));
    EXPECT_TRUE(box->mask().contains(QPoint(179, 50)));
    QSignalSpy beneathDowns(beneath, &TMaxControl::OnMouseDown);
    // Through the window, so that Qt picks the widget under the point.
    QWindow* handle = window->windowHandle();
    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(10 + 175, 10 + 3));
    EXPECT_EQ(beneathDowns.count(), 1);
    EXPECT_FALSE(box->Minimized());
    QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(10 + 100, 10 + 3));
    EXPECT_TRUE(box->Minimized());
    box->SetStyle(TMaxGroupBoxStyle::mgbDefault);
    EXPECT_TRUE(box->mask().isEmpty());
}

// ---- TMaxPanel ------------------------------------------------------------------------------

class MaxPanelTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        panel = new TMaxPanel(window.get());
        panel->setGeometry(0, 0, 300, 200);
        top = new QWidget(panel);
        top->setGeometry(10, 8, 100, 50);
        bottom = new QWidget(panel);
        bottom->setGeometry(10, 250, 100, 50); // children between y = 8 and y = 300
    }
    void Drag(int fromY, int toY) {
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(250, fromY));
        QTest::mouseMove(panel, QPoint(250, toY));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(250, toY));
    }
    TMaxPanel* panel = nullptr;
    QWidget* top = nullptr;
    QWidget* bottom = nullptr;
};

TEST_F(MaxPanelTest, DragScrollStopsEightPixelsFromTheEdges) {
    ShowWindow();
    Drag(170, 20); // up by 150
    EXPECT_EQ(top->y(), 8 - 108);
    EXPECT_EQ(bottom->y() + bottom->height(), 192);
    Drag(10, 210); // down by 200
    EXPECT_EQ(top->y(), 8);
    EXPECT_EQ(bottom->y(), 250);
    Drag(10, 100); // nothing above to show
    EXPECT_EQ(top->y(), 8);
}

TEST_F(MaxPanelTest, DragShowsTheVerticalResizeCursorAndFollowsEveryMove) {
    ShowWindow();
    QSignalSpy moves(panel, &TMaxPanel::OnMouseMove);
    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(250, 100));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeVerCursor);
    QTest::mouseMove(panel, QPoint(250, 90));
    QTest::mouseMove(panel, QPoint(250, 70));
    EXPECT_EQ(top->y(), 8 - 30);
    EXPECT_EQ(moves.count(), 2);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(250, 70));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseMove(panel, QPoint(250, 50)); // released: no scrolling
    EXPECT_EQ(top->y(), 8 - 30);
}

TEST_F(MaxPanelTest, ScrollableAreaHoldsEveryChildWithMargins) {
    QRect area;
    GetScrollableArea(panel, area);
    EXPECT_EQ(area, RectLTRB(0, 0, 300, 308));
    ScrollV(panel, 108);
    GetScrollableArea(panel, area);
    EXPECT_EQ(area, RectLTRB(0, -108, 300, 200));
    ScrollV(panel, 0);
    EXPECT_EQ(top->y(), -100);
    QWidget empty;
    ScrollV(&empty, 50); // nothing to move
}

TEST(MaxControlBox, DrawsNothingOfItsOwn) {
    QWidget parent;
    parent.resize(100, 100);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::red);
    parent.setPalette(palette);
    auto* box = new TMaxControlBox(&parent);
    box->move(10, 10);
    auto* child = new QWidget(box);
    child->setGeometry(5, 5, 10, 10);
    child->setAutoFillBackground(true);
    QPalette childPalette = child->palette();
    childPalette.setColor(QPalette::Window, Qt::blue);
    child->setPalette(childPalette);
    EXPECT_EQ(box->size(), QSize(64, 64));
    const QImage image = test::Grab(&parent);
    EXPECT_EQ(Pixel(image, 12, 12), QColor(Qt::red));
    EXPECT_EQ(Pixel(image, 70, 70), QColor(Qt::red));
    EXPECT_EQ(Pixel(image, 17, 17), QColor(Qt::blue));
}

} // namespace
} // namespace vantor
