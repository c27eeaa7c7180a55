#include "MaxControl.h"

#include <QApplication>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace vantor {

Qt::Alignment HorizontalAlignment(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return Qt::AlignLeft;
    case TAlignment::taRightJustify:
        return Qt::AlignRight;
    case TAlignment::taCenter:
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

QColor SysColor(const QPalette& palette, TSysColor color) {
    switch (color) {
    case TSysColor::BtnFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case TSysColor::BtnShadow:
        return palette.color(QPalette::Active, QPalette::Dark);
    case TSysColor::BtnHighlight:
        return palette.color(QPalette::Active, QPalette::Light);
    case TSysColor::DkShadow3D:
        return palette.color(QPalette::Active, QPalette::Shadow);
    case TSysColor::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case TSysColor::GrayText:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case TSysColor::ActiveCaption:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case TSysColor::CaptionText:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    return {};
}

int FontCharHeight(const QFont& font) {
    return QFontInfo(font).pixelSize();
}

void FillRectLTRB(QPainter& painter, int l, int t, int r, int b, const QColor& color) {
    if (r > l && b > t) {
        painter.fillRect(RectLTRB(l, t, r, b), color);
    }
}

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color) {
    Q_ASSERT(x1 == x2 || y1 == y2);
    if (y1 == y2) {
        // Leaving out the end point: [x1, x2) going right, (x2, x1] going left.
        const int from = x2 >= x1 ? x1 : x2 + 1;
        const int to = x2 >= x1 ? x2 : x1 + 1;
        FillRectLTRB(painter, from, y1, to, y1 + 1, color);
    } else {
        const int from = y2 >= y1 ? y1 : y2 + 1;
        const int to = y2 >= y1 ? y2 : y1 + 1;
        FillRectLTRB(painter, x1, from, x1 + 1, to, color);
    }
}

void OutlineRectLTRB(QPainter& painter, int l, int t, int r, int b, const QColor& color) {
    if (r <= l || b <= t) {
        return;
    }
    FillRectLTRB(painter, l, t, r, t + 1, color);
    FillRectLTRB(painter, l, b - 1, r, b, color);
    FillRectLTRB(painter, l, t, l + 1, b, color);
    FillRectLTRB(painter, r - 1, t, r, b, color);
}

void DrawEngravedText(QPainter& painter, const QPalette& palette, const QRect& rect, int flags,
                      const QString& text) {
    painter.setPen(SysColor(palette, TSysColor::BtnHighlight));
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(SysColor(palette, TSysColor::BtnShadow));
    painter.drawText(rect, flags, text);
}

void TScreenCursorOverride::Begin(Qt::CursorShape shape) {
    if (FActive) {
        QApplication::changeOverrideCursor(QCursor(shape));
        return;
    }
    QApplication::setOverrideCursor(QCursor(shape));
    FActive = true;
}

void TScreenCursorOverride::End() {
    if (FActive) {
        QApplication::restoreOverrideCursor();
        FActive = false;
    }
}

QPoint MousePoint(const QMouseEvent* event) {
    const QPointF p = event->position();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

TMaxControl::TMaxControl(QWidget* parent) : QWidget(parent) {
    // The designs raise OnMouseMove for every pointer move, not only while a button is held.
    setMouseTracking(true);
}

QColor TMaxControl::Color() const {
    return palette().color(QPalette::Active, QPalette::Window);
}

void TMaxControl::SetColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    FColorExplicit = true;
    update();
}

void TMaxControl::RaiseMouseDown(const QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TMaxControl::RaiseMouseMove(const QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    emit OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TMaxControl::RaiseMouseUp(const QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TMaxControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FClickArmed = isEnabled();
    }
    RaiseMouseDown(event);
}

void TMaxControl::mouseMoveEvent(QMouseEvent* event) {
    RaiseMouseMove(event);
}

void TMaxControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const bool click = FClickArmed && rect().contains(MousePoint(event));
        FClickArmed = false;
        if (click) {
            emit OnClick();
        }
    }
    RaiseMouseUp(event);
}

bool TMaxControl::event(QEvent* event) {
    if (!isEnabled() && FMouseEventsWhileDisabled) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            mousePressEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonDblClick:
            mouseDoubleClickEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            mouseMoveEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            mouseReleaseEvent(static_cast<QMouseEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::event(event);
}

} // namespace vantor
