#include "controls/MaxColorBar.h"
#include "controls/MaxColorCircle.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxNumberEdit.h"

#include "ControlsTestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <cmath>
#include <set>

namespace vantor {
namespace {

using test::ControlTest;
using test::Grab;
using test::Pixel;

// ---- Conversions ----------------------------------------------------------------------------

void ExpectHSV(const THSVColor& hsv, double h, double s, double v) {
    EXPECT_DOUBLE_EQ(hsv.H, h);
    EXPECT_DOUBLE_EQ(hsv.S, s);
    EXPECT_DOUBLE_EQ(hsv.V, v);
}

TEST(HSVConversion, RGBToHSVOfThePrimariesWhiteAndBlack) {
    ExpectHSV(RGBToHSV(0xFFFFFF), 0, 0, 1);
    ExpectHSV(RGBToHSV(0x0000FF), 0, 1, 1);   // red in the low byte
    ExpectHSV(RGBToHSV(0x00FF00), 120, 1, 1); // green
    ExpectHSV(RGBToHSV(0xFF0000), 240, 1, 1); // blue
    ExpectHSV(RGBToHSV(0x000000), 0, 0, 0);
    ExpectHSV(RGBToHSV(0xFF00FF), 300, 1, 1); // magenta: the hue below zero wraps
}

TEST(HSVConversion, HSVToRGBRoundsHalvesAwayAndTreatsSixLikeZero) {
    EXPECT_EQ(HSVToRGB({360, 1, 1}), 0x0000FFu);
    EXPECT_EQ(HSVToRGB({30, 0.5, 1}), 0x80BFFFu); // red 255, green 191, blue 128
    EXPECT_EQ(HSVToRGB({120, 1, 1}), 0x00FF00u);
    EXPECT_EQ(HSVToRGB({240, 1, 0.5}), 0x800000u); // 127.5 rounds up
    EXPECT_EQ(HSVToRGB({0, 0, 0}), 0x000000u);
    EXPECT_EQ(HSVToRGB({400, 1, 1}), HSVToRGB({40, 1, 1})); // sector 6 is sector 0
    EXPECT_EQ(HSVToRGB({500, 1, 1}), 0x000000u);            // beyond: black
    EXPECT_EQ(HSVToRGB({-90, 1, 1}), 0x000000u);
}

TEST(HSVConversion, EveryColourSurvivesTheRoundTrip) {
    // Every third step of each channel, 0 and 255 included.
    int failures = 0;
    for (int r = 0; r <= 255; r += 3) {
        for (int g = 0; g <= 255; g += 3) {
            for (int b = 0; b <= 255; b += 3) {
                const TColorValue c = static_cast<TColorValue>(r | g << 8 | b << 16);
                if (HSVToRGB(RGBToHSV(c)) != c && ++failures <= 3) {
                    ADD_FAILURE() << std::hex << c << " comes back as " << HSVToRGB(RGBToHSV(c));
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(HSVConversion, ColourForms) {
    EXPECT_EQ(SwapRedBlue(0x00123456), 0x00563412u);
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, QColor(1, 2, 3));
    EXPECT_EQ(ResolveColorValue(0x80000005, palette), 0x030201u); // the window colour
    EXPECT_EQ(ResolveColorValue(0x02123456, palette), 0x123456u);
}

// ---- Circle ---------------------------------------------------------------------------------

TEST(ColorCircleGeometry, DiscRowsCoverEveryRowOnceWithinTheDisc) {
    for (int r : {1, 2, 5, 63, 100}) {
        std::multiset<int> rows;
        EnumerateDiscRows(r, [&](int y, int x1, int x2) {
            rows.insert(y);
            EXPECT_EQ(x1 + x2, 2 * r) << "row " << y << " is centred";
            const double dy = y - r;
            // Within the disc, give or take the last pixel of a span.
            EXPECT_LE((x2 - r) * (x2 - r) + dy * dy, (r + 1) * (r + 1)) << "row " << y;
        });
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(2 * r + 1)) << "radius " << r;
        for (int y = 0; y <= 2 * r; ++y) {
            EXPECT_EQ(rows.count(y), 1u) << "radius " << r << " row " << y;
        }
    }
    int calls = 0;
    EnumerateDiscRows(0, [&](int, int, int) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST(ColorCircleGeometry, PositionsGiveHueCounterClockwiseFromTheEast) {
    const auto at = [](int x, int y) { return CircleHSVAtPosition(x, y, 63); };
    ExpectHSV(at(126, 63), 0, 1, 1);
    EXPECT_FALSE(std::signbit(at(126, 63).H)); // shown as 0, never as -0
    ExpectHSV(at(63, 0), 90, 1, 1);
    ExpectHSV(at(0, 63), 180, 1, 1);
    ExpectHSV(at(63, 126), 270, 1, 1);
    EXPECT_DOUBLE_EQ(at(63, 63).S, 0);
    EXPECT_DOUBLE_EQ(at(200, 63).S, 1); // outside the disc
    EXPECT_NEAR(at(94, 32).H, 45, 1e-9);
    EXPECT_EQ(CircleCursorCenter(0, 1, 63), QPoint(126, 63));
    EXPECT_EQ(CircleCursorCenter(90, 0.5, 63), QPoint(63, 31)); // 31.5 rounds away
    EXPECT_EQ(CircleCursorCenter(180, 1, 63), QPoint(0, 63));
}

class MaxColorCircleTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        window->setPalette(QPalette(QColor(0, 0, 128))); // a background no disc pixel has
        circle = new TMaxColorCircle(window.get());
        circle->move(10, 10);
    }
    TMaxColorCircle* circle = nullptr;
};

TEST_F(MaxColorCircleTest, DiscImageShowsWhiteCentreRedEastAndHueNinetyNorth) {
    EXPECT_EQ(circle->GetRadius(), 63);
    circle->UpdateCircle(false);
    const QImage& image = circle->CircleImage();
    ASSERT_EQ(image.size(), QSize(127, 127));
    EXPECT_EQ(QColor(image.pixel(63, 63)), QColor(255, 255, 255));
    EXPECT_EQ(QColor(image.pixel(126, 63)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(63, 0)), QColor(127, 255, 0)); // hue 90, channels truncated
    EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0, 0, 128));    // corner: background
    // What the disc shows is what a press there picks, all round the disc.
    for (const QPoint p : {QPoint(100, 20), QPoint(20, 30), QPoint(30, 110), QPoint(110, 100),
                           QPoint(70, 60), QPoint(5, 63)}) {
        const QColor shown(image.pixel(p));
        const QColor picked = QColorOf(circle->GetRGBFromPosition(p.x(), p.y()));
        EXPECT_LE(std::abs(shown.red() - picked.red()) + std::abs(shown.green() - picked.green()) +
                      std::abs(shown.blue() - picked.blue()),
                  4)
            << p.x() << "," << p.y();
    }
}

TEST_F(MaxColorCircleTest, HueWrapsSaturationClampsAndNeitherNotifies) {
    QSignalSpy changes(circle, &TMaxColorCircle::OnChange);
    circle->SetH(-30);
    EXPECT_DOUBLE_EQ(circle->H(), 30);
    circle->SetH(725);
    EXPECT_DOUBLE_EQ(circle->H(), 5);
    circle->SetS(1.5);
    EXPECT_DOUBLE_EQ(circle->S(), 1);
    circle->SetS(-0.5);
    EXPECT_DOUBLE_EQ(circle->S(), 0);
    circle->SetHSV({200, 0.25, 0.1});
    ExpectHSV(circle->GetHSV(), 200, 0.25, 1);
    circle->SetColor(0x80BFFF); // V is dropped: the circle always stands for full value
    EXPECT_EQ(circle->GetColor(), 0x80BFFFu);
    circle->SetDWordColor(0xFF0000); // red in DWord form
    EXPECT_EQ(circle->GetColor(), 0x0000FFu);
    EXPECT_EQ(circle->GetDWordColor(), 0xFF0000u);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(MaxColorCircleTest, DiscIsRebuiltLazilyAfterAResizeOrABackgroundChange) {
    circle->UpdateCircle(false);
    const qint64 first = circle->CircleImage().cacheKey();
    circle->resize(201, 101);
    EXPECT_EQ(circle->CircleImage().size(), QSize(127, 127)); // not yet
    Grab(circle);
    EXPECT_EQ(circle->CircleImage().size(), QSize(101, 101));
    const qint64 second = circle->CircleImage().cacheKey();
    EXPECT_NE(second, first);
    circle->UpdateCircle(false);
    EXPECT_EQ(circle->CircleImage().cacheKey(), second); // fits: kept
    circle->TMaxControl::SetColor(QColor(0, 128, 0));
    EXPECT_EQ(QColor(circle->CircleImage().pixel(0, 0)), QColor(0, 128, 0));
    circle->resize(1, 1);
    EXPECT_EQ(circle->GetRadius(), 0);
    circle->UpdateCircle(true); // no disc for radius 0: the old image stays
    EXPECT_EQ(circle->CircleImage().size(), QSize(101, 101));
}

TEST_F(MaxColorCircleTest, CursorSquareSitsAtHueAndSaturation) {
    circle->SetHSV({90, 0.5, 1}); // centre (63, 31)
    const QImage image = Grab(circle);
    EXPECT_EQ(Pixel(image, 61, 31), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, 65, 31), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, 62, 30), QColor(Qt::white));
    EXPECT_EQ(Pixel(image, 66, 31), QColor(circle->CircleImage().pixel(66, 31)));
    EXPECT_EQ(Pixel(image, 63, 34), QColor(circle->CircleImage().pixel(63, 34)));
}

TEST_F(MaxColorCircleTest, PressAndDragPickThenNotify) {
    ShowWindow();
    QStringList events;
    QObject::connect(circle, &TMaxColorCircle::OnChange, [&] {
        events << QStringLiteral("change %1 %2").arg(circle->H()).arg(circle->S());
    });
    QObject::connect(circle, &TMaxColorCircle::OnMouseDown, [&] { events << "down"; });
    QObject::connect(circle, &TMaxColorCircle::OnMouseMove, [&] { events << "move"; });
    QTest::mousePress(circle, Qt::LeftButton, {}, QPoint(126, 63));
    QTest::mouseMove(circle, QPoint(63, 0));
    QTest::mouseRelease(circle, Qt::LeftButton, {}, QPoint(63, 0));
    QTest::mouseMove(circle, QPoint(63, 63)); // no button: nothing picked
    EXPECT_EQ(events, (QStringList{"change 0 1", "down", "change 90 1", "move", "move"}));
}

// ---- Bar ------------------------------------------------------------------------------------

TEST(ColorBarGeometry, PointerAndCursorMapOntoEachOtherAtBothEnds) {
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctHorizonal, 5, 0, 127, 16, 5), 0);
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctHorizonal, 121, 0, 127, 16, 5), 1);
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctHorizonal, 63, 0, 127, 16, 5), 0.5);
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctHorizonal, 300, 0, 127, 16, 5), 1);
    EXPECT_EQ(BarCursorOffset(mbctHorizonal, 0.5, 127, 16, 5), 63);
    EXPECT_EQ(BarCursorOffset(mbctHorizonal, 1, 127, 16, 5), 121);
    // Vertical: the top is 1.
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctVertical, 0, 5, 20, 128, 5), 1);
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctVertical, 0, 122, 20, 128, 5), 0);
    EXPECT_EQ(BarCursorOffset(mbctVertical, 1, 20, 128, 5), 5);
    EXPECT_EQ(BarCursorOffset(mbctVertical, 0, 20, 128, 5), 122);
    // A bar with no room between its margins has no range.
    EXPECT_DOUBLE_EQ(BarPositionAt(mbctHorizonal, 5, 0, 11, 16, 5), 0);
}

TEST(ColorBarGeometry, GradientStepsInWholeUnitsAndEndsExactly) {
    // White to black over 255 columns: one unit per column, column 0 already one step on.
    const std::vector<TColorValue> even = HorizontalGradient(0xFFFFFF, 0x000000, 255);
    ASSERT_EQ(even.size(), 255u);
    EXPECT_EQ(even.front(), 0xFEFEFEu);
    for (std::size_t i = 1; i < even.size(); ++i) {
        EXPECT_EQ(even[i - 1] - even[i], 0x010101u) << i;
    }
    EXPECT_EQ(even.back(), 0x000000u);
    // A decreasing channel over a shorter bar darkens evenly: steps of 2 or 3, never back.
    const std::vector<TColorValue> shorter = HorizontalGradient(0x0000FF, 0x000000, 100);
    for (std::size_t i = 1; i < shorter.size() - 1; ++i) {
        const int step = static_cast<int>(shorter[i - 1]) - static_cast<int>(shorter[i]);
        EXPECT_TRUE(step == 2 || step == 3) << i << ": " << step;
    }
    // Vertical, bottom up: exactly the start at the bottom, exactly the end at the top.
    const std::vector<TColorValue> rows = VerticalGradient(0x102030, 0xF0E0D0, 50);
    EXPECT_EQ(rows.front(), 0x102030u);
    EXPECT_EQ(rows.back(), 0xF0E0D0u);
    EXPECT_EQ(HorizontalGradient(0, 0xFFFFFF, 1), std::vector<TColorValue>{0xFFFFFF});
    EXPECT_TRUE(VerticalGradient(0, 0xFFFFFF, 0).empty());
}

class MaxColorBarTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        window->setPalette(QPalette(QColor(0, 0, 128)));
        bar = new TMaxColorBar(window.get());
        bar->setGeometry(10, 10, 127, 16);
    }
    TMaxColorBar* bar = nullptr;
};

TEST_F(MaxColorBarTest, EverySetNotifiesAndThePositionColourMixesTheEnds) {
    QSignalSpy changes(bar, &TMaxColorBar::OnChange);
    bar->SetPosition(0.5);
    bar->SetPosition(0.5);
    bar->SetMaxColor(0xFFFFFF);
    bar->SetMinColor(0x000000);
    EXPECT_EQ(changes.count(), 4);
    bar->SetPosition(3);
    EXPECT_DOUBLE_EQ(bar->Position(), 1);
    bar->SetPosition(0.5);
    bar->SetMaxColor(0x0000FF);
    EXPECT_EQ(bar->GetColor(), 0x000080u); // 127.5 rounds away from zero
    bar->SetMinColor(0x0000FF);
    bar->SetMaxColor(0xFF0000);
    bar->SetPosition(0.25);
    EXPECT_EQ(bar->GetColor(), 0x4000BFu);
}

TEST_F(MaxColorBarTest, HorizontalBarDrawsTheStripAndTheCursorUnderIt) {
    bar->SetPosition(0.5);
    const QImage image = Grab(bar);
    // The strip: x = 5 .. 121, rows 0 .. 9; white at its right end.
    EXPECT_EQ(Pixel(image, 5, 0), QColorOf(HorizontalGradient(0x000000, 0xFFFFFF, 117)[0]));
    EXPECT_NE(Pixel(image, 5, 0), QColor(0, 0, 0)); // column 0 is already one step on
    EXPECT_EQ(Pixel(image, 121, 9), QColor(255, 255, 255));
    // The cursor strip below: the background, and the triangle pointing up at x = 63.
    EXPECT_EQ(Pixel(image, 30, 13), QColor(0, 0, 128));
    EXPECT_EQ(Pixel(image, 63, 10), QColor(Qt::black));
    EXPECT_EQ(Pixel(image, 63, 13), QColor(Qt::white));
    EXPECT_EQ(Pixel(image, 63, 15), QColor(Qt::black));
}

TEST_F(MaxColorBarTest, VerticalBarPressNearTheTopGivesNearlyOne) {
    bar->SetBarStyle(mbctVertical);
    EXPECT_EQ(bar->size(), QSize(16, 127));
    ShowWindow();
    QSignalSpy changes(bar, &TMaxColorBar::OnChange);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(4, 7));
    EXPECT_NEAR(bar->Position(), 114.0 / 116, 1e-12);
    QTest::mouseMove(bar, QPoint(4, -40));
    EXPECT_DOUBLE_EQ(bar->Position(), 1);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(4, -40));
    EXPECT_EQ(changes.count(), 2);
    const QImage image = Grab(bar);
    EXPECT_EQ(Pixel(image, 10, 5), QColor(Qt::black)); // the cursor's tip at y = 5
    EXPECT_EQ(Pixel(image, 13, 5), QColor(Qt::white));
    EXPECT_EQ(Pixel(image, 4, 5), QColor(255, 255, 255)); // top row of the strip: MaxColor
    EXPECT_EQ(Pixel(image, 4, 121), QColor(0, 0, 0));     // bottom row: MinColor
}

// ---- Panel ----------------------------------------------------------------------------------

class MaxColorPanelTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        panel = new TMaxColorPanel(window.get());
        panel->move(8, 8);
    }

    QStringList EditTexts() const {
        return {panel->EditCol(0)->Edit()->text(), panel->EditCol(1)->Edit()->text(),
                panel->EditCol(2)->Edit()->text()};
    }
    QStringList Labels() const {
        return {panel->LabelCol(0)->text(), panel->LabelCol(1)->text(), panel->LabelCol(2)->text()};
    }

    TMaxColorPanel* panel = nullptr;
};

TEST_F(MaxColorPanelTest, ChildrenSitAtTheirPlacesAndStartInTheHSVUnit) {
    EXPECT_EQ(panel->size(), QSize(208, 148));
    EXPECT_EQ(panel->ColorCircle()->geometry(), QRect(0, 0, 127, 127));
    EXPECT_EQ(panel->PaintBoxColor()->geometry(), QRect(136, 3, 72, 38));
    EXPECT_EQ(panel->ComboUnit()->geometry(), QRect(160, 48, 49, 20));
    EXPECT_EQ(panel->BarV()->geometry(), QRect(0, 132, 127, 16));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panel->EditCol(i)->geometry(), QRect(144, 76 + 24 * i, 64, 20));
        EXPECT_EQ(panel->LabelCol(i)->geometry(), QRect(128, 79 + 24 * i, 12, 12));
    }
    EXPECT_EQ(panel->ComboUnit()->count(), 2);
    EXPECT_EQ(panel->ComboUnit()->currentText(), "HSV");
    EXPECT_EQ(Labels(), (QStringList{"H", "S", "V"}));
    EXPECT_EQ(EditTexts(), (QStringList{"0", "0", "0"}));
    EXPECT_EQ(panel->EditCol(0)->toolTip(), "色相");
    EXPECT_EQ(panel->BarV()->toolTip(), "明度");
    EXPECT_EQ(panel->GetColor(), 0x000000u);
}

TEST_F(MaxColorPanelTest, SetColorNotifiesThreeTimesAndRoundTrips) {
    QSignalSpy changes(panel, &TMaxColorPanel::OnChange);
    panel->SetColor(0x80BFFF);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_EQ(panel->GetColor(), 0x80BFFFu);
    EXPECT_EQ(EditTexts(), (QStringList{"30", "50", "100"}));
    EXPECT_EQ(panel->BarV()->MaxColor(), 0x80BFFFu);
    EXPECT_EQ(panel->GetDWordColor(), 0xFFBF80u);
    ExpectHSV(panel->GetHSV(), RGBToHSV(0x80BFFF).H, RGBToHSV(0x80BFFF).S, 1);
    // Colours the editor keeps, back through the panel as they went in.
    for (TColorValue c : {0x000000u, 0xFFFFFFu, 0x506070u, 0x010203u, 0xFEFDFCu, 0x00FF80u}) {
        panel->SetColor(c);
        EXPECT_EQ(panel->GetColor(), c) << std::hex << c;
    }
    panel->SetDWordColor(0x123456);
    EXPECT_EQ(panel->GetColor(), 0x563412u);
}

TEST_F(MaxColorPanelTest, SwatchShowsTheColour) {
    panel->SetColor(0x406080);
    const QImage image = Grab(panel->PaintBoxColor());
    EXPECT_EQ(Pixel(image, 0, 0), QColor(0x80, 0x60, 0x40));
    EXPECT_EQ(Pixel(image, 71, 37), QColor(0x80, 0x60, 0x40));
}

TEST_F(MaxColorPanelTest, UnitSwitchShowsTheColourInTheOtherUnitWithoutEditNotifications) {
    panel->SetColor(0x80BFFF);
    QSignalSpy edit0(panel->EditCol(0), &TMaxNumberEdit::OnChange);
    QSignalSpy edit2(panel->EditCol(2), &TMaxNumberEdit::OnChange);
    QSignalSpy changes(panel, &TMaxColorPanel::OnChange);
    panel->ComboUnit()->setCurrentIndex(1);
    EXPECT_EQ(Labels(), (QStringList{"R", "G", "B"}));
    EXPECT_EQ(EditTexts(), (QStringList{"255", "191", "128"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panel->EditCol(i)->Max(), 255);
        EXPECT_EQ(panel->EditCol(i)->Min(), 0);
        EXPECT_EQ(panel->EditCol(i)->PrintFormat(), "%.0f");
        EXPECT_EQ(panel->EditCol(i)->Increment(), 1);
    }
    EXPECT_EQ(panel->EditCol(1)->toolTip(), "緑");
    EXPECT_EQ(edit0.count(), 0);
    EXPECT_EQ(edit2.count(), 0);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(panel->GetColor(), 0x80BFFFu);

    panel->ComboUnit()->setCurrentIndex(0);
    EXPECT_EQ(EditTexts(), (QStringList{"30", "50", "100"}));
    EXPECT_EQ(panel->EditCol(0)->Max(), 359);
    EXPECT_EQ(panel->EditCol(1)->Max(), 100);
    EXPECT_EQ(panel->EditCol(2)->toolTip(), "明度");
    EXPECT_EQ(edit0.count(), 0);
}

TEST_F(MaxColorPanelTest, EachKeystrokeInTheRedEditMovesCircleAndBarAndNotifiesTwice) {
    panel->SetColor(0x80BFFF);
    panel->ComboUnit()->setCurrentIndex(1);
    ShowWindow();
    TMaxEdit* red = panel->EditCol(0)->Edit();
    red->setFocus();
    red->selectAll();
    QSignalSpy changes(panel, &TMaxColorPanel::OnChange);
    QTest::keyClick(red, Qt::Key_6);
    EXPECT_EQ(changes.count(), 2);
    QTest::keyClick(red, Qt::Key_4);
    EXPECT_EQ(changes.count(), 4);
    const TColorValue typed = 0x80BF40; // red 64, green 191, blue 128
    EXPECT_EQ(panel->GetColor(), typed);
    EXPECT_DOUBLE_EQ(panel->ColorCircle()->H(), RGBToHSV(typed).H);
    EXPECT_DOUBLE_EQ(panel->ColorCircle()->S(), RGBToHSV(typed).S);
    EXPECT_DOUBLE_EQ(panel->BarV()->Position(), 191.0 / 255);
    EXPECT_EQ(panel->BarV()->MaxColor(), HSVToRGB({RGBToHSV(typed).H, RGBToHSV(typed).S, 1}));
    EXPECT_EQ(EditTexts(), (QStringList{"64", "191", "128"}));

    // A value beyond the edit's range is shown clamped at once.
    red->selectAll();
    QTest::keyClicks(red, "300");
    EXPECT_EQ(red->text(), "255");
}

TEST_F(MaxColorPanelTest, TypingAHueTurnsTheCircle) {
    panel->SetColor(0x0000FF); // red, full value
    ShowWindow();
    TMaxEdit* hue = panel->EditCol(0)->Edit();
    hue->setFocus();
    hue->selectAll();
    QTest::keyClicks(hue, "120");
    EXPECT_DOUBLE_EQ(panel->ColorCircle()->H(), 120);
    EXPECT_EQ(panel->GetColor(), 0x00FF00u);
}

TEST_F(MaxColorPanelTest, PointerOnCircleAndBarUpdatesTheEdits) {
    ShowWindow();
    panel->SetColor(0x808080);
    QSignalSpy changes(panel, &TMaxColorPanel::OnChange);
    QTest::mouseClick(panel->ColorCircle(), Qt::LeftButton, {}, QPoint(63, 0)); // hue 90
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(panel->BarV()->MaxColor(), HSVToRGB({90, 1, 1}));
    EXPECT_EQ(EditTexts(), (QStringList{"90", "100", "50"}));
    changes.clear();
    QTest::mouseClick(panel->BarV(), Qt::LeftButton, {}, QPoint(121, 4)); // full value
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(EditTexts(), (QStringList{"90", "100", "100"}));
    EXPECT_EQ(panel->GetColor(), HSVToRGB({90, 1, 1}));

    // SetHSV leaves the bar's value alone.
    panel->SetHSV({180, 0.5, 0.2});
    EXPECT_DOUBLE_EQ(panel->BarV()->Position(), 1);
    EXPECT_EQ(EditTexts(), (QStringList{"180", "50", "100"}));
}

} // namespace
} // namespace vantor
