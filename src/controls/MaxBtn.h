#pragma once
// Three custom-drawn controls: TMaxTrack, a slim horizontal slider over a floating-point
// range; TMaxCheck, a check box with its caption; TMaxButton, a flat push button or sticky
// toggle that is exclusive within its group, with three face styles, glyphs and two captions.

#include "MaxControl.h"

#include <QAction>
#include <QPixmap>
#include <QPointer>
#include <QString>

namespace vantor {

// ---- TMaxTrack ------------------------------------------------------------------------------

// The value under the pointer at x on a track bar of the given width: x = 2 gives min and
// x = width - 4 gives max; the caller clamps. A bar narrower than 7 pixels has no usable
// range and gives min.
float TrackValueAtX(int x, int width, float min, float max);

// Left edge of the 6-pixel thumb for a position: (position - min) * (width - 6) / (max - min),
// truncated toward zero; 0 when max equals min.
int TrackThumbLeft(float position, float min, float max, int width);

class TMaxTrack : public TMaxControl {
    Q_OBJECT
    Q_PROPERTY(float Position READ GetPosition WRITE FSetPosition NOTIFY OnChange)
public:
    explicit TMaxTrack(QWidget* parent = nullptr);

    float GetPosition() const { return FPosition; }
    // Stores the clamped value and raises OnChange, every time, even for the same value.
    void FSetPosition(float value);
    // The same without OnChange, for a companion control that follows this one.
    void SetPosition(float value);
    float Min() const { return FMin; }
    void SetMin(float value);
    float Max() const { return FMax; }
    void SetMax(float value);
    void Click() { emit OnClick(); }

    QSize sizeHint() const override { return QSize(64, 13); }

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Bounds: above max gives max, then below min gives min.
    float Clamp(float value) const;

    float FMin = 0.0f;
    float FMax = 1.0f;
    float FPosition = 0.0f;
};

// ---- TMaxCheck ------------------------------------------------------------------------------

class TMaxCheck : public TMaxControl {
    Q_OBJECT
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked NOTIFY OnChange)
public:
    explicit TMaxCheck(QWidget* parent = nullptr);

    bool Checked() const { return FChecked; }
    // Raises OnChange when the value changes.
    void SetChecked(bool checked);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // Toggles Checked, then raises OnClick.
    void Click();

    QSize sizeHint() const override { return QSize(64, 13); }

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FChecked = false;
    QString FCaption;
    bool FPressed = false; // a left press began on the control
    bool FHot = false;     // the pointer is inside the control
    // The press was the second of a double click: its release toggles without a click.
    bool FDoubleClickPress = false;
};

// ---- TMaxButton -----------------------------------------------------------------------------

enum TMaxButtonStyle { mbsDefault, mbsGradation, mbsInvert };

// How the button is drawn: pressed while a press on an up button is inside it, held while
// the button is down.
enum class TMaxButtonState { Up, Pressed, Held };

// Each channel of a gradation face row: channel * numerator / denominator, integer division.
QColor ScaleColor(const QColor& color, int numerator, int denominator);

class TMaxButton : public TMaxControl {
    Q_OBJECT
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
public:
    explicit TMaxButton(QWidget* parent = nullptr);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);
    // A group may have no button down.
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool on);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    // Second caption, drawn at the right end of the main one.
    QString Caption2() const { return FCaption2; }
    void SetCaption2(const QString& caption);
    // The toggle state; always false while GroupIndex is 0.
    bool Down() const { return FDown; }
    void SetDown(bool down);
    // Pictures shown instead of the captions; a null pixmap is none. The button keeps its own
    // copy.
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    QPixmap DownGlyph() const { return FDownGlyph; }
    void SetDownGlyph(const QPixmap& glyph);
    // 0: push button; other values: a group of exclusive toggles among the parent's children.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int group);
    TMaxButtonStyle Style() const { return FStyle; }
    void SetStyle(TMaxButtonStyle style);
    // When set, a click runs the action instead of raising OnClick.
    QAction* Action() const { return FAction; }
    void SetAction(QAction* action) { FAction = action; }

    TMaxButtonState ButtonState() const { return FButtonState; }
    // Base colour of the gradation face: an explicit Color as it is; the platform's button
    // face lightened by a quarter per channel otherwise.
    QColor FaceBaseColor() const;

    // Tells the other buttons of the group among the parent's children about this one.
    void UpdateExclusive();
    void Click();

    QSize sizeHint() const override { return QSize(64, 16); }

signals:
    void OnDblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The group notification from a sibling whose state changed.
    void CMButtonPressed(int groupIndex, TMaxButton* sender);
    void SetButtonState(TMaxButtonState state);
    // Inside for the pointer: the row just below the button counts as inside.
    bool InsideForRelease(const QPoint& p) const;

    // The platform's push-button frame; the face inside it shows a checker while held.
    void PaintDefaultButton(QPainter& painter);
    void PaintGradationFace(QPainter& painter, bool sunken);
    void PaintGlyph(QPainter& painter);
    void PaintCaptions(QPainter& painter, bool sunken);

    TAlignment FAlignment = TAlignment::taCenter;
    bool FAllowAllUp = false;
    QString FCaption;
    QString FCaption2;
    bool FDown = false;
    QPixmap FGlyph;
    QPixmap FDownGlyph;
    int FGroupIndex = 0;
    TMaxButtonStyle FStyle = TMaxButtonStyle::mbsDefault;
    QPointer<QAction> FAction;
    bool FPressed = false;
    TMaxButtonState FButtonState = TMaxButtonState::Up;
};

} // namespace vantor
