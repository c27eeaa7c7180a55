#pragma once
// TMaxListBox: a list box with a coloured strip at the left of every item whose pointer events
// are the list's own (a press there neither selects nor takes the focus), a switch for typed
// characters, a scroll notification, a choice of mouse-wheel behaviour and a hook that may
// take any message before the list sees it.

#include "MaxControl.h"

#include <QColor>
#include <QListWidget>
#include <QStyle>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace vantor {

enum TMaxListMouseWheel {
    mwEnable,        // the wheel scrolls the list
    mwDisable,       // the wheel does nothing over the list
    mwOnlyOnControl, // the wheel scrolls the list only while the pointer is over it
};

// Whether a key event types a character (incremental search and the like) rather than moving
// or acting: printable text without Ctrl, Alt or Meta.
bool IsCharacterInput(const QKeyEvent* event);

class TMaxListBox : public QListWidget {
    Q_OBJECT
public:
    // Sees every message first; returning true consumes it.
    using TMessageHook = std::function<bool(TMaxListBox* sender, QEvent* message)>;

    explicit TMaxListBox(QWidget* parent = nullptr);
    ~TMaxListBox() override;

    // Width of the margin strip at the left of every item.
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int width);
    // Fill of the margin strip; the list's background colour until set.
    QColor MarginColor() const;
    void SetMarginColor(const QColor& color);
    // Typed characters reach the list (incremental search); navigation keys always do.
    bool EnableKeyboard() const { return FEnableKeyboard; }
    void SetEnableKeyboard(bool on) { FEnableKeyboard = on; }
    TMaxListMouseWheel MouseWheel() const { return FMouseWheel; }
    void SetMouseWheel(TMaxListMouseWheel mode) { FMouseWheel = mode; }
    // Height of every item in pixels; 0 takes the height from the font.
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int height);
    // The selected item (the current one in multi-selection), -1 for none. Setting it raises
    // no OnClick.
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The item's rectangle in viewport coordinates, right of the margin.
    QRect ItemRect(int index) const;
    // The item under a viewport point, -1 when there is none.
    int ItemAtPoint(const QPoint& point) const;

    void SetMessageHook(TMessageHook hook) { FMessageHook = std::move(hook); }

signals:
    // Pointer events in the margin, over an item only. X and Y are viewport coordinates.
    void OnMarginMouseDown(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                           int y);
    void OnMarginMouseMove(int index, Qt::KeyboardModifiers shift, int x, int y);
    void OnMarginMouseUp(int index, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                         int y);
    // A left press and release in the margin on the same item.
    void OnMarginClick(int index);
    // Every scroll command of either scroll bar: arrows, page steps, thumb drags, wheel turns.
    void OnScroll();
    // The user chose an item: a left click on the list, or a key that moved the selection.
    void OnClick();
    // With a handler connected, the handler draws each item right of the margin.
    void OnDrawItem(int index, QPainter* canvas, const QRect& rect, QStyle::State state);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Fills the margin strip, then draws the item in the rest of its rectangle.
    virtual void DrawItem(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const;

private:
    friend class TMaxListBoxDelegate;

    // Margin pointer rules; true when the event is consumed.
    bool MarginMouse(QMouseEvent* event);
    // Wheel rules; true when the event is consumed.
    bool Wheel(QWheelEvent* event);
    // Whether the pointer at a screen position is over this list (or its scroll bars).
    bool PointerOverList(const QPoint& globalPos) const;

    int FLeftMargin = 0;
    QColor FMarginColor;
    bool FEnableKeyboard = true;
    TMaxListMouseWheel FMouseWheel = mwEnable;
    int FItemHeight = 0;
    bool FPressedInMargin = false;
    int FMarginPressIndex = -1;
    bool FListPressed = false; // a left press that the list itself handled
    TMessageHook FMessageHook;
};

} // namespace vantor
