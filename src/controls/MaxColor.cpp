#include "MaxColor.h"

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

// ---- Colour arithmetic ----------------------------------------------------------------------

int RoundHalfAway(double x) {
    return static_cast<int>(x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5));
}

THSVColor RGBToHSV(TColorValue color) {
    // The scale factor in extended precision, each channel then stored as a double: the hue
    // and saturation of a colour come out the same wherever it is converted.
    const long double k = 1.0L / 255.0L;
    const double r = static_cast<double>(RedOf(color) * k);
    const double g = static_cast<double>(GreenOf(color) * k);
    const double b = static_cast<double>(BlueOf(color) * k);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    THSVColor hsv;
    hsv.V = max;
    hsv.S = max == 0 ? 0.0 : (max - min) / max;
    const double spread = max - min;
    if (spread == 0) {
        hsv.H = 0.0;
        return hsv;
    }
    double h;
    if (r == max) {
        h = (g - b) / spread;
    } else if (g == max) {
        h = (b - r) / spread + 2;
    } else {
        h = (r - g) / spread + 4;
    }
    h *= 60;
    if (h < 0) {
        h += 360;
    }
    hsv.H = h;
    return hsv;
}

TColorValue HSVToRGB(const THSVColor& hsv) {
    const long double x = hsv.H * (1.0L / 60.0L);
    if (!std::isfinite(static_cast<double>(x))) {
        return 0;
    }
    const long double whole = std::trunc(x);
    const long double f = x - whole;
    const long double v = hsv.V * 255.0L;
    const long double p = (1 - hsv.S) * v;
    const long double q = (1 - hsv.S * f) * v;
    const long double t = (1 - (1 - f) * hsv.S) * v;
    const int V = RoundHalfAway(static_cast<double>(v));
    const int P = RoundHalfAway(static_cast<double>(p));
    const int Q = RoundHalfAway(static_cast<double>(q));
    const int T = RoundHalfAway(static_cast<double>(t));
    switch (static_cast<int>(whole)) {
    case 0:
    case 6:
        return ColorValueFromChannels(V, T, P);
    case 1:
        return ColorValueFromChannels(Q, V, P);
    case 2:
        return ColorValueFromChannels(P, V, T);
    case 3:
        return ColorValueFromChannels(P, Q, V);
    case 4:
        return ColorValueFromChannels(T, P, V);
    case 5:
        return ColorValueFromChannels(V, P, Q);
    default:
        return 0;
    }
}

TColorValue SwapRedBlue(TColorValue color) {
    return (color & 0xFF00FF00u) | ((color & 0xFF) << 16) | ((color >> 16) & 0xFF);
}

TColorValue ColorValueOf(const QColor& color) {
    return ColorValueFromChannels(color.red(), color.green(), color.blue());
}

QColor QColorOf(TColorValue color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColorValue ResolveColorValue(TColorValue color, const QPalette& palette) {
    if ((color & 0x80000000u) == 0) {
        return color & 0x00FFFFFFu;
    }
    // The platform's colour indexes, as colour values name them, on the palette's roles.
    const auto role = [&](QPalette::ColorGroup group, QPalette::ColorRole r) {
        return ColorValueOf(palette.color(group, r));
    };
    switch (color & 0xFF) {
    case 2:  // active caption
    case 13: // highlight
        return role(QPalette::Active, QPalette::Highlight);
    case 5: // window
        return role(QPalette::Active, QPalette::Base);
    case 7:  // menu text
    case 8:  // window text
    case 18: // button text
        return role(QPalette::Active, QPalette::WindowText);
    case 9:  // caption text
    case 14: // highlighted text
        return role(QPalette::Active, QPalette::HighlightedText);
    case 16: // button shadow
        return role(QPalette::Active, QPalette::Dark);
    case 17: // grey text
        return role(QPalette::Disabled, QPalette::WindowText);
    case 20: // button highlight
        return role(QPalette::Active, QPalette::Light);
    case 21: // dark 3D shadow
        return role(QPalette::Active, QPalette::Shadow);
    case 22: // 3D light
        return role(QPalette::Active, QPalette::Midlight);
    case 23: // tooltip text
        return role(QPalette::Active, QPalette::ToolTipText);
    case 24: // tooltip background
        return role(QPalette::Active, QPalette::ToolTipBase);
    default: // button face and the rest of the window furniture
        return role(QPalette::Active, QPalette::Button);
    }
}

// ---- Circle geometry ------------------------------------------------------------------------

void EnumerateDiscRows(int r, const std::function<void(int y, int x1, int x2)>& fill) {
    if (r <= 0) {
        return;
    }
    // First pass: the rows near the middle, where the disc is wide.
    int y = 0;
    int x = r;
    int d = r;
    while (y <= x) {
        fill(r - y, r - x, r + x);
        if (y != 0) {
            fill(r + y, r - x, r + x);
        }
        d -= 2 * y - 1;
        if (d < 0) {
            d += 2 * (x - 1);
            --x;
        }
        ++y;
    }
    // Second pass: the rows near the top and the bottom, one per step down in y.
    x = 0;
    y = r;
    d = r;
    while (x < y) {
        d -= 2 * x - 1;
        if (d < 0) {
            fill(r - y, r - x, r + x);
            fill(r + y, r - x, r + x);
            d += 2 * (y - 1);
            --y;
        }
        ++x;
    }
}

QRgb DiscPixel(int x, int y, int r) {
    constexpr float pi = static_cast<float>(kPi);
    const float dx = static_cast<float>(x - r);
    const float dy = static_cast<float>(y - r);
    float a;
    if (dx > 0) {
        a = std::atan(dy / dx);
        if (a < 0) {
            a += 2 * pi;
        }
    } else if (dx < 0) {
        a = std::atan(dy / dx) + pi;
    } else {
        a = dy > 0 ? pi / 2 : 3 * pi / 2;
    }
    const float s = std::min(1.0f, std::sqrt(dx * dx + dy * dy) / static_cast<float>(r));
    const float h6 = a * (1.0f / (2 * pi)) * 6;
    const int i = static_cast<int>(h6);
    const float f = h6 - static_cast<float>(i);
    const int P = static_cast<int>((1 - s) * 255);
    const int Q = static_cast<int>((1 - s * f) * 255);
    const int T = static_cast<int>((1 - (1 - f) * s) * 255);
    switch (i % 6) {
    case 0:
        return qRgb(255, T, P);
    case 1:
        return qRgb(Q, 255, P);
    case 2:
        return qRgb(P, 255, T);
    case 3:
        return qRgb(P, Q, 255);
    case 4:
        return qRgb(T, P, 255);
    default:
        return qRgb(255, P, Q);
    }
}

THSVColor CircleHSVAtPosition(int x, int y, int r) {
    const double dx = x - r;
    const double dy = y - r;
    double a;
    if (dx > 0) {
        a = -std::atan(dy / dx);
        if (a < 0) {
            a += 2 * kPi;
        }
    } else if (dx < 0) {
        a = kPi - std::atan(dy / dx);
    } else {
        a = dy < 0 ? kPi / 2 : 3 * kPi / 2;
    }
    THSVColor hsv;
    // + 0.0 turns the -0 of a point due east into 0, which a number edit would show as "-0".
    hsv.H = a * (1 / kPi) * 180 + 0.0;
    hsv.S = r > 0 ? std::min(1.0, std::sqrt(dx * dx + dy * dy) / r) : 0.0;
    hsv.V = 1.0;
    return hsv;
}

QPoint CircleCursorCenter(double h, double s, int r) {
    const double angle = h * (1.0 / 180) * kPi;
    return QPoint(r + RoundHalfAway(std::cos(angle) * r * s),
                  r - RoundHalfAway(std::sin(angle) * r * s));
}

// ---- Bar geometry and gradient --------------------------------------------------------------

double BarPositionAt(TMaxColorBarStyle style, int x, int y, int width, int height, int cursorSize) {
    const int c = cursorSize;
    const int range = (style == mbctHorizonal ? width : height) - 1 - 2 * c;
    if (range <= 0) {
        return 0.0;
    }
    const int offset = style == mbctHorizonal ? x - c : height - 1 - c - y;
    return std::clamp(static_cast<double>(offset) / range, 0.0, 1.0);
}

int BarCursorOffset(TMaxColorBarStyle style, double position, int width, int height,
                    int cursorSize) {
    const int c = cursorSize;
    if (style == mbctHorizonal) {
        return c + RoundHalfAway((width - 1 - 2 * c) * position);
    }
    return height - 1 - c - RoundHalfAway((height - 1 - 2 * c) * position);
}

namespace {

// Steps one channel from start towards end over a length: an accumulator starts at half the
// distance, each step adds the distance, and every time it exceeds the length the channel
// moves one unit toward the end. Integer only, so a long bar shows even bands.
class TChannelStepper {
public:
    TChannelStepper(int start, int end, int length)
        : FValue(start), FEnd(end), FDistance(std::abs(end - start)), FLength(length),
          FAccumulator(std::abs(end - start) / 2), FDirection(end >= start ? 1 : -1) {}

    void Step() {
        FAccumulator += FDistance;
        while (FAccumulator > FLength && FValue != FEnd) {
            FAccumulator -= FLength;
            FValue += FDirection;
        }
    }

    int Value() const { return FValue; }

private:
    int FValue;
    int FEnd;
    int FDistance;
    int FLength;
    int FAccumulator;
    int FDirection;
};

class TColorStepper {
public:
    TColorStepper(TColorValue from, TColorValue to, int length)
        : FRed(RedOf(from), RedOf(to), length), FGreen(GreenOf(from), GreenOf(to), length),
          FBlue(BlueOf(from), BlueOf(to), length) {}

    void Step() {
        FRed.Step();
        FGreen.Step();
        FBlue.Step();
    }

    TColorValue Value() const {
        return ColorValueFromChannels(FRed.Value(), FGreen.Value(), FBlue.Value());
    }

private:
    TChannelStepper FRed;
    TChannelStepper FGreen;
    TChannelStepper FBlue;
};

} // namespace

std::vector<TColorValue> HorizontalGradient(TColorValue from, TColorValue to, int n) {
    std::vector<TColorValue> columns;
    if (n <= 0) {
        return columns;
    }
    columns.reserve(static_cast<std::size_t>(n));
    TColorStepper stepper(from, to, n);
    for (int i = 0; i < n - 1; ++i) {
        stepper.Step();
        columns.push_back(stepper.Value());
    }
    columns.push_back(to);
    return columns;
}

std::vector<TColorValue> VerticalGradient(TColorValue from, TColorValue to, int m) {
    std::vector<TColorValue> rows;
    if (m <= 0) {
        return rows;
    }
    rows.reserve(static_cast<std::size_t>(m));
    TColorStepper stepper(from, to, m);
    for (int i = 0; i < m - 1; ++i) {
        rows.push_back(stepper.Value());
        stepper.Step();
    }
    rows.push_back(to);
    return rows;
}

} // namespace vantor
