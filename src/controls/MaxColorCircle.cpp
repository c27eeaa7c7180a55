#include "MaxColorCircle.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vantor {

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

} // namespace vantor
