#include "MaxColor.h"

#include "ControlStrings.h"
#include "MaxEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

int RedOf(TColorValue c) {
    return static_cast<int>(c & 0xFF);
}
int GreenOf(TColorValue c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
int BlueOf(TColorValue c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

int ClampChannel(int value) {
    return std::clamp(value, 0, 255);
}

TColorValue ColorValueFromChannels(int red, int green, int blue) {
    return static_cast<TColorValue>(ClampChannel(red)) |
           (static_cast<TColorValue>(ClampChannel(green)) << 8) |
           (static_cast<TColorValue>(ClampChannel(blue)) << 16);
}

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

// ---- TMaxColorCircle ------------------------------------------------------------------------

TMaxColorCircle::TMaxColorCircle(QWidget* parent) : TMaxControl(parent) {
    resize(127, 127);
}

void TMaxColorCircle::SetH(double h) {
    FH = std::isfinite(h) ? std::fmod(std::fabs(h), 360.0) : 0.0;
    update();
}

void TMaxColorCircle::SetS(double s) {
    FS = std::isnan(s) ? 0.0 : std::clamp(s, 0.0, 1.0);
    update();
}

void TMaxColorCircle::SetHSV(const THSVColor& hsv) {
    SetH(hsv.H);
    SetS(hsv.S);
}

THSVColor TMaxColorCircle::GetHSV() const {
    return THSVColor{FH, FS, 1.0};
}

void TMaxColorCircle::SetColor(TColorValue color) {
    SetHSV(RGBToHSV(ResolveColorValue(color, palette())));
}

TColorValue TMaxColorCircle::GetColor() const {
    return HSVToRGB(GetHSV());
}

void TMaxColorCircle::SetDWordColor(TColorValue color) {
    SetColor(SwapRedBlue(color));
}

TColorValue TMaxColorCircle::GetDWordColor() const {
    return SwapRedBlue(GetColor());
}

THSVColor TMaxColorCircle::GetHSVFromPosition(int x, int y) const {
    return CircleHSVAtPosition(x, y, GetRadius());
}

TColorValue TMaxColorCircle::GetRGBFromPosition(int x, int y) const {
    return HSVToRGB(GetHSVFromPosition(x, y));
}

void TMaxColorCircle::SetColorFromPosition(int x, int y) {
    SetHSV(GetHSVFromPosition(x, y));
    emit OnChange();
}

void TMaxColorCircle::SetCursorSize(int size) {
    FCursorSize = size;
    update();
}

int TMaxColorCircle::GetRadius() const {
    return (std::min(width(), height()) - 1) / 2;
}

void TMaxColorCircle::UpdateCircle(bool force) {
    const int r = GetRadius();
    const int n = 2 * r + 1;
    if (r <= 0 || (!force && FCircleImage.width() == n && FCircleImage.height() == n)) {
        return;
    }
    CreateCircle(r, n);
}

void TMaxColorCircle::CreateCircle(int r, int n) {
    FCircleImage = QImage(n, n, QImage::Format_RGB32);
    const QRgb background = Color().rgb();
    EnumerateDiscRows(r, [&](int y, int x1, int x2) {
        // Image row y counts upward, so that the hue runs counter-clockwise on screen.
        auto* row = reinterpret_cast<QRgb*>(FCircleImage.scanLine(n - 1 - y));
        for (int x = 0; x < n; ++x) {
            row[x] = x < x1 || x > x2 ? background : DiscPixel(x, y, r);
        }
    });
}

void TMaxColorCircle::UpdateColor() {
    UpdateCircle(true);
    update();
}

void TMaxColorCircle::changeEvent(QEvent* event) {
    // A new background (the palette's window colour, own or inherited) shows in the disc's
    // corners at once.
    if (event->type() == QEvent::PaletteChange && !FCircleImage.isNull()) {
        UpdateColor();
    }
    TMaxControl::changeEvent(event);
}

void TMaxColorCircle::paintEvent(QPaintEvent*) {
    if (GetRadius() <= 0) {
        return; // no disc
    }
    UpdateCircle(false);
    QPainter painter(this);
    painter.drawImage(0, 0, FCircleImage);
    const QPoint centre = CircleCursorCenter(FH, FS, GetRadius());
    const int c = FCursorSize;
    const int l = centre.x() - c + 1;
    const int t = centre.y() - c + 1;
    const int r = centre.x() + c;
    const int b = centre.y() + c;
    FillRectLTRB(painter, l, t, r, b, Qt::white);
    OutlineRectLTRB(painter, l, t, r, b, Qt::black);
}

void TMaxColorCircle::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = MousePoint(event);
        SetColorFromPosition(p.x(), p.y());
    }
    TMaxControl::mousePressEvent(event);
}

void TMaxColorCircle::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        const QPoint p = MousePoint(event);
        SetColorFromPosition(p.x(), p.y());
    }
    TMaxControl::mouseMoveEvent(event);
}

// ---- TMaxColorBar ---------------------------------------------------------------------------

TMaxColorBar::TMaxColorBar(QWidget* parent) : TMaxControl(parent) {
    resize(128, 20);
}

void TMaxColorBar::SetBarStyle(TMaxColorBarStyle style) {
    if (style == FBarStyle) {
        return;
    }
    FBarStyle = style;
    resize(height(), width());
    update();
}

void TMaxColorBar::SetCursorSize(int size) {
    if (size == FCursorSize) {
        return;
    }
    FCursorSize = size;
    update();
}

void TMaxColorBar::SetMinColor(TColorValue color) {
    if (color != FMinColor) {
        FMinColor = color;
        update();
    }
    emit OnChange();
}

void TMaxColorBar::SetMaxColor(TColorValue color) {
    if (color != FMaxColor) {
        FMaxColor = color;
        update();
    }
    emit OnChange();
}

void TMaxColorBar::SetPosition(double position) {
    if (position != FPosition && !std::isnan(position)) {
        FPosition = std::clamp(position, 0.0, 1.0);
        update();
    }
    emit OnChange();
}

TColorValue TMaxColorBar::GetColor() const {
    const TColorValue min = ResolveColorValue(FMinColor, palette());
    const TColorValue max = ResolveColorValue(FMaxColor, palette());
    const auto mix = [this](int from, int to) {
        return RoundHalfAway(from * (1 - FPosition) + to * FPosition);
    };
    return ColorValueFromChannels(mix(RedOf(min), RedOf(max)), mix(GreenOf(min), GreenOf(max)),
                                  mix(BlueOf(min), BlueOf(max)));
}

void TMaxColorBar::SetColorFromPosition(int x, int y) {
    SetPosition(BarPositionAt(FBarStyle, x, y, width(), height(), FCursorSize));
}

void TMaxColorBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint p = MousePoint(event);
        SetColorFromPosition(p.x(), p.y());
    }
    TMaxControl::mousePressEvent(event);
}

void TMaxColorBar::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        const QPoint p = MousePoint(event);
        SetColorFromPosition(p.x(), p.y());
    }
    TMaxControl::mouseMoveEvent(event);
}

void TMaxColorBar::paintEvent(QPaintEvent*) {
    if (height() < FCursorSize) {
        return;
    }
    QPainter painter(this);
    if (FBarStyle == mbctHorizonal) {
        PaintHorizonalBar(painter);
        PaintHorizonalCursor(painter);
    } else {
        PaintVerticalBar(painter);
        PaintVerticalCursor(painter);
    }
}

void TMaxColorBar::PaintHorizonalBar(QPainter& painter) {
    const int c = FCursorSize;
    const int n = width() - 2 * c;
    const int rows = height() - c - 1;
    if (n <= 0 || rows <= 0) {
        return;
    }
    const std::vector<TColorValue> columns = HorizontalGradient(
        ResolveColorValue(FMinColor, palette()), ResolveColorValue(FMaxColor, palette()), n);
    QImage strip(n, rows, QImage::Format_RGB32);
    auto* first = reinterpret_cast<QRgb*>(strip.scanLine(0));
    for (int x = 0; x < n; ++x) {
        first[x] = QColorOf(columns[static_cast<std::size_t>(x)]).rgb();
    }
    for (int y = 1; y < rows; ++y) {
        std::copy(first, first + n, reinterpret_cast<QRgb*>(strip.scanLine(y)));
    }
    painter.drawImage(c, 0, strip);
}

void TMaxColorBar::PaintVerticalBar(QPainter& painter) {
    const int c = FCursorSize;
    const int columns = width() - c - 1;
    const int m = height() - 2 * c;
    if (columns <= 0 || m <= 0) {
        return;
    }
    const std::vector<TColorValue> rows = VerticalGradient(
        ResolveColorValue(FMinColor, palette()), ResolveColorValue(FMaxColor, palette()), m);
    QImage strip(columns, m, QImage::Format_RGB32);
    for (int k = 0; k < m; ++k) {
        auto* line = reinterpret_cast<QRgb*>(strip.scanLine(m - 1 - k));
        std::fill(line, line + columns, QColorOf(rows[static_cast<std::size_t>(k)]).rgb());
    }
    painter.drawImage(0, c, strip);
}

namespace {

void DrawCursorTriangle(QPainter& painter, const QPolygon& triangle) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle);
}

} // namespace

void TMaxColorBar::PaintHorizonalCursor(QPainter& painter) {
    const int c = FCursorSize;
    const int W = width();
    const int H = height();
    FillRectLTRB(painter, 0, H - 1 - c, W, H, Color());
    const int x = BarCursorOffset(mbctHorizonal, FPosition, W, H, c);
    DrawCursorTriangle(
        painter, QPolygon({QPoint(x, H - 1 - c), QPoint(x - c, H - 1), QPoint(x + c, H - 1)}));
}

void TMaxColorBar::PaintVerticalCursor(QPainter& painter) {
    const int c = FCursorSize;
    const int W = width();
    const int H = height();
    FillRectLTRB(painter, W - 1 - c, 0, W, H, Color());
    const int y = BarCursorOffset(mbctVertical, FPosition, W, H, c);
    DrawCursorTriangle(
        painter, QPolygon({QPoint(W - 1 - c, y), QPoint(W - 1, y - c), QPoint(W - 1, y + c)}));
}

// ---- TMaxPaintBox ---------------------------------------------------------------------------

void TMaxPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    emit OnPaint(&painter);
}

// ---- TMaxColorPanel -------------------------------------------------------------------------

namespace {

enum TColorUnit { cuHSV = 0, cuRGB = 1 };

struct TUnitLayout {
    const char* labels[3];
    const char* hints[3];
    double max[3];
};

const TUnitLayout& UnitLayout(bool rgb) {
    static const TUnitLayout hsv = {
        {"H", "S", "V"},
        {control_strings::kHue, control_strings::kSaturation, control_strings::kBrightness},
        {359, 100, 100}};
    static const TUnitLayout rgbLayout = {
        {"R", "G", "B"},
        {control_strings::kRed, control_strings::kGreen, control_strings::kBlue},
        {255, 255, 255}};
    return rgb ? rgbLayout : hsv;
}

} // namespace

TMaxColorPanel::TMaxColorPanel(QWidget* parent) : TMaxControl(parent) {
    resize(208, 148);

    FColorCircle = new TMaxColorCircle(this);
    FColorCircle->setGeometry(0, 0, 127, 127);
    connect(FColorCircle, &TMaxColorCircle::OnChange, this, &TMaxColorPanel::FColorCircleChange);

    FPaintBoxColor = new TMaxPaintBox(this);
    FPaintBoxColor->setGeometry(136, 3, 72, 38);
    connect(FPaintBoxColor, &TMaxPaintBox::OnPaint, this, &TMaxColorPanel::FPaintBoxColorPaint);

    FComboUnit = new QComboBox(this);
    FComboUnit->setGeometry(160, 48, 49, 20);
    // 49 pixels leave the style's own padding too little room for "HSV".
    FComboUnit->setStyleSheet(QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; }"));
    FComboUnit->addItems({QStringLiteral("HSV"), QStringLiteral("RGB")});
    FComboUnit->setCurrentIndex(cuHSV);

    for (int i = 0; i < 3; ++i) {
        FEditCol[i] = new TMaxNumberEdit(this);
        FEditCol[i]->setGeometry(144, 76 + 24 * i, 64, 20);
        connect(FEditCol[i], &TMaxNumberEdit::OnChange, this, &TMaxColorPanel::FEditColChange);
        FLabelCol[i] = new QLabel(this);
        FLabelCol[i]->setGeometry(128, 79 + 24 * i, 12, 12);
        FLabelCol[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    FBarV = new TMaxColorBar(this);
    FBarV->setGeometry(0, 132, 127, 16);
    FBarV->setToolTip(QString::fromUtf8(control_strings::kBrightness));
    connect(FBarV, &TMaxColorBar::OnChange, this, &TMaxColorPanel::FBarVChange);

    // Connected last, so that filling the selector does not switch units on a half-built panel.
    connect(FComboUnit, &QComboBox::currentIndexChanged, this, &TMaxColorPanel::FComboUnitChange);
    UpdateUnit();
}

TMaxColorPanel::~TMaxColorPanel() = default;

bool TMaxColorPanel::InRGBUnit() const {
    return FComboUnit->currentIndex() == cuRGB;
}

TColorValue TMaxColorPanel::GetColor() const {
    return HSVToRGB(THSVColor{FColorCircle->H(), FColorCircle->S(), FBarV->Position()});
}

void TMaxColorPanel::SetColor(TColorValue color) {
    const THSVColor hsv = RGBToHSV(ResolveColorValue(color, palette()));
    FColorCircle->SetHSV(hsv);
    FBarV->SetPosition(hsv.V);
    FBarV->SetMaxColor(FColorCircle->GetColor());
    UpdateColor();
}

TColorValue TMaxColorPanel::GetDWordColor() const {
    return SwapRedBlue(GetColor());
}

void TMaxColorPanel::SetDWordColor(TColorValue color) {
    SetColor(SwapRedBlue(color));
}

THSVColor TMaxColorPanel::GetHSV() const {
    return FColorCircle->GetHSV();
}

void TMaxColorPanel::SetHSV(const THSVColor& hsv) {
    FColorCircle->SetHSV(hsv);
    FBarV->SetMaxColor(FColorCircle->GetColor());
}

void TMaxColorPanel::SetColorFromPosition(int x, int y) {
    FColorCircle->SetColorFromPosition(x, y);
    FBarV->SetMaxColor(FColorCircle->GetColor());
}

TColorValue TMaxColorPanel::GetRGBFromPosition(int x, int y) const {
    return FColorCircle->GetRGBFromPosition(x, y);
}

THSVColor TMaxColorPanel::GetHSVFromPosition(int x, int y) const {
    return FColorCircle->GetHSVFromPosition(x, y);
}

void TMaxColorPanel::UpdateColor() {
    {
        // The edits show the colour; their notifications would feed it back.
        const QSignalBlocker detach0(FEditCol[0]);
        const QSignalBlocker detach1(FEditCol[1]);
        const QSignalBlocker detach2(FEditCol[2]);
        if (InRGBUnit()) {
            const TColorValue c = GetColor();
            FEditCol[0]->FSetPosition(RedOf(c));
            FEditCol[1]->FSetPosition(GreenOf(c));
            FEditCol[2]->FSetPosition(BlueOf(c));
        } else {
            FEditCol[0]->FSetPosition(FColorCircle->H());
            FEditCol[1]->FSetPosition(FColorCircle->S() * 100);
            FEditCol[2]->FSetPosition(FBarV->Position() * 100);
        }
    }
    for (TMaxNumberEdit* edit : FEditCol) {
        edit->Edit()->update();
    }
    FPaintBoxColor->update();
    emit OnChange();
}

void TMaxColorPanel::UpdateUnit() {
    {
        const QSignalBlocker detach0(FEditCol[0]);
        const QSignalBlocker detach1(FEditCol[1]);
        const QSignalBlocker detach2(FEditCol[2]);
        const TUnitLayout& layout = UnitLayout(InRGBUnit());
        FEditCol[2]->SetMin(0);
        for (int i = 0; i < 3; ++i) {
            FLabelCol[i]->setText(QString::fromLatin1(layout.labels[i]));
            FEditCol[i]->SetMax(layout.max[i]);
            FEditCol[i]->SetIncrement(1);
            FEditCol[i]->SetPrintFormat(QStringLiteral("%.0f"));
            FEditCol[i]->setToolTip(QString::fromUtf8(layout.hints[i]));
        }
    }
    UpdateColor();
}

void TMaxColorPanel::FColorCircleChange() {
    FBarV->SetMaxColor(FColorCircle->GetColor());
    UpdateColor();
}

void TMaxColorPanel::FBarVChange() {
    UpdateColor();
}

void TMaxColorPanel::FComboUnitChange() {
    UpdateUnit();
}

void TMaxColorPanel::FEditColChange() {
    THSVColor hsv;
    if (InRGBUnit()) {
        const auto channel = [this](int i) { return static_cast<int>(FEditCol[i]->GetPosition()); };
        hsv = RGBToHSV(ColorValueFromChannels(channel(0), channel(1), channel(2)));
    } else {
        hsv = THSVColor{FEditCol[0]->GetPosition(), FEditCol[1]->GetPosition() * 0.01,
                        FEditCol[2]->GetPosition() * 0.01};
    }
    {
        const QSignalBlocker detach(FColorCircle);
        FColorCircle->SetHSV(hsv);
    }
    {
        const QSignalBlocker detach(FBarV);
        FBarV->SetPosition(hsv.V);
    }
    // The bar's notification refreshes the edits and the swatch.
    FBarV->SetMaxColor(FColorCircle->GetColor());
    FPaintBoxColor->update();
    emit OnChange();
}

void TMaxColorPanel::FPaintBoxColorPaint(QPainter* canvas) {
    canvas->fillRect(FPaintBoxColor->rect(), QColorOf(GetColor()));
}

} // namespace vantor
