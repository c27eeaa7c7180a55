#pragma once
// Containers: TMaxGroupBox, a group box that collapses to its title, sizes a child panel to
// its inside and keeps the next box of a chain a fixed distance below it; TMaxCustomPanel, the
// bevelled panel the other panels build on; TMaxPanel, a panel whose children scroll
// vertically when its background is dragged; TMaxControlBox, a container that draws nothing.

#include "MaxControl.h"

#include <QPointer>
#include <QRect>
#include <QString>

namespace vantor {

// ---- TMaxCustomPanel ------------------------------------------------------------------------

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };

// Draws Width nested one-pixel frames into rect, top and left edges in top, bottom and right
// edges in bottom, and shrinks rect by Width on every side.
void Frame3D(QPainter& painter, QRect& rect, const QColor& top, const QColor& bottom, int width);

// A panel in the classic look: outer bevel, border, inner bevel, a background of Color and a
// caption centred vertically.
class TMaxCustomPanel : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxCustomPanel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width);
    // None or a single one-pixel line in the window-text colour.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;
    // The panel's standard painting: bevels, background, caption.
    virtual void Paint(QPainter& painter);

private:
    TAlignment FAlignment = TAlignment::taCenter;
    TPanelBevel FBevelInner = TPanelBevel::bvNone;
    TPanelBevel FBevelOuter = TPanelBevel::bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = TBorderStyle::bsNone;
    QString FCaption;
};

// ---- TMaxGroupBox ---------------------------------------------------------------------------

enum TMaxGroupBoxStyle {
    mgbDefault, // etched frame with a collapse button
    mgbAlias,   // title bar in the window-caption colours, its right end cut at 45 degrees
};

class TMaxGroupBox : public TMaxControl {
    Q_OBJECT
    Q_PROPERTY(bool Minimized READ Minimized WRITE SetMinimized)
public:
    explicit TMaxGroupBox(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TMaxGroupBoxStyle Style() const { return FStyle; }
    void SetStyle(TMaxGroupBoxStyle style);
    // Collapsed to the title: the height is then the title's character height + 2.
    bool Minimized() const { return FMinimized; }
    void SetMinimized(bool minimized);
    // The user may collapse and expand the box by clicking its title.
    bool EnableMinimized() const { return FEnableMinimized; }
    void SetEnableMinimized(bool on);
    // Height when expanded; follows the height while the box is expanded.
    int MaxHeight() const { return FMinimized ? FMaxHeight : height(); }
    void SetMaxHeight(int height);
    // A child of this box that is sized to fill the inside. Only a child of this box is taken.
    QWidget* ChildPanel() const { return FChildPanel; }
    void SetChildPanel(QWidget* panel);
    // A sibling kept NextOffset pixels below this box. Only a sibling is taken, and none that
    // would close a loop of boxes; nullptr removes the link.
    QWidget* NextGroup() const { return FNextGroup; }
    void SetNextGroup(QWidget* next);
    int NextOffset() const { return FNextOffset; }
    void SetNextOffset(int offset);

    void UpdateChildPanel();
    void UpdateNextGroup();

    // The title's character height in pixels (the caption font's).
    int TitleHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Paint(QPainter& painter);
    void PaintDefault(QPainter& painter);
    void PaintAlias(QPainter& painter);
    // What follows every size change; safe to run twice.
    void SizeChanged();
    // Qt delivers size and move events of a hidden widget only when it is shown; the setters
    // call the handlers themselves then, so a chain is in place before the window appears.
    void ResizeHeight(int height);
    // In the alias style the corner cut off the title bar takes no pointer input: it goes to
    // whatever lies beneath.
    void UpdateHitMask();

    QString FCaption;
    TMaxGroupBoxStyle FStyle = TMaxGroupBoxStyle::mgbDefault;
    bool FMinimized = false;
    bool FEnableMinimized = true;
    int FMaxHeight = 0;
    QPointer<QWidget> FChildPanel;
    QPointer<QWidget> FNextGroup;
    int FNextOffset = 8;
};

// ---- TMaxPanel ------------------------------------------------------------------------------

// Moves every child of panel vertically by -delta, but never so far down that more than 8
// pixels stay free above the topmost child, nor so far up that the lowest child's bottom
// rises above the panel's height - 8. Children move from the last to the first.
void ScrollV(QWidget* panel, int delta);

// Sets rect to the panel's rectangle grown to hold every child with an 8-pixel margin above
// and below.
void GetScrollableArea(const QWidget* panel, QRect& rect);

class TMaxPanel : public TMaxCustomPanel {
    Q_OBJECT
public:
    explicit TMaxPanel(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Ends a drag: a disabled or hidden panel receives no release.
    void EndCapture();

    bool FCaptured = false;
    int FDragAnchorY = 0;
    TScreenCursorOverride FSavedCursor;
};

// ---- TMaxControlBox -------------------------------------------------------------------------

// A container that draws nothing, not even a background: what its children and its parent
// draw stays visible.
class TMaxControlBox : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxControlBox(QWidget* parent = nullptr);
    QSize sizeHint() const override { return QSize(64, 64); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantor
