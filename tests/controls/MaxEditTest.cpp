#include "controls/MaxNumberEdit.h"
#include "controls/MaxNumberText.h"

#include "ControlsTestSupport.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <cmath>
#include <limits>

namespace vantor {
namespace {

using test::ControlTest;
using test::EventLog;

// ---- Number text ----------------------------------------------------------------------------

TEST(NumberEditText, SanitiserKeepsDigitsOneLeadingMinusAndTheFirstPoint) {
    EXPECT_EQ(SanitiseNumberText("1-2.3.4a"), "12.34");
    EXPECT_EQ(SanitiseNumberText("-.5"), "-.5");
    EXPECT_EQ(SanitiseNumberText(".-5"), ".5");
    EXPECT_EQ(SanitiseNumberText("+1"), "1");
    EXPECT_EQ(SanitiseNumberText("a-5"), "-5"); // a dropped letter keeps nothing, so "-" may follow
    EXPECT_EQ(SanitiseNumberText("--5"), "-5");
    EXPECT_EQ(SanitiseNumberText("1.5003"), "1.5003");
    EXPECT_EQ(SanitiseNumberText("1.5e+003"), "1.5003");
    EXPECT_EQ(SanitiseNumberText(QString(QChar(0xFF11)) + "2"), "2"); // only ASCII digits
}

TEST(NumberEditText, ParserAcceptsDecimalNumbersOnly) {
    EXPECT_EQ(ParseNumberText(" 500 "), 500.0);
    EXPECT_EQ(ParseNumberText("+2"), 2.0);
    EXPECT_EQ(ParseNumberText("-.5"), -0.5);
    EXPECT_EQ(ParseNumberText("5."), 5.0);
    EXPECT_EQ(ParseNumberText("1.5e3"), 1500.0);
    EXPECT_EQ(ParseNumberText("2E-1"), 0.2);
    for (const char* bad : {"", " ", "-", ".", "-.", "abc", "1.2.3", "1e", "1e+", "0x10", "inf",
                            "nan", "1,5", "1 2", "--1"}) {
        EXPECT_FALSE(ParseNumberText(bad).has_value()) << bad;
    }
}

TEST(NumberEditText, ParserTurnsMagnitudesBeyondDoubleIntoInfinityOrZero) {
    EXPECT_EQ(ParseNumberText("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumberText("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumberText(QString(400, u'9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ParseNumberText("1e-999"), 0.0);
    EXPECT_EQ(ParseNumberText("0.000e999"), 0.0);
}

TEST(NumberEditText, ClampAppliesTheUpperBoundFirst) {
    EXPECT_EQ(ClampToRange(5, 0, 1), 1);
    EXPECT_EQ(ClampToRange(-5, 0, 1), 0);
    EXPECT_EQ(ClampToRange(0.5, 0, 1), 0.5);
    EXPECT_EQ(ClampToRange(0.5, 2, 1), 2); // crossed bounds: the lower one wins
    EXPECT_EQ(ClampToRange(std::nan(""), 0.25, 1), 0.25);
}

TEST(NumberEditText, ExponentialSnapFollowsTheGrid) {
    EXPECT_DOUBLE_EQ(SnapExponential(5, 1, 2), 4);
    EXPECT_DOUBLE_EQ(SnapExponential(0.3, 1, 2), 0.5); // r = -1.74 truncates to -1
    EXPECT_DOUBLE_EQ(SnapExponential(0.5, 1, 10), 1);  // r = -0.30 truncates to 0
    EXPECT_DOUBLE_EQ(SnapExponential(250, 1, 10), 100);
    EXPECT_DOUBLE_EQ(SnapExponential(6, 3, 2), 6);                // on the grid of mantissa 3
    EXPECT_DOUBLE_EQ(SnapExponential(999.99999999, 1, 10), 1000); // fraction >= 0.99999999
    EXPECT_DOUBLE_EQ(SnapExponential(999.9, 1, 10), 100);
    EXPECT_DOUBLE_EQ(SnapExponential(0.0010000001, 1, 10), 0.01); // a negative r never rounds up
    // Nothing to snap: values <= 0 and grids without a step.
    EXPECT_EQ(SnapExponential(0, 1, 10), 0);
    EXPECT_EQ(SnapExponential(-3, 1, 10), -3);
    EXPECT_EQ(SnapExponential(7, 1, 1), 7);
    EXPECT_EQ(SnapExponential(7, 0, 10), 7);
    EXPECT_EQ(SnapExponential(7, 1, -2), 7);
}

TEST(NumberEditText, FormatTakesOneDoubleAndNothingElse) {
    EXPECT_EQ(FormatNumberText("%.2lf", 0.5), "0.50");
    EXPECT_EQ(FormatNumberText("%.0lf", 45), "45");
    EXPECT_EQ(FormatNumberText("%.2f", 0.857), "0.86");
    EXPECT_EQ(FormatNumberText("%.1f", 0.25), "0.2"); // printf's rounding of the binary value
    EXPECT_EQ(FormatNumberText("%5.1f%%", 2), "  2.0%");
    EXPECT_EQ(FormatNumberText("%g", 1500), "1500");
    // Longer than 31 characters is shown whole; only absurd lengths show nothing.
    EXPECT_EQ(FormatNumberText("%.40f", 0.5).size(), 42);
    EXPECT_EQ(FormatNumberText("%.2f", std::numeric_limits<double>::max()).size(), 312);
    EXPECT_EQ(FormatNumberText("%999f", 1), "");
    for (const char* bad : {"", "abc", "%d", "%s", "%n", "%.2f %.2f", "%*f", "%Lf", "%", "%.2"}) {
        EXPECT_EQ(FormatNumberText(bad, 1.5), "") << bad;
    }
}

// ---- TMaxEdit -------------------------------------------------------------------------------

class MaxEditTest : public ControlTest {};

TEST_F(MaxEditTest, NumberOnlyDropsKeysAndCleansPastedText) {
    auto* edit = new TMaxEdit(window.get());
    edit->SetNumberOnly(true);
    ShowWindow();
    edit->setFocus();
    QTest::keyClicks(edit, "a1b+2x");
    EXPECT_EQ(edit->text(), "12"); // "+" passes the keys but not the sanitiser
    edit->clear();
    QApplication::clipboard()->setText("1a2");
    edit->paste();
    EXPECT_EQ(edit->text(), "12");
    QTest::keyClick(edit, Qt::Key_Backspace); // control keys pass
    EXPECT_EQ(edit->text(), "1");
}

TEST_F(MaxEditTest, SanitisedChangeRaisesOneOnChangeWithTheCleanText) {
    auto* edit = new TMaxEdit(window.get());
    edit->SetNumberOnly(true);
    QStringList seen;
    QObject::connect(edit, &TMaxEdit::OnChange, [&] { seen << edit->text(); });
    edit->setText("1-2.3.4a");
    EXPECT_EQ(seen, QStringList{"12.34"});
}

TEST_F(MaxEditTest, TextPutInByTheProgramShowsItsStartTypedTextKeepsTheCursor) {
    auto* edit = new TMaxEdit(window.get());
    edit->resize(40, 20);
    ShowWindow();
    edit->setFocus();
    edit->setText("-0.600000023841858");
    EXPECT_EQ(edit->cursorPosition(), 0);
    EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 5); // start in view
    edit->end(false);
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(edit->text(), "-0.60000002384185812");
    EXPECT_EQ(edit->cursorPosition(), 20);
    // A paste that the sanitiser cleans is still the user's: the cursor stays after it.
    edit->SetNumberOnly(true);
    edit->clear();
    QApplication::clipboard()->setText("1a2b3");
    edit->paste();
    EXPECT_EQ(edit->text(), "123");
    EXPECT_EQ(edit->cursorPosition(), 3);
}

TEST_F(MaxEditTest, ExitKeyLeavesNoControlWithTheFocus) {
    auto* other = new QLineEdit(window.get());
    auto* edit = new TMaxEdit(window.get());
    edit->move(0, 40);
    edit->SetExitKey(true);
    ShowWindow();
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    QSignalSpy exits(edit, &TMaxEdit::OnExit);
    QSignalSpy returns(edit, &QLineEdit::returnPressed);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_FALSE(other->hasFocus());
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(returns.count(), 0); // the key is dropped

    edit->SetExitKey(false);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(edit->hasFocus());
}

TEST_F(MaxEditTest, HoverTakesTheFocusAndSelectsOnlyWhileTheApplicationIsActive) {
    auto* other = new QLineEdit(window.get());
    auto* edit = new TMaxEdit(window.get());
    edit->move(0, 40);
    edit->setText("123");
    ShowWindow();
    other->setFocus();

    SetApplicationActive(false);
    QTest::mouseMove(edit, QPoint(5, 5));
    EXPECT_NE(window->focusWidget(), edit);

    edit->SetEnterOnFormNotActive(true);
    QTest::mouseMove(edit, QPoint(6, 5));
    EXPECT_EQ(window->focusWidget(), edit);

    SetApplicationActive(true);
    other->setFocus();
    edit->SetEnterOnFormNotActive(false);
    QTest::mouseMove(edit, QPoint(7, 5));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "123"); // typing replaces the value

    other->setFocus();
    edit->SetEnterSelect(false);
    QTest::mouseMove(edit, QPoint(8, 5));
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(MaxEditTest, KeyPressHandlerMayChangeOrCancelTheKey) {
    auto* edit = new TMaxEdit(window.get());
    edit->SetNumberOnly(true);
    QObject::connect(edit, &TMaxEdit::OnKeyPress, [](QChar& key) {
        if (key == u',') {
            key = u'.';
        } else if (key == u'9') {
            key = QChar();
        }
    });
    ShowWindow();
    edit->setFocus();
    QTest::keyClicks(edit, "1,59");
    EXPECT_EQ(edit->text(), "1.5");
}

// ---- TMaxNumberEdit -------------------------------------------------------------------------

class MaxNumberEditTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        other = new QLineEdit(window.get());
        number = new TMaxNumberEdit(window.get());
        number->move(0, 40);
    }
    TMaxEdit* edit() const { return number->Edit(); }
    void ClickUp() { QTest::mouseClick(number->UpDown(), Qt::LeftButton, {}, QPoint(7, 3)); }
    void ClickDown() { QTest::mouseClick(number->UpDown(), Qt::LeftButton, {}, QPoint(7, 16)); }

    QLineEdit* other = nullptr;
    TMaxNumberEdit* number = nullptr;
};

TEST_F(MaxNumberEditTest, NewEditShowsZeroWithItsDefaults) {
    EXPECT_EQ(edit()->text(), "0.00");
    EXPECT_EQ(number->Min(), 0.0);
    EXPECT_EQ(number->Max(), 1.0);
    EXPECT_EQ(number->Increment(), 0.01);
    EXPECT_EQ(number->size(), QSize(64, 20));
    EXPECT_TRUE(edit()->NumberOnly());
    EXPECT_FALSE(edit()->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(MaxNumberEditTest, LayoutGivesTheSpinButtonFifteenPixelsAtTheRight) {
    ShowWindow();
    EXPECT_EQ(edit()->geometry(), QRect(0, 0, 49, 20));
    EXPECT_EQ(number->UpDown()->geometry(), QRect(49, 0, 15, 20));
    number->resize(100, 24);
    EXPECT_EQ(edit()->geometry(), QRect(0, 0, 85, 24));
    EXPECT_EQ(number->UpDown()->geometry(), QRect(85, 0, 15, 24));
}

TEST_F(MaxNumberEditTest, TypedValueIsClampedWhenReadAndCommittedOnLeaving) {
    ShowWindow();
    EventLog log;
    QObject::connect(number, &TMaxNumberEdit::OnChange, log.Record("change"));
    QObject::connect(number, &TMaxNumberEdit::OnExit, log.Record("exit"));
    edit()->setFocus();
    QTest::keyClicks(edit(), "5");
    EXPECT_EQ(edit()->text(), "5");
    EXPECT_EQ(number->GetPosition(), 1.0);
    log.events.clear();
    other->setFocus();
    EXPECT_EQ(edit()->text(), "1.00");
    EXPECT_EQ(log.events, (std::vector<std::string>{"change", "exit"}));
}

TEST_F(MaxNumberEditTest, EmptiedTextIsSilentlyRestoredOnLeaving) {
    number->FSetPosition(0.3);
    ShowWindow();
    edit()->setFocus();
    QSignalSpy changes(number, &TMaxNumberEdit::OnChange);
    QTest::keyClick(edit(), Qt::Key_Backspace); // the whole text is selected
    EXPECT_EQ(edit()->text(), "");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(number->GetPosition(), 0.3);
    other->setFocus();
    EXPECT_EQ(edit()->text(), "0.30");
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(MaxNumberEditTest, NotifyingAndSilentSetters) {
    QSignalSpy changes(number, &TMaxNumberEdit::OnChange);
    number->FSetPosition(0.8);
    EXPECT_EQ(changes.count(), 1);
    number->FSetPosition(0.8);
    EXPECT_EQ(changes.count(), 1); // same text, no change
    number->setProperty("Position", 0.25);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(number->property("Position").toDouble(), 0.25);
    number->SetPosition(0.6);
    EXPECT_EQ(edit()->text(), "0.60");
    number->SetMax(0.5);
    EXPECT_EQ(edit()->text(), "0.50");
    number->SetPrintFormat("%.1lf");
    EXPECT_EQ(edit()->text(), "0.5");
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(MaxNumberEditTest, BoundsPushEachOther) {
    number->SetMin(2);
    EXPECT_EQ(number->Max(), 2.0);
    EXPECT_EQ(edit()->text(), "2.00");
    number->SetMax(-1);
    EXPECT_EQ(number->Min(), -1.0);
    EXPECT_EQ(edit()->text(), "-1.00");
    number->SetMantissa(0);
    number->SetMantissa(-2);
    EXPECT_EQ(number->Mantissa(), 1.0);
}

TEST_F(MaxNumberEditTest, SpinButtonStopsAtTheLimitWithoutAnotherChange) {
    number->FSetPosition(0.99);
    ShowWindow();
    QSignalSpy changes(number, &TMaxNumberEdit::OnChange);
    ClickUp();
    EXPECT_EQ(edit()->text(), "1.00");
    EXPECT_EQ(changes.count(), 1);
    ClickUp();
    EXPECT_EQ(edit()->text(), "1.00");
    EXPECT_EQ(changes.count(), 1);
    ClickDown();
    ClickDown();
    EXPECT_EQ(edit()->text(), "0.98");
}

TEST_F(MaxNumberEditTest, SpinButtonCommitsTheTypedTextFirst) {
    ShowWindow();
    edit()->setFocus();
    QTest::keyClicks(edit(), "0.5");
    ClickUp();
    EXPECT_EQ(edit()->text(), "0.51");
    EXPECT_TRUE(edit()->hasFocus()); // the spin button takes no focus
}

TEST_F(MaxNumberEditTest, DragStartsAfterFourPixelsAndStepsOnePerPixel) {
    number->FSetPosition(0.5);
    ShowWindow();
    TMaxUpDown* spin = number->UpDown();
    QSignalSpy ends(number, &TMaxNumberEdit::OnEndUpDown);
    QTest::mousePress(spin, Qt::LeftButton, {}, QPoint(7, 6)); // the press itself steps up
    EXPECT_EQ(edit()->text(), "0.51");
    QTest::mouseMove(spin, QPoint(7, 2)); // 4 pixels: nothing yet
    EXPECT_EQ(edit()->text(), "0.51");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(spin->OnChanging());
    QTest::mouseMove(spin, QPoint(7, 1)); // the 5th pixel starts the drag, without a step
    EXPECT_EQ(edit()->text(), "0.51");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeVerCursor);
    EXPECT_FALSE(spin->OnChanging()); // no repeated click steps during the drag
    QTest::mouseMove(spin, QPoint(7, 0));
    EXPECT_EQ(edit()->text(), "0.52");
    QTest::mouseMove(spin, QPoint(7, -3)); // a jump of three pixels is three steps
    EXPECT_EQ(edit()->text(), "0.55");
    QTest::mouseMove(spin, QPoint(7, 7));
    EXPECT_EQ(edit()->text(), "0.45");
    EXPECT_EQ(ends.count(), 0);
    QTest::mouseRelease(spin, Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_EQ(ends.count(), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    ClickUp(); // a click is no drag
    EXPECT_EQ(ends.count(), 1);
}

TEST_F(MaxNumberEditTest, DragIsOffWithoutUpDownDragEnabled) {
    number->FSetPosition(0.5);
    number->SetUpDownDragEnabled(false);
    ShowWindow();
    QSignalSpy ends(number, &TMaxNumberEdit::OnEndUpDown);
    QTest::mousePress(number->UpDown(), Qt::LeftButton, {}, QPoint(7, 6));
    QTest::mouseMove(number->UpDown(), QPoint(7, -20));
    QTest::mouseRelease(number->UpDown(), Qt::LeftButton, {}, QPoint(7, -20));
    EXPECT_EQ(edit()->text(), "0.51");
    EXPECT_EQ(ends.count(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MaxNumberEditTest, DisablingEndsADragAndDisablesBothChildren) {
    ShowWindow();
    QSignalSpy ends(number, &TMaxNumberEdit::OnEndUpDown);
    QTest::mousePress(number->UpDown(), Qt::LeftButton, {}, QPoint(7, 6));
    QTest::mouseMove(number->UpDown(), QPoint(7, -10));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    number->setEnabled(false);
    EXPECT_FALSE(edit()->isEnabled());
    EXPECT_FALSE(number->UpDown()->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ends.count(), 1);
    number->setEnabled(true);
    EXPECT_TRUE(edit()->isEnabled());
    EXPECT_TRUE(number->UpDown()->isEnabled());
}

TEST_F(MaxNumberEditTest, ExponentialModeSnapsAndMultiplies) {
    number->SetPrintFormat("%.0lf");
    number->SetMantissa(1);
    number->SetIncrement(10);
    number->SetMax(10000);
    number->SetExponential(true);
    ShowWindow();
    number->FSetPosition(0.5);
    EXPECT_EQ(edit()->text(), "1");
    number->FSetPosition(250);
    EXPECT_EQ(edit()->text(), "100");
    ClickUp();
    EXPECT_EQ(edit()->text(), "1000");
    number->FSetPosition(0);
    ClickUp();
    EXPECT_EQ(edit()->text(), "0"); // 0 is not snapped and stays 0
    number->FSetPosition(20000);
    EXPECT_EQ(edit()->text(), "10000");
}

TEST_F(MaxNumberEditTest, SwitchingExponentialOnSnapsTheValueWithNotification) {
    number->SetMax(100);
    number->SetIncrement(2);
    number->FSetPosition(5);
    QSignalSpy changes(number, &TMaxNumberEdit::OnChange);
    number->SetExponential(true);
    EXPECT_EQ(edit()->text(), "4.00");
    EXPECT_EQ(changes.count(), 1);
    number->SetExponential(true);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(MaxNumberEditTest, InputSentToTheNumberEditReachesItsChildren) {
    ShowWindow();
    number->setFocus();
    QTest::keyClicks(number, "0.5");
    EXPECT_EQ(edit()->text(), "0.5");
    QTest::mouseClick(number, Qt::LeftButton, {}, QPoint(57, 3)); // on the spin button's top
    EXPECT_EQ(edit()->text(), "0.51");
    QSignalSpy ends(number, &TMaxNumberEdit::OnEndUpDown);
    QTest::mousePress(number, Qt::LeftButton, {}, QPoint(57, 15)); // bottom half: one step down
    QTest::mouseMove(number, QPoint(5, 5));                        // still the spin button's drag
    QTest::mouseMove(number, QPoint(5, 2));
    QTest::mouseRelease(number, Qt::LeftButton, {}, QPoint(5, 2));
    EXPECT_EQ(edit()->text(), "0.53");
    EXPECT_EQ(ends.count(), 1);

    // A key the inner edit leaves unused goes on up, never back down to the edit.
    QSignalSpy returns(edit(), &QLineEdit::returnPressed);
    QSignalSpy keyDowns(number, &TMaxNumberEdit::OnKeyDown);
    QTest::keyClick(number, Qt::Key_Return);
    QTest::keyClick(edit(), Qt::Key_Return);
    QTest::keyClick(number, Qt::Key_F5);
    EXPECT_EQ(returns.count(), 2);
    EXPECT_EQ(keyDowns.count(), 3);
}

TEST_F(MaxNumberEditTest, EventsOfTheInnerEditAreRaisedByTheNumberEdit) {
    ShowWindow();
    EventLog log;
    QObject::connect(number, &TMaxNumberEdit::OnEnter, log.Record("enter"));
    QObject::connect(number, &TMaxNumberEdit::OnExit, log.Record("exit"));
    QObject::connect(number, &TMaxNumberEdit::OnKeyPress, [&](QChar& key) {
        log.events.push_back("press");
        if (key == u'7') {
            key = QChar();
        }
    });
    QSignalSpy moves(number, &TMaxNumberEdit::OnMouseMove);
    number->setFocus();
    QTest::keyClicks(edit(), "07");
    other->setFocus();
    EXPECT_EQ(log.events, (std::vector<std::string>{"enter", "press", "press", "exit"}));
    EXPECT_EQ(edit()->text(), "0.00");
    QTest::mouseMove(edit(), QPoint(12, 9));
    ASSERT_GE(moves.count(), 1);
    EXPECT_EQ(moves.last().at(2).toInt(), 12); // inner edit coordinates
    EXPECT_EQ(moves.last().at(3).toInt(), 9);
    EXPECT_TRUE(edit()->hasFocus()); // hover focus, before OnMouseMove
}

} // namespace
} // namespace vantor
