#pragma once
// Pieces shared by the custom controls: the base class that raises the pointer events of the
// window designs (OnMouseDown, OnMouseMove, OnMouseUp, OnClick), the platform colours as
// palette roles, and drawing helpers that hit exact pixels: a line excludes its end point and
// a rectangle (l, t, r, b) covers l <= x < r, t <= y < b, as the control designs count them.

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

class QMouseEvent;
class QPainter;

namespace vantor {

// The enumerations named in the control designs are plain enums with their prefixed names
// (taCenter, mbsGradation, mgbAlias, ...), so that they read as the designs write them; the
// qualified form TAlignment::taCenter works as well.

// Horizontal placement of a caption.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The Qt alignment flag of a horizontal placement.
Qt::Alignment HorizontalAlignment(TAlignment alignment);

// The platform colours the controls draw with. Each maps onto a palette role of the active
// colour group, so the controls follow the application's palette.
enum class TSysColor {
    BtnFace,       // QPalette::Button
    BtnShadow,     // QPalette::Dark
    BtnHighlight,  // QPalette::Light
    DkShadow3D,    // QPalette::Shadow
    WindowText,    // QPalette::WindowText
    GrayText,      // QPalette::WindowText of the disabled group
    ActiveCaption, // QPalette::Highlight
    CaptionText,   // QPalette::HighlightedText
};

QColor SysColor(const QPalette& palette, TSysColor color);

// Character height of a font in pixels: the pixel size it is drawn at. The designs store font
// heights as negative character heights; this is the positive value.
int FontCharHeight(const QFont& font);

// The rectangle (l, t, r, b) as a QRect.
inline QRect RectLTRB(int l, int t, int r, int b) {
    return QRect(l, t, r - l, b - t);
}

// Fills the rectangle (l, t, r, b).
void FillRectLTRB(QPainter& painter, int l, int t, int r, int b, const QColor& color);

// A one-pixel line from (x1, y1) to (x2, y2) that leaves out its end point. Every line the
// controls draw is horizontal or vertical.
void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color);

// The one-pixel outline of the rectangle (l, t, r, b).
void OutlineRectLTRB(QPainter& painter, int l, int t, int r, int b, const QColor& color);

// Draws a text that looks engraved, the designs' look for a disabled caption: first in button
// highlight moved by (+1, +1), then in button shadow in place. Transparent background.
void DrawEngravedText(QPainter& painter, const QPalette& palette, const QRect& rect, int flags,
                      const QString& text);

// Sets the application's screen cursor for a drag and puts the previous one back when the
// drag ends (or when the owner goes away in the middle of one). Begin and End pair up even
// when Begin is called again during a drag.
class TScreenCursorOverride {
public:
    TScreenCursorOverride() = default;
    ~TScreenCursorOverride() { End(); }
    TScreenCursorOverride(const TScreenCursorOverride&) = delete;
    TScreenCursorOverride& operator=(const TScreenCursorOverride&) = delete;

    void Begin(Qt::CursorShape shape);
    void End();
    bool Active() const { return FActive; }

private:
    bool FActive = false;
};

// Base of the custom controls: a widget that raises the pointer events of the designs with
// the control as sender, and the click that a press and a release inside make.
class TMaxControl : public QWidget {
    Q_OBJECT
public:
    explicit TMaxControl(QWidget* parent = nullptr);

    // The background colour (the palette's window role, inherited from the parent until set).
    QColor Color() const;
    void SetColor(const QColor& color);
    // True once SetColor gave an explicit colour; until then the control shows a platform colour.
    bool ColorIsExplicit() const { return FColorExplicit; }

signals:
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnClick();

protected:
    // Qt gives a disabled widget no pointer input. Controls whose designs raise their mouse
    // events while disabled switch this on and check isEnabled() before changing any state.
    void SetMouseEventsWhileDisabled(bool on) { FMouseEventsWhileDisabled = on; }

    // Default handling: raise the event; a left press and a left release inside raise
    // OnClick just before OnMouseUp.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

    void RaiseMouseDown(const QMouseEvent* event);
    void RaiseMouseMove(const QMouseEvent* event);
    void RaiseMouseUp(const QMouseEvent* event);

private:
    bool FColorExplicit = false;
    bool FMouseEventsWhileDisabled = false;
    bool FClickArmed = false;
};

// Client coordinates of a mouse event, truncated to whole pixels.
QPoint MousePoint(const QMouseEvent* event);

} // namespace vantor
