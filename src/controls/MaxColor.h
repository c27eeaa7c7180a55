#pragma once
// The HSV colour picker: TMaxColorCircle, a disc of every hue (angle) and saturation (distance
// from the centre) at full value; TMaxColorBar, a gradient strip between two colours with a
// triangular cursor; and TMaxColorPanel, which combines a circle, a value bar, a swatch, a
// unit selector (HSV or RGB) and three number edits and keeps them consistent.
//
// Colour values are in the window form 0x00BBGGRR (red in the low byte); the DWord form
// 0x00RRGGBB swaps the low and the third byte. A value with the top bit set names a platform
// colour and is resolved through the palette before any arithmetic.

#include "MaxControl.h"

#include <QImage>
#include <QPoint>
#include <QtGlobal>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;

namespace vantor {

class TMaxNumberEdit;

using TColorValue = quint32;

// ---- Colour arithmetic: pure functions the three controls share ----------------------------

// Hue in degrees (0 <= H < 360), saturation and value 0..1. A fresh record is all zeros.
struct THSVColor {
    double H = 0.0;
    double S = 0.0;
    double V = 0.0;
};

// RGB to HSV: channels scaled by 1/255 (held in extended precision), V the largest, S the
// spread over the largest, H from the channel that is largest. Grey gives H = 0.
THSVColor RGBToHSV(TColorValue color);

// HSV to RGB through the six hue sectors, each channel rounded halves away from zero. A hue
// of 360 is treated like 0; a hue outside 0..360 gives black.
TColorValue HSVToRGB(const THSVColor& hsv);

// Swaps the low and the third byte: window form <-> DWord form.
TColorValue SwapRedBlue(TColorValue color);

TColorValue ColorValueOf(const QColor& color);
QColor QColorOf(TColorValue color);

// A plain colour value as it is; one that names a platform colour (top bit set, index in the
// low byte) as the palette's colour for that role.
TColorValue ResolveColorValue(TColorValue color, const QPalette& palette);

// x rounded to the nearest integer, halves away from zero.
int RoundHalfAway(double x);

// ---- Circle geometry -------------------------------------------------------------------------

// The rows of a filled disc with centre (r, r) and radius r, by an integer midpoint scheme:
// calls fill(y, x1, x2) exactly once for every row y = 0 .. 2r.
void EnumerateDiscRows(int r, const std::function<void(int y, int x1, int x2)>& fill);

// Colour of the disc image at (x, y), with y counted upward from the image's bottom row (the
// image is drawn upside down, so that hue runs counter-clockwise on screen). Single precision,
// channels truncated: red at the east, white at the centre.
QRgb DiscPixel(int x, int y, int r);

// Hue and saturation under the pointer at (x, y) (screen y grows downward) on a circle of
// radius r; V = 1. Outside the disc the saturation is 1 at the pointer's angle.
THSVColor CircleHSVAtPosition(int x, int y, int r);

// Centre of the circle's cursor square for a hue and saturation.
QPoint CircleCursorCenter(double h, double s, int r);

// ---- Bar geometry and gradient ----------------------------------------------------------------

enum TMaxColorBarStyle { mbctHorizonal, mbctVertical };

// The bar position under the pointer, the exact inverse of the cursor placement, clamped to
// 0..1 (0 for a bar too small to have a range). A vertical bar has position 1 at the top.
double BarPositionAt(TMaxColorBarStyle style, int x, int y, int width, int height, int cursorSize);

// Where the cursor points for a position: the x of its tip in a horizontal bar, the y in a
// vertical one.
int BarCursorOffset(TMaxColorBarStyle style, double position, int width, int height,
                    int cursorSize);

// The columns of a horizontal gradient of n pixels, left to right: every channel is stepped
// before each of columns 0 to n - 2 is written (so column 0 is already one step on), and the
// last column is exactly `to`.
std::vector<TColorValue> HorizontalGradient(TColorValue from, TColorValue to, int n);

// The rows of a vertical gradient of m pixels, bottom to top: the bottom row is exactly
// `from`, each further row one step on, and the top row exactly `to`.
std::vector<TColorValue> VerticalGradient(TColorValue from, TColorValue to, int m);

// ---- TMaxColorCircle -------------------------------------------------------------------------

class TMaxColorCircle : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorCircle(QWidget* parent = nullptr);

    double H() const { return FH; }
    // The remainder of |x| divided by 360 (-30 gives 30).
    void SetH(double h);
    double S() const { return FS; }
    // Clamped to 0..1.
    void SetS(double s);
    // Takes H and S as SetH and SetS do; V is ignored. Raises no OnChange.
    void SetHSV(const THSVColor& hsv);
    // {H, S, 1}: the circle always stands for full value.
    THSVColor GetHSV() const;

    // The picked colour as a colour value (V dropped on set, 1 on get). The background is the
    // palette's window colour, inherited from the parent until TMaxControl::SetColor sets it.
    void SetColor(TColorValue color);
    TColorValue GetColor() const;
    void SetDWordColor(TColorValue color);
    TColorValue GetDWordColor() const;

    THSVColor GetHSVFromPosition(int x, int y) const;
    TColorValue GetRGBFromPosition(int x, int y) const;
    // Picks the colour under (x, y) and raises OnChange.
    void SetColorFromPosition(int x, int y);

    // The cursor square is 2 * CursorSize - 1 pixels wide.
    int CursorSize() const { return FCursorSize; }
    void SetCursorSize(int size);
    // (min(width, height) - 1) / 2.
    int GetRadius() const;

    // Rebuilds the disc image when its size no longer fits the control (always when forced).
    void UpdateCircle(bool force);
    // Rebuilds the disc image for a new background and repaints.
    void UpdateColor();
    // The cached disc image, 2r + 1 pixels square once built.
    const QImage& CircleImage() const { return FCircleImage; }

    QSize sizeHint() const override { return QSize(127, 127); }

signals:
    // The pointer picked a colour.
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateCircle(int r, int n);

    double FH = 0.0;
    double FS = 0.0;
    int FCursorSize = 3;
    QImage FCircleImage;
};

// ---- TMaxColorBar ----------------------------------------------------------------------------

class TMaxColorBar : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorBar(QWidget* parent = nullptr);

    TMaxColorBarStyle BarStyle() const { return FBarStyle; }
    // A new style also swaps width and height.
    void SetBarStyle(TMaxColorBarStyle style);
    // Size of the triangular cursor; also the margin at the bar's ends.
    int CursorSize() const { return FCursorSize; }
    void SetCursorSize(int size);
    TColorValue MinColor() const { return FMinColor; }
    // Stores a different colour and repaints; raises OnChange in every case.
    void SetMinColor(TColorValue color);
    TColorValue MaxColor() const { return FMaxColor; }
    void SetMaxColor(TColorValue color);
    double Position() const { return FPosition; }
    // Stores a different position, clamped to 0..1, and repaints; raises OnChange in every
    // case, even when nothing changed (the panel refreshes on every bar notification).
    void SetPosition(double position);
    // The colour at Position: per channel round(min * (1 - p) + max * p).
    TColorValue GetColor() const;
    // Moves the cursor under the pointer.
    void SetColorFromPosition(int x, int y);

    QSize sizeHint() const override { return QSize(128, 20); }

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void PaintHorizonalBar(QPainter& painter);
    void PaintVerticalBar(QPainter& painter);
    void PaintHorizonalCursor(QPainter& painter);
    void PaintVerticalCursor(QPainter& painter);

    TMaxColorBarStyle FBarStyle = mbctHorizonal;
    int FCursorSize = 5;
    TColorValue FMinColor = 0x000000;
    TColorValue FMaxColor = 0xFFFFFF;
    double FPosition = 0.0;
};

// ---- TMaxPaintBox ----------------------------------------------------------------------------

// A plain drawing surface: its owner draws it in OnPaint.
class TMaxPaintBox : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxPaintBox(QWidget* parent = nullptr) : TMaxControl(parent) {}

signals:
    void OnPaint(QPainter* canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// ---- TMaxColorPanel --------------------------------------------------------------------------

class TMaxColorPanel : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorPanel(QWidget* parent = nullptr);
    ~TMaxColorPanel() override;

    // The colour of circle hue and saturation at bar value.
    TColorValue GetColor() const;
    // Takes a colour through its HSV form: the circle's hue and saturation, the bar's position
    // and the bar's end colour. OnChange follows three times (once per bar notification and
    // once at the end).
    void SetColor(TColorValue color);
    TColorValue GetDWordColor() const;
    void SetDWordColor(TColorValue color);
    // The circle's {H, S, 1}; the bar is not consulted.
    THSVColor GetHSV() const;
    // The circle takes H and S; the bar keeps its position.
    void SetHSV(const THSVColor& hsv);

    void SetColorFromPosition(int x, int y);
    TColorValue GetRGBFromPosition(int x, int y) const;
    THSVColor GetHSVFromPosition(int x, int y) const;

    // Shows the colour in the three edits (in the current unit) and the swatch, then raises
    // OnChange.
    void UpdateColor();
    // Sets labels, limits, formats and hints of the three edits for the unit chosen in the
    // selector, then UpdateColor().
    void UpdateUnit();

    // The children, for the colour dialog's layout checks and for tests.
    TMaxColorCircle* ColorCircle() const { return FColorCircle; }
    TMaxColorBar* BarV() const { return FBarV; }
    TMaxPaintBox* PaintBoxColor() const { return FPaintBoxColor; }
    QComboBox* ComboUnit() const { return FComboUnit; }
    // i = 0, 1, 2.
    TMaxNumberEdit* EditCol(int i) const { return FEditCol[i]; }
    QLabel* LabelCol(int i) const { return FLabelCol[i]; }

    QSize sizeHint() const override { return QSize(208, 148); }

signals:
    void OnChange();

private:
    bool InRGBUnit() const;

    void FColorCircleChange();
    void FBarVChange();
    void FComboUnitChange();
    void FEditColChange();
    void FPaintBoxColorPaint(QPainter* canvas);

    TMaxColorCircle* FColorCircle = nullptr;
    TMaxPaintBox* FPaintBoxColor = nullptr;
    QComboBox* FComboUnit = nullptr;
    TMaxNumberEdit* FEditCol[3] = {};
    QLabel* FLabelCol[3] = {};
    TMaxColorBar* FBarV = nullptr;
};

} // namespace vantor
