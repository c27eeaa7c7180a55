#pragma once
// The colour arithmetic and geometry that the HSV colour picker's controls (TMaxColorCircle,
// TMaxColorBar, TMaxColorPanel) share.
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


namespace vantor {


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

// The channels of a window-form colour, and a colour from channels clamped to 0..255.
inline int RedOf(TColorValue c) {
    return static_cast<int>(c & 0xFF);
}
inline int GreenOf(TColorValue c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int BlueOf(TColorValue c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

inline int ClampChannel(int value) {
    return std::clamp(value, 0, 255);
}

inline TColorValue ColorValueFromChannels(int red, int green, int blue) {
    return static_cast<TColorValue>(ClampChannel(red)) |
           (static_cast<TColorValue>(ClampChannel(green)) << 8) |
           (static_cast<TColorValue>(ClampChannel(blue)) << 16);
}

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

} // namespace vantor
