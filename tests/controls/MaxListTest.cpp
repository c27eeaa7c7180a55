#include "controls/MaxList.h"

#include "ControlsTestSupport.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

namespace vantor {
namespace {

using test::ControlTest;
using test::Grab;
using test::Pixel;

class MaxListBoxTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        list = new TMaxListBox(window.get());
        list->setGeometry(10, 10, 150, 120);
        list->SetItemHeight(16);
        list->SetLeftMargin(16);
        list->addItems({"apple", "banana", "cherry", "date", "elder"});
        other = new QLineEdit(window.get());
        other->setGeometry(200, 10, 100, 20);
    }

    // The middle of item i at viewport x.
    QPoint At(int x, int item) const { return QPoint(x, item * 16 + 8); }

    void SendWheel(QWidget* receiver, QPoint globalPos, int delta) {
        QWheelEvent wheel(receiver->mapFromGlobal(QPointF(globalPos)), QPointF(globalPos), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(receiver, &wheel);
    }

    TMaxListBox* list = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(MaxListBoxTest, MarginPressNeitherSelectsNorFocusesAndItsReleaseFollowsThePointer) {
    list->SetItemIndex(0);
    ShowWindow();
    other->setFocus();
    QStringList events;
    QObject::connect(
        list, &TMaxListBox::OnMarginMouseDown,
        [&](int i, Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
            EXPECT_EQ(b, Qt::LeftButton);
            const QString shift = s == Qt::ShiftModifier ? "shift " : "";
            events << QStringLiteral("down %1%2 %3,%4").arg(shift).arg(i).arg(x).arg(y);
        });
    QObject::connect(list, &TMaxListBox::OnMarginMouseMove,
                     [&](int i, Qt::KeyboardModifiers, int x, int) {
                         events << QStringLiteral("move %1 %2").arg(i).arg(x);
                     });
    QObject::connect(list, &TMaxListBox::OnMarginMouseUp,
                     [&](int i, Qt::MouseButton, Qt::KeyboardModifiers, int x, int) {
                         events << QStringLiteral("up %1 %2").arg(i).arg(x);
                     });
    QObject::connect(list, &TMaxListBox::OnMarginClick,
                     [&](int i) { events << QStringLiteral("click %1").arg(i); });
    QSignalSpy clicks(list, &TMaxListBox::OnClick);
    QWidget* viewport = list->viewport();

    QTest::mousePress(viewport, Qt::LeftButton, Qt::ShiftModifier, At(10, 2));
    QTest::mouseMove(viewport, At(60, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, At(60, 1));
    EXPECT_EQ(events, (QStringList{"down shift 2 10,40", "move 1 60", "up 1 60"}));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(clicks.count(), 0);

    // A press and release in the margin on one item is a margin click; below the last item
    // nothing is raised, and the press is still not the list's.
    events.clear();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, At(4, 3));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, At(4, 6));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, At(4, 6));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, At(4, 6));
    EXPECT_EQ(events, (QStringList{"down 3 4,56", "up 3 4", "click 3"}));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_TRUE(other->hasFocus());

    // Moves over the margin are reported without a button as well; over the items they are not.
    events.clear();
    QTest::mouseMove(viewport, At(5, 4));
    QTest::mouseMove(viewport, At(40, 4));
    EXPECT_EQ(events, (QStringList{"move 4 5"}));
}

TEST_F(MaxListBoxTest, PressOnAnItemSelectsFocusesAndClicksEvenWhenReleasedInTheMargin) {
    ShowWindow();
    other->setFocus();
    QSignalSpy clicks(list, &TMaxListBox::OnClick);
    QSignalSpy marginUps(list, &TMaxListBox::OnMarginMouseUp);
    QWidget* viewport = list->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, At(40, 1));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(list->hasFocus());
    QTest::mouseMove(viewport, At(8, 1));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, At(8, 1));
    EXPECT_EQ(marginUps.count(), 1);
    EXPECT_EQ(clicks.count(), 1);
    // The list saw its release: a second click on another item works as usual.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, At(40, 3));
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(MaxListBoxTest, KeyboardSwitchDropsTypedCharactersButNotNavigation) {
    list->SetItemIndex(0);
    ShowWindow();
    list->setFocus();
    QSignalSpy clicks(list, &TMaxListBox::OnClick);
    list->SetEnableKeyboard(false);
    QTest::keyClick(list, Qt::Key_C, Qt::NoModifier);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(clicks.count(), 0);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks.count(), 1);

    list->SetEnableKeyboard(true);
    QTest::keyClick(list, Qt::Key_E, Qt::NoModifier);
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(MaxListBoxTest, WheelModes) {
    for (int i = 0; i < 60; ++i) {
        list->addItem(QStringLiteral("more %1").arg(i));
    }
    auto* neighbour = new TMaxListBox(window.get());
    neighbour->setGeometry(200, 40, 150, 120);
    for (int i = 0; i < 60; ++i) {
        neighbour->addItem(QStringLiteral("item %1").arg(i));
    }
    ShowWindow();
    QScrollBar* bar = list->verticalScrollBar();
    QSignalSpy scrolls(list, &TMaxListBox::OnScroll);
    const QPoint overList = list->viewport()->mapToGlobal(QPoint(50, 50));
    const QPoint overNeighbour = neighbour->viewport()->mapToGlobal(QPoint(50, 50));

    SendWheel(list->viewport(), overList, -120);
    EXPECT_GT(bar->value(), 0);
    EXPECT_GE(scrolls.count(), 1);

    bar->setValue(0);
    scrolls.clear();
    list->SetMouseWheel(mwDisable);
    SendWheel(list->viewport(), overList, -120);
    SendWheel(bar, bar->mapToGlobal(QPoint(5, 50)), -120);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(scrolls.count(), 0);

    // Only over the list: a wheel the list receives while the pointer is over another control
    // goes to that control.
    list->SetMouseWheel(mwOnlyOnControl);
    SendWheel(list->viewport(), overNeighbour, -120);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_GT(neighbour->verticalScrollBar()->value(), 0);
    SendWheel(list->viewport(), overList, -120);
    EXPECT_GT(bar->value(), 0);
}

TEST_F(MaxListBoxTest, MessageHookSeesMessagesAfterTheListsOwnRules) {
    list->SetItemIndex(0);
    ShowWindow();
    list->setFocus();
    int marginPressesSeen = 0;
    list->SetMessageHook([&](TMaxListBox* sender, QEvent* message) {
        EXPECT_EQ(sender, list);
        if (message->type() == QEvent::MouseButtonPress) {
            ++marginPressesSeen;
        }
        return message->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(message)->key() == Qt::Key_Down;
    });
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 0);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->ItemIndex(), 4);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, At(4, 1)); // margin: not handed on
    EXPECT_EQ(marginPressesSeen, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, At(40, 1));
    EXPECT_EQ(marginPressesSeen, 1);
}

TEST_F(MaxListBoxTest, MarginStripIsDrawnBesideEveryItemOnly) {
    list->SetMarginColor(QColor(200, 0, 0));
    list->SetItemIndex(1);
    ShowWindow();
    const QImage image = Grab(list->viewport());
    EXPECT_EQ(Pixel(image, 0, 8), QColor(200, 0, 0));
    EXPECT_EQ(Pixel(image, 15, 4 * 16 + 15), QColor(200, 0, 0));
    EXPECT_NE(Pixel(image, 16, 8), QColor(200, 0, 0));
    EXPECT_NE(Pixel(image, 4, 5 * 16 + 4), QColor(200, 0, 0)); // below the last item
    // The selected item is highlighted right of the margin, and the margin stays.
    EXPECT_EQ(Pixel(image, 8, 24), QColor(200, 0, 0));
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor selected = Pixel(image, 140, 24);
    EXPECT_LE(std::abs(selected.red() - highlight.red()) +
                  std::abs(selected.green() - highlight.green()) +
                  std::abs(selected.blue() - highlight.blue()),
              6); // the style shades its highlight a little
    EXPECT_EQ(list->ItemRect(2), QRect(16, 32, list->viewport()->width() - 16, 16));

    list->SetLeftMargin(0);
    EXPECT_NE(Pixel(Grab(list->viewport()), 0, 8), QColor(200, 0, 0));
}

} // namespace
} // namespace vantor
