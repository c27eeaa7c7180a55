#include "MaxColorBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace vantor {

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

} // namespace vantor
