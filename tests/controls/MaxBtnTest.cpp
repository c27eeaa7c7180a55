#include "controls/MaxBtn.h"

#include "ControlsTestSupport.h"

#include <QSignalSpy>

namespace vantor {
namespace {

using test::ControlTest;
using test::EventLog;
using test::Grab;
using test::Pixel;
using test::Sys;

// ---- TMaxTrack ------------------------------------------------------------------------------

TEST(TrackGeometry, PointerMapsOntoTheRangeAndTheThumbFollows) {
    EXPECT_EQ(TrackValueAtX(2, 64, 0, 1), 0.0f);
    EXPECT_EQ(TrackValueAtX(60, 64, 0, 1), 1.0f);
    EXPECT_EQ(TrackValueAtX(31, 64, 0, 1), 0.5f);
    EXPECT_EQ(TrackValueAtX(31, 64, 0, 100), 50.0f);
    EXPECT_EQ(TrackThumbLeft(0.5f, 0, 1, 64), 29);
    EXPECT_EQ(TrackThumbLeft(1.0f, 0, 1, 64), 58);
    EXPECT_EQ(TrackThumbLeft(0.3f, 0, 1, 64), 17); // 17.4 truncated
    EXPECT_EQ(TrackThumbLeft(0.7f, 0.7f, 0.7f, 64), 0);
    EXPECT_EQ(TrackValueAtX(3, 6, 0.25f, 1), 0.25f); // no usable range
}

class MaxTrackTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        track = new TMaxTrack(window.get());
        track->move(10, 10);
        track->SetColor(QColor(0, 0, 128)); // a background the groove colours cannot be
    }
    TMaxTrack* track = nullptr;
};

TEST_F(MaxTrackTest, PressAndDragFollowThePointerAndNotifyEveryTime) {
    ShowWindow();
    EventLog log;
    QObject::connect(track, &TMaxTrack::OnChange, log.Record("change"));
    QObject::connect(track, &TMaxTrack::OnMouseDown, log.Record("down"));
    QObject::connect(track, &TMaxTrack::OnMouseMove, log.Record("move"));
    QObject::connect(track, &TMaxTrack::OnClick, log.Record("click"));
    QObject::connect(track, &TMaxTrack::OnMouseUp, log.Record("up"));
    QTest::mousePress(track, Qt::LeftButton, {}, QPoint(31, 6));
    EXPECT_EQ(track->GetPosition(), 0.5f);
    QTest::mouseMove(track, QPoint(60, 6));
    EXPECT_EQ(track->GetPosition(), 1.0f);
    QTest::mouseMove(track, QPoint(90, 6)); // beyond the end: clamped
    EXPECT_EQ(track->GetPosition(), 1.0f);
    QTest::mouseMove(track, QPoint(-20, 6));
    EXPECT_EQ(track->GetPosition(), 0.0f);
    QTest::mouseMove(track, QPoint(2, 6));
    QTest::mouseRelease(track, Qt::LeftButton, {}, QPoint(2, 6));
    EXPECT_EQ(log.events,
              (std::vector<std::string>{"change", "down", "change", "move", "change", "move",
                                        "change", "move", "change", "move", "click", "up"}));
    log.events.clear();
    QTest::mouseMove(track, QPoint(40, 6)); // no button: only the move
    EXPECT_EQ(track->GetPosition(), 0.0f);
    EXPECT_EQ(log.events, (std::vector<std::string>{"move"}));
}

TEST_F(MaxTrackTest, PositionPropertyAlwaysNotifiesAndSetPositionNever) {
    QSignalSpy changes(track, &TMaxTrack::OnChange);
    track->FSetPosition(0.25f);
    track->setProperty("Position", 0.25f);
    EXPECT_EQ(changes.count(), 2);
    track->SetPosition(0.75f);
    track->SetPosition(5.0f);
    EXPECT_EQ(track->GetPosition(), 1.0f);
    track->SetMax(0.5f); // below the position: the position follows, silently
    EXPECT_EQ(track->GetPosition(), 0.5f);
    track->SetMin(2.0f); // above the maximum: the maximum follows
    EXPECT_EQ(track->Max(), 2.0f);
    EXPECT_EQ(track->GetPosition(), 2.0f);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(MaxTrackTest, EqualBoundsPutTheThumbLeftAndThePointerYieldsMin) {
    track->SetMax(0.7f);
    track->SetMin(0.7f);
    ShowWindow();
    QTest::mouseClick(track, Qt::LeftButton, {}, QPoint(40, 6));
    EXPECT_EQ(track->GetPosition(), 0.7f);
    const QImage image = Grab(track);
    EXPECT_EQ(Pixel(image, 0, 6), Sys(track, TSysColor::BtnHighlight));
    EXPECT_EQ(Pixel(image, 5, 6), Sys(track, TSysColor::BtnShadow));
}

TEST_F(MaxTrackTest, GrooveAndThumbPixels) {
    track->SetPosition(0.5f);
    const QImage image = Grab(track); // 64 x 13: the groove's rows are 3 to 9, h = 6
    const QColor shadow = Sys(track, TSysColor::BtnShadow);
    const QColor highlight = Sys(track, TSysColor::BtnHighlight);
    const QColor dark = Sys(track, TSysColor::DkShadow3D);
    const QColor face = Sys(track, TSysColor::BtnFace);
    const QColor background(0, 0, 128);
    EXPECT_EQ(Pixel(image, 10, 3), shadow);
    EXPECT_EQ(Pixel(image, 2, 8), shadow);
    EXPECT_EQ(Pixel(image, 2, 9), highlight); // the highlight row is drawn over the shadow's end
    EXPECT_EQ(Pixel(image, 2, 10), background);
    EXPECT_EQ(Pixel(image, 10, 9), highlight);
    EXPECT_EQ(Pixel(image, 61, 6), highlight);
    EXPECT_EQ(Pixel(image, 62, 3), background); // the lines stop short of their end points
    EXPECT_EQ(Pixel(image, 10, 4), dark);
    EXPECT_EQ(Pixel(image, 3, 7), dark);
    EXPECT_EQ(Pixel(image, 10, 8), face);
    EXPECT_EQ(Pixel(image, 60, 6), face);
    EXPECT_EQ(Pixel(image, 10, 6), background);
    // The thumb at x = 29 .. 34, full height.
    EXPECT_EQ(Pixel(image, 28, 6), background);
    EXPECT_EQ(Pixel(image, 29, 6), highlight);
    EXPECT_EQ(Pixel(image, 31, 0), highlight);
    EXPECT_EQ(Pixel(image, 31, 6), face);
    EXPECT_EQ(Pixel(image, 34, 6), shadow);
    EXPECT_EQ(Pixel(image, 31, 12), shadow);
    EXPECT_EQ(Pixel(image, 35, 6), background);
}

// ---- TMaxCheck ------------------------------------------------------------------------------

class MaxCheckTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        check = new TMaxCheck(window.get());
        check->setGeometry(10, 10, 80, 13);
        check->SetCaption("HIH");
    }
    TMaxCheck* check = nullptr;
};

TEST_F(MaxCheckTest, ClickTogglesOnceAndRaisesChangeThenClickThenUp) {
    ShowWindow();
    EventLog log;
    QObject::connect(check, &TMaxCheck::OnChange, log.Record("change"));
    QObject::connect(check, &TMaxCheck::OnClick, log.Record("click"));
    QObject::connect(check, &TMaxCheck::OnMouseDown, log.Record("down"));
    QObject::connect(check, &TMaxCheck::OnMouseUp, log.Record("up"));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(log.events, (std::vector<std::string>{"down", "change", "click", "up"}));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(50, 5));
    EXPECT_FALSE(check->Checked());
}

TEST_F(MaxCheckTest, ReleaseOutsideDoesNotToggleButComingBackDoes) {
    ShowWindow();
    QTest::mousePress(check, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(check, QPoint(5, 30));
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(5, 30));
    EXPECT_FALSE(check->Checked());
    QTest::mousePress(check, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(check, QPoint(85, 5));
    QTest::mouseMove(check, QPoint(70, 5));
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(70, 5));
    EXPECT_TRUE(check->Checked());
}

TEST_F(MaxCheckTest, DoubleClickTogglesTwiceWithOneClick) {
    ShowWindow();
    QSignalSpy clicks(check, &TMaxCheck::OnClick);
    QSignalSpy changes(check, &TMaxCheck::OnChange);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, 5));
    // Qt reports the second press of a double click as a double-click event.
    QTest::mouseDClick(check, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(MaxCheckTest, DisabledCheckIgnoresPressesButRaisesMouseEvents) {
    check->setEnabled(false);
    ShowWindow();
    QSignalSpy downs(check, &TMaxCheck::OnMouseDown);
    QSignalSpy ups(check, &TMaxCheck::OnMouseUp);
    QSignalSpy clicks(check, &TMaxCheck::OnClick);
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
}

// The colours found in the caption area (right of the box).
QSet<QRgb> CaptionColours(TMaxCheck* check) {
    const QImage image = Grab(check);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = check->height() + 2; x < image.width(); ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    return colours;
}

TEST_F(MaxCheckTest, DisabledCaptionIsEngraved) {
    const QRgb text = check->palette().color(QPalette::Active, QPalette::WindowText).rgb();
    const QRgb shadow = Sys(check, TSysColor::BtnShadow).rgb();
    const QRgb highlight = Sys(check, TSysColor::BtnHighlight).rgb();
    QSet<QRgb> enabled = CaptionColours(check);
    EXPECT_TRUE(enabled.contains(text));
    EXPECT_FALSE(enabled.contains(highlight));
    check->setEnabled(false);
    QSet<QRgb> disabled = CaptionColours(check);
    EXPECT_FALSE(disabled.contains(text));
    EXPECT_TRUE(disabled.contains(shadow));
    EXPECT_TRUE(disabled.contains(highlight));
}

TEST_F(MaxCheckTest, PressedInsideLooksLikeTheDisabledBox) {
    auto* disabled = new TMaxCheck(window.get());
    disabled->setGeometry(10, 40, 80, 13);
    disabled->setEnabled(false);
    ShowWindow();
    const QRect box(0, 0, 13, 13);
    const QImage normal = Grab(check).copy(box);
    QTest::mousePress(check, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(Grab(check).copy(box), Grab(disabled).copy(box));
    QTest::mouseMove(check, QPoint(5, 40)); // outside: the normal look again
    EXPECT_EQ(Grab(check).copy(box), normal);
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(5, 40));
}

// ---- TMaxButton -----------------------------------------------------------------------------

class MaxButtonTest : public ControlTest {
protected:
    TMaxButton* AddButton(int x, int group = 0) {
        auto* button = new TMaxButton(window.get());
        button->move(x, 10);
        button->SetGroupIndex(group);
        return button;
    }
    void Click(TMaxButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 8)); }
};

TEST_F(MaxButtonTest, GroupWithoutAllowAllUpKeepsOneButtonDown) {
    TMaxButton* first = AddButton(10, 1);
    TMaxButton* second = AddButton(80, 1);
    TMaxButton* other = AddButton(150, 2);
    other->SetAllowAllUp(true);
    ShowWindow();
    QSignalSpy clicks(second, &TMaxButton::OnClick);
    Click(other);
    Click(first);
    EXPECT_TRUE(first->Down());
    EXPECT_EQ(first->ButtonState(), TMaxButtonState::Held);
    Click(second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->ButtonState(), TMaxButtonState::Up);
    Click(second);
    EXPECT_TRUE(second->Down());
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_TRUE(other->Down()); // another group is not touched
    second->SetDown(false);
    EXPECT_TRUE(second->Down());
}

TEST_F(MaxButtonTest, AllowAllUpLetsTheDownButtonGoAndSpreadsThroughTheGroup) {
    TMaxButton* first = AddButton(10, 1);
    TMaxButton* second = AddButton(80, 1);
    ShowWindow();
    second->SetAllowAllUp(true);
    EXPECT_TRUE(first->AllowAllUp());
    Click(first);
    Click(first);
    EXPECT_FALSE(first->Down());
    EXPECT_EQ(first->ButtonState(), TMaxButtonState::Up);
    first->SetDown(true);
    EXPECT_TRUE(first->Down());
    second->SetDown(true);
    EXPECT_FALSE(first->Down());
}

TEST_F(MaxButtonTest, PushButtonClicksOnlyWhenReleasedInside) {
    TMaxButton* button = AddButton(10);
    ShowWindow();
    EventLog log;
    QObject::connect(button, &TMaxButton::OnClick, log.Record("click"));
    QObject::connect(button, &TMaxButton::OnMouseUp, log.Record("up"));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Pressed);
    QTest::mouseMove(button, QPoint(10, 40));
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Up);
    QTest::mouseMove(button, QPoint(10, 16)); // the row below the button counts as inside
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Pressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(10, 16));
    EXPECT_EQ(log.events, (std::vector<std::string>{"click", "up"}));
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Up);
    log.events.clear();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(70, 8)); // no move in between
    EXPECT_EQ(log.events, (std::vector<std::string>{"up"}));
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Up);
    EXPECT_FALSE(button->Down());
    button->SetDown(true);
    EXPECT_FALSE(button->Down());
}

TEST_F(MaxButtonTest, GroupButtonReleasedOutsideShowsItsState) {
    TMaxButton* button = AddButton(10, 1);
    ShowWindow();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(70, 8));
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Up);
    Click(button);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseMove(button, QPoint(70, 8));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(70, 8));
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Held);
}

TEST_F(MaxButtonTest, LeavingTheGroupReleasesTheButton) {
    TMaxButton* button = AddButton(10, 1);
    button->SetDown(true);
    button->SetGroupIndex(0);
    EXPECT_FALSE(button->Down());
    EXPECT_EQ(button->ButtonState(), TMaxButtonState::Up);
}

TEST_F(MaxButtonTest, DisabledButtonRaisesMouseEventsButNoClick) {
    TMaxButton* button = AddButton(10, 1);
    button->setEnabled(false);
    ShowWindow();
    QSignalSpy downs(button, &TMaxButton::OnMouseDown);
    QSignalSpy clicks(button, &TMaxButton::OnClick);
    Click(button);
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->Down());
}

TEST_F(MaxButtonTest, ClickRunsTheActionInsteadOfOnClick) {
    TMaxButton* button = AddButton(10);
    QAction action;
    button->SetAction(&action);
    ShowWindow();
    QSignalSpy triggered(&action, &QAction::triggered);
    QSignalSpy clicks(button, &TMaxButton::OnClick);
    QSignalSpy doubles(button, &TMaxButton::OnDblClick);
    Click(button);
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(doubles.count(), 1);
}

TEST_F(MaxButtonTest, GradationFaceRowsFollowTheFormula) {
    TMaxButton* button = AddButton(10, 1);
    button->SetStyle(TMaxButtonStyle::mbsGradation);
    button->SetColor(QColor(200, 100, 50)); // 64 x 16: 3H = 48
    QImage image = Grab(button);
    EXPECT_EQ(Pixel(image, 10, 1), QColor(200, 100, 50));
    EXPECT_EQ(Pixel(image, 10, 7), QColor(200 * 42 / 48, 100 * 42 / 48, 50 * 42 / 48));
    EXPECT_EQ(Pixel(image, 10, 13), QColor(150, 75, 37)); // the last row, i = H - 4
    EXPECT_EQ(Pixel(image, 61, 1), QColor(200, 100, 50));
    EXPECT_EQ(Pixel(image, 0, 0), Sys(button, TSysColor::BtnHighlight));
    EXPECT_EQ(Pixel(image, 62, 5), Sys(button, TSysColor::BtnShadow));
    EXPECT_EQ(Pixel(image, 10, 14), Sys(button, TSysColor::BtnShadow));
    EXPECT_EQ(Pixel(image, 10, 15), Sys(button, TSysColor::DkShadow3D));
    EXPECT_EQ(Pixel(image, 63, 5), Sys(button, TSysColor::DkShadow3D));

    button->SetDown(true); // sunken: darker at the top
    image = Grab(button);
    EXPECT_EQ(Pixel(image, 10, 2), QColor(133, 66, 33));
    EXPECT_EQ(Pixel(image, 10, 14), QColor(200 * 44 / 48, 100 * 44 / 48, 50 * 44 / 48));
    EXPECT_EQ(Pixel(image, 62, 5), QColor(200 * 35 / 48, 100 * 35 / 48, 50 * 35 / 48));
    EXPECT_EQ(Pixel(image, 10, 0), Sys(button, TSysColor::DkShadow3D));
    EXPECT_EQ(Pixel(image, 10, 1), Sys(button, TSysColor::BtnShadow));
    EXPECT_EQ(Pixel(image, 1, 10), Sys(button, TSysColor::BtnShadow));
    EXPECT_EQ(Pixel(image, 10, 15), Sys(button, TSysColor::BtnHighlight));
    EXPECT_EQ(Pixel(image, 63, 5), Sys(button, TSysColor::BtnHighlight));
}

TEST_F(MaxButtonTest, GradationOnTheSystemFaceIsLighterThanTheFace) {
    TMaxButton* button = AddButton(10);
    button->SetStyle(TMaxButtonStyle::mbsGradation);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor(160, 120, 40));
    button->setPalette(palette);
    const QImage image = Grab(button);
    EXPECT_EQ(Pixel(image, 10, 1), QColor(200, 150, 50)); // v + v / 4 per channel
    palette.setColor(QPalette::Button, QColor(239, 239, 239));
    button->setPalette(palette);
    EXPECT_EQ(Pixel(Grab(button), 10, 1), QColor(255, 255, 255)); // capped at 255
}

TEST_F(MaxButtonTest, HeldDefaultButtonShowsTheChecker) {
    TMaxButton* button = AddButton(10, 1);
    button->SetDown(true);
    const QImage image = Grab(button);
    const QColor highlight = Sys(button, TSysColor::BtnHighlight);
    const QColor face = Sys(button, TSysColor::BtnFace);
    EXPECT_EQ(Pixel(image, 10, 4), highlight);
    EXPECT_EQ(Pixel(image, 11, 4), face);
    EXPECT_EQ(Pixel(image, 11, 5), highlight);
}

TEST_F(MaxButtonTest, GlyphsSitInTheMiddleAndMoveWhenPressed) {
    QPixmap red(8, 6);
    red.fill(Qt::red);
    QPixmap blue(8, 6);
    blue.fill(Qt::blue);
    TMaxButton* button = AddButton(10, 1); // 64 x 16: the glyph at (28, 5)
    button->SetCaption("never drawn");
    button->SetGlyph(red);
    QImage image = Grab(button);
    EXPECT_EQ(Pixel(image, 28, 5), QColor(Qt::red));
    EXPECT_EQ(Pixel(image, 35, 10), QColor(Qt::red));
    EXPECT_NE(Pixel(image, 27, 5), QColor(Qt::red));
    button->SetDown(true);
    image = Grab(button);
    EXPECT_NE(Pixel(image, 28, 5), QColor(Qt::red));
    EXPECT_EQ(Pixel(image, 29, 6), QColor(Qt::red));
    button->SetDownGlyph(blue);
    EXPECT_EQ(Pixel(Grab(button), 29, 6), QColor(Qt::blue));
    button->SetStyle(TMaxButtonStyle::mbsInvert);
    image = Grab(button);
    EXPECT_EQ(Pixel(image, 28, 5), QColor(Qt::cyan)); // the glyph inverted, in place
    EXPECT_EQ(Pixel(image, 35, 10), QColor(Qt::cyan));
}

} // namespace
} // namespace vantor
