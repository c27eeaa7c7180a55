#include "controls/PPanel.h"

#include "ControlsTestSupport.h"

#include <QSignalSpy>

namespace vantor {
namespace {

using test::ControlTest;
using test::Grab;
using test::Pixel;
using test::Sys;

// ---- TMaxControlScrollBar -------------------------------------------------------------------

TEST(MaxControlScrollBar, OnlyCachesUntilAttached) {
    TMaxControlScrollBar state;
    EXPECT_EQ(state.Increment(), 8);
    EXPECT_EQ(state.Min(), 0);
    EXPECT_EQ(state.Max(), 100);
    EXPECT_EQ(state.Page(), 0u);
    EXPECT_TRUE(state.Tracking());
    EXPECT_FALSE(state.Visible());
    state.SetPosition(500);
    state.SetVisible(true);
    state.UpdateScrollInfo(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(state.Position(), 500);
}

TEST(MaxControlScrollBar, DrivesTheBarItIsAttachedTo) {
    QWidget owner;
    auto* bar = new QScrollBar(Qt::Vertical, &owner);
    TMaxControlScrollBar state;
    state.SetMax(100);
    state.SetPage(20);
    state.SetPosition(50);
    state.SetWindow(bar);
    EXPECT_TRUE(bar->isHidden());
    state.SetVisible(true);
    EXPECT_FALSE(bar->isHidden());
    // The thumb runs from Min to Max - Page + 1.
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 81);
    EXPECT_EQ(bar->pageStep(), 20);
    EXPECT_EQ(state.Position(), 50);
    state.SetPosition(200);
    EXPECT_EQ(state.Position(), 81);
    bar->setValue(30); // the user moved the thumb
    EXPECT_EQ(state.Position(), 30);
    state.SetMin(10);
    EXPECT_EQ(state.Min(), 10);
    EXPECT_EQ(state.Max(), 100);
    state.SetPage(500); // a page larger than the range leaves one position
    EXPECT_EQ(bar->maximum(), 10);
    state.SetVisible(false);
    EXPECT_TRUE(bar->isHidden());
}

TEST(MaxControlScrollBar, CommandsMoveByLineAndPage) {
    QWidget owner;
    auto* bar = new QScrollBar(Qt::Horizontal, &owner);
    TMaxControlScrollBar state;
    state.SetWindow(bar);
    state.SetVisible(true);
    state.SetPosition(10);
    state.UpdateScrollInfo(QAbstractSlider::SliderPageStepAdd); // page 0: moves by Increment
    EXPECT_EQ(state.Position(), 18);
    state.UpdateScrollInfo(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(state.Position(), 10);
    state.SetIncrement(3);
    state.UpdateScrollInfo(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(state.Position(), 13);
    state.SetPage(40);
    state.UpdateScrollInfo(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(state.Position(), 0);                           // clamped to the range
    state.UpdateScrollInfo(QAbstractSlider::SliderToMaximum); // other commands keep it
    EXPECT_EQ(state.Position(), 0);
}

// ---- TPaintPanel ----------------------------------------------------------------------------

class PaintPanelTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        panel = new TPaintPanel(window.get());
        panel->setGeometry(10, 10, 200, 150);
    }
    TPaintPanel* panel = nullptr;
};

TEST_F(PaintPanelTest, ScrollBarActionsMoveThePositionAndRepaintWhileTracking) {
    TMaxControlScrollBar* vert = panel->VertScrollBar();
    vert->SetMax(1000);
    vert->SetVisible(true);
    ShowWindow();
    int paints = 0;
    int positionSeenByPaint = -1;
    QObject::connect(panel, &TPaintPanel::OnPaint, [&](QPainter*) {
        ++paints;
        positionSeenByPaint = vert->Position();
    });
    QSignalSpy scrolls(panel, &TPaintPanel::OnScroll);
    panel->VertBarWidget()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(vert->Position(), 8);
    EXPECT_EQ(scrolls.count(), 1);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(positionSeenByPaint, 8);
    panel->VertBarWidget()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(vert->Position(), 16);
    vert->SetTracking(false);
    panel->VertBarWidget()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(vert->Position(), 24);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(paints, 2);
}

TEST_F(PaintPanelTest, VisibleBarsSitAtTheEdgesAndNarrowTheClientArea) {
    EXPECT_EQ(panel->ClientRect(), QRect(0, 0, 200, 150));
    panel->VertScrollBar()->SetVisible(true);
    const int extent = panel->VertBarWidget()->width();
    EXPECT_EQ(panel->VertBarWidget()->geometry(), QRect(200 - extent, 0, extent, 150));
    panel->HorzScrollBar()->SetVisible(true);
    EXPECT_EQ(panel->VertBarWidget()->geometry(), QRect(200 - extent, 0, extent, 150 - extent));
    EXPECT_EQ(panel->HorzBarWidget()->geometry(), QRect(0, 150 - extent, 200 - extent, extent));
    EXPECT_EQ(panel->ClientRect(), QRect(0, 0, 200 - extent, 150 - extent));
}

// ---- TTextPanel -----------------------------------------------------------------------------

// Rows and columns of the pixels drawn in the text colour.
QRect InkBounds(TTextPanel* panel) {
    const QImage image = Grab(panel);
    const QRgb ink = panel->palette().color(QPalette::Active, QPalette::WindowText).rgb();
    QRect bounds;
    for (int y = 1; y < image.height() - 1; ++y) {
        for (int x = 1; x < image.width() - 1; ++x) {
            if (image.pixel(x, y) == ink) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

class TextPanelTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        panel = new TTextPanel(window.get());
        panel->SetCaption("TEXT");
    }
    TTextPanel* panel = nullptr;
};

TEST_F(TextPanelTest, HorizontalTextKeepsTheMarginFromTheEnds) {
    const QRect left = InkBounds(panel);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_GE(left.left(), 5);
    EXPECT_LE(left.left(), 7);
    panel->SetAlignment(TAlignment::taRightJustify);
    const QRect right = InkBounds(panel);
    EXPECT_LE(right.right(), 96 - 5 - 1);
    EXPECT_GE(right.right(), 96 - 5 - 3);
}

TEST_F(TextPanelTest, VerticalTextRunsDownAndEndsTheMarginAboveTheBottom) {
    panel->resize(17, 96);
    panel->SetTextStyle(TTextPanelTextStyle::tptsVertical);
    const QRect left = InkBounds(panel);
    ASSERT_FALSE(left.isEmpty());
    EXPECT_GT(left.height(), left.width()); // the line runs downward
    EXPECT_GE(left.top(), 4);
    EXPECT_LE(left.top(), 6);
    panel->SetAlignment(TAlignment::taRightJustify);
    const QRect right = InkBounds(panel);
    EXPECT_LE(right.bottom(), 96 - 4 - 1);
    EXPECT_GE(right.bottom(), 96 - 4 - 3);
    // Centred across: the text cell spans (W + h) / 2 - h .. (W + h) / 2.
    EXPECT_GE(right.left(), (17 + 12) / 2 - 14);
    EXPECT_LE(right.right(), (17 + 12) / 2);
    panel->SetAlignment(TAlignment::taCenter);
    const QRect centre = InkBounds(panel);
    EXPECT_NEAR(centre.center().y(), 48, 2);
}

TEST_F(TextPanelTest, OnPaintFollowsThePainting) {
    int paints = 0;
    QObject::connect(panel, &TTextPanel::OnPaint, [&](QPainter* canvas) {
        ++paints;
        canvas->fillRect(QRect(0, 0, 3, 3), Qt::green);
    });
    const QImage image = Grab(panel);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(Pixel(image, 1, 1), QColor(Qt::green));
}

} // namespace
} // namespace vantor
