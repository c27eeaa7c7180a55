#include "MaxGroup.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRegion>
#include <algorithm>
#include <climits>
#include <vector>

namespace vantor {

namespace {

// The child controls of a container, in creation order; windows of their own are not.
std::vector<QWidget*> ChildControls(const QWidget* panel) {
    std::vector<QWidget*> controls;
    for (QObject* object : panel->children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget != nullptr && !widget->isWindow()) {
            controls.push_back(widget);
        }
    }
    return controls;
}

// The title press zone of a group box, whatever its font.
constexpr int kTitlePressHeight = 12;
// Free space that scrolling keeps above the topmost and below the lowest child.
constexpr int kScrollMargin = 8;

} // namespace

// ---- TMaxCustomPanel ------------------------------------------------------------------------

void Frame3D(QPainter& painter, QRect& rect, const QColor& top, const QColor& bottom, int width) {
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        const int l = rect.x();
        const int t = rect.y();
        const int r = rect.x() + rect.width() - 1;
        const int b = rect.y() + rect.height() - 1;
        FillRectLTRB(painter, l, t, r, t + 1, top);
        FillRectLTRB(painter, l, t, l + 1, b + 1, top);
        FillRectLTRB(painter, r, t, r + 1, b + 1, bottom);
        FillRectLTRB(painter, l, b, r + 1, b + 1, bottom);
        rect.adjust(1, 1, -1, -1);
    }
}

TMaxCustomPanel::TMaxCustomPanel(QWidget* parent) : TMaxControl(parent) {
    resize(185, 41);
}

void TMaxCustomPanel::SetAlignment(TAlignment alignment) {
    FAlignment = alignment;
    update();
}

void TMaxCustomPanel::SetBevelInner(TPanelBevel bevel) {
    FBevelInner = bevel;
    update();
}

void TMaxCustomPanel::SetBevelOuter(TPanelBevel bevel) {
    FBevelOuter = bevel;
    update();
}

void TMaxCustomPanel::SetBevelWidth(int width) {
    FBevelWidth = std::max(1, width);
    update();
}

void TMaxCustomPanel::SetBorderWidth(int width) {
    FBorderWidth = std::max(0, width);
    update();
}

void TMaxCustomPanel::SetBorderStyle(TBorderStyle style) {
    FBorderStyle = style;
    update();
}

void TMaxCustomPanel::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

void TMaxCustomPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void TMaxCustomPanel::Paint(QPainter& painter) {
    const QPalette& pal = palette();
    const QColor shadow = SysColor(pal, TSysColor::BtnShadow);
    const QColor highlight = SysColor(pal, TSysColor::BtnHighlight);
    const QColor color = Color();
    const auto bevel = [&](QRect& rect, TPanelBevel kind) {
        switch (kind) {
        case TPanelBevel::bvNone:
            break;
        case TPanelBevel::bvLowered:
            Frame3D(painter, rect, shadow, highlight, FBevelWidth);
            break;
        case TPanelBevel::bvRaised:
            Frame3D(painter, rect, highlight, shadow, FBevelWidth);
            break;
        case TPanelBevel::bvSpace:
            Frame3D(painter, rect, color, color, FBevelWidth);
            break;
        }
    };

    QRect rect = this->rect();
    if (FBorderStyle == TBorderStyle::bsSingle) {
        const QColor line = SysColor(pal, TSysColor::WindowText);
        Frame3D(painter, rect, line, line, 1);
    }
    bevel(rect, FBevelOuter);
    Frame3D(painter, rect, color, color, FBorderWidth);
    bevel(rect, FBevelInner);
    painter.fillRect(rect, color);
    if (!FCaption.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(rect,
                         Qt::TextSingleLine | Qt::AlignVCenter | HorizontalAlignment(FAlignment),
                         FCaption);
    }
}

// ---- TMaxGroupBox ---------------------------------------------------------------------------

TMaxGroupBox::TMaxGroupBox(QWidget* parent) : TMaxControl(parent) {
    setAutoFillBackground(true);
    resize(185, 105);
    FMaxHeight = height();
}

int TMaxGroupBox::TitleHeight() const {
    return FontCharHeight(font());
}

void TMaxGroupBox::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

void TMaxGroupBox::SetStyle(TMaxGroupBoxStyle style) {
    if (style != FStyle) {
        FStyle = style;
        UpdateHitMask();
        update();
    }
}

void TMaxGroupBox::ResizeHeight(int newHeight) {
    const bool eventsDeferred = !isVisible();
    resize(width(), newHeight);
    if (eventsDeferred) {
        SizeChanged();
    }
}

void TMaxGroupBox::SetMinimized(bool minimized) {
    if (minimized == FMinimized) {
        return;
    }
    if (minimized) {
        FMaxHeight = height();
        FMinimized = true;
        ResizeHeight(TitleHeight() + 2);
    } else {
        FMinimized = false;
        ResizeHeight(FMaxHeight);
    }
}

void TMaxGroupBox::SetEnableMinimized(bool on) {
    if (on == FEnableMinimized) {
        return;
    }
    FEnableMinimized = on;
    if (!on && FMinimized) {
        SetMinimized(false);
    }
}

void TMaxGroupBox::SetMaxHeight(int newHeight) {
    FMaxHeight = newHeight;
    if (!FMinimized) {
        ResizeHeight(newHeight);
    }
}

void TMaxGroupBox::SetChildPanel(QWidget* panel) {
    if (panel == nullptr || panel->parentWidget() != this) {
        return;
    }
    FChildPanel = panel;
    UpdateChildPanel();
}

void TMaxGroupBox::SetNextGroup(QWidget* next) {
    if (next != nullptr) {
        if (next->parentWidget() != parentWidget()) {
            return;
        }
        // Following the chain from the new link must not come back to this box: a loop
        // would move its boxes after one another for ever.
        QWidget* link = next;
        while (link != nullptr) {
            if (link == this) {
                return;
            }
            auto* box = qobject_cast<TMaxGroupBox*>(link);
            link = box != nullptr ? box->NextGroup() : nullptr;
        }
    }
    FNextGroup = next;
    UpdateNextGroup();
}

void TMaxGroupBox::SetNextOffset(int offset) {
    FNextOffset = offset;
    UpdateNextGroup();
}

void TMaxGroupBox::UpdateChildPanel() {
    if (FChildPanel == nullptr) {
        return;
    }
    const int h = TitleHeight();
    FChildPanel->setGeometry(2, h, width() - 4, MaxHeight() - h - 2);
    FChildPanel->setVisible(!FMinimized);
}

void TMaxGroupBox::UpdateNextGroup() {
    if (FNextGroup == nullptr) {
        return;
    }
    QWidget* next = FNextGroup;
    const bool eventsDeferred = !next->isVisible();
    next->move(next->x(), y() + height() + FNextOffset);
    if (eventsDeferred) {
        if (auto* box = qobject_cast<TMaxGroupBox*>(next)) {
            box->UpdateNextGroup();
        }
    }
}

void TMaxGroupBox::SizeChanged() {
    if (!FMinimized) {
        FMaxHeight = height();
    }
    UpdateChildPanel();
    UpdateNextGroup();
    UpdateHitMask();
    update();
}

void TMaxGroupBox::resizeEvent(QResizeEvent* event) {
    TMaxControl::resizeEvent(event);
    SizeChanged();
}

void TMaxGroupBox::moveEvent(QMoveEvent* event) {
    TMaxControl::moveEvent(event);
    UpdateNextGroup();
}

void TMaxGroupBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        UpdateChildPanel();
        UpdateHitMask();
    }
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange) {
        update();
    }
    TMaxControl::changeEvent(event);
}

void TMaxGroupBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && MousePoint(event).y() < kTitlePressHeight) {
        if (FEnableMinimized) {
            SetMinimized(!FMinimized);
        }
        return;
    }
    TMaxControl::mousePressEvent(event);
}

void TMaxGroupBox::UpdateHitMask() {
    if (FStyle != TMaxGroupBoxStyle::mgbAlias) {
        clearMask();
        return;
    }
    // Left out: the points with (W - x) + y < h + 2, the triangle at the title bar's right end.
    const int W = width();
    const int h = TitleHeight();
    QRegion region(0, h + 1, W, std::max(0, height() - (h + 1)));
    for (int y = 0; y <= h && y < height(); ++y) {
        const int rowWidth = std::clamp(W - h - 1 + y, 0, W);
        region += QRect(0, y, rowWidth, 1);
    }
    setMask(region);
}

void TMaxGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter);
}

void TMaxGroupBox::Paint(QPainter& painter) {
    painter.setFont(font());
    if (FStyle == TMaxGroupBoxStyle::mgbAlias) {
        PaintAlias(painter);
    } else {
        PaintDefault(painter);
    }
}

void TMaxGroupBox::PaintDefault(QPainter& p) {
    const QPalette& pal = palette();
    const QColor shadow = SysColor(pal, TSysColor::BtnShadow);
    const QColor highlight = SysColor(pal, TSysColor::BtnHighlight);
    const QColor dark = SysColor(pal, TSysColor::DkShadow3D);
    const int W = width();
    const int H = height();
    const int h = TitleHeight();
    const int h2 = h / 2;

    // The etched frame.
    OutlineRectLTRB(p, 1, h2, W, H, highlight);
    OutlineRectLTRB(p, 0, h2 - 1, W - 1, H - 1, shadow);

    // The collapse button: minus when expanded, plus when collapsed.
    OutlineRectLTRB(p, 8, h2 - 4, 17, h2 + 5, dark);
    FillRectLTRB(p, 9, h2 - 3, 16, h2 + 4, highlight);
    DrawLine(p, 10, h2, 15, h2, dark);
    if (FMinimized) {
        DrawLine(p, 12, h2 - 2, 12, h2 + 2, dark);
    }

    // The caption on an opaque background, which interrupts the frame line behind it.
    const QRect text = RectLTRB(18, 0, W - 4, h);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    const auto drawOpaque = [&](const QRect& rect, const QColor& color) {
        p.fillRect(p.boundingRect(rect, flags, FCaption).intersected(rect), Color());
        p.setPen(color);
        p.drawText(rect, flags, FCaption);
    };
    if (isEnabled()) {
        drawOpaque(text, SysColor(pal, TSysColor::WindowText));
    } else {
        drawOpaque(text.translated(1, 1), highlight);
        p.setPen(shadow);
        p.drawText(text, flags, FCaption);
    }
}

void TMaxGroupBox::PaintAlias(QPainter& p) {
    const QPalette& pal = palette();
    const QColor shadow = SysColor(pal, TSysColor::BtnShadow);
    const QColor highlight = SysColor(pal, TSysColor::BtnHighlight);
    const QColor caption = SysColor(pal, TSysColor::ActiveCaption);
    const int W = width();
    const int H = height();
    const int h = TitleHeight();

    DrawLine(p, 0, H - 1, W, H - 1, highlight);
    DrawLine(p, W - 1, h, W - 1, H, highlight);
    DrawLine(p, 0, h, 0, H, shadow);

    // The title bar, its right end cut at 45 degrees.
    const QPolygon bar(
        {QPoint(0, 0), QPoint(W - 2 - h, 0), QPoint(W - 1, h + 1), QPoint(0, h + 1)});
    p.setPen(caption);
    p.setBrush(caption);
    p.drawPolygon(bar);
    p.setBrush(Qt::NoBrush);

    const QRect text = RectLTRB(3, 1, W - 2 - h, h);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    if (isEnabled()) {
        p.setPen(SysColor(pal, TSysColor::CaptionText));
        p.drawText(text, flags, FCaption);
    } else {
        DrawEngravedText(p, pal, text, flags, FCaption);
    }
}

// ---- TMaxPanel ------------------------------------------------------------------------------

void ScrollV(QWidget* panel, int delta) {
    const std::vector<QWidget*> children = ChildControls(panel);
    if (children.empty() || delta == 0) {
        return;
    }
    int shift = 0;
    if (delta < 0) {
        int top = INT_MAX;
        for (const QWidget* child : children) {
            top = std::min(top, child->y());
        }
        shift = std::max(delta, std::min(0, top - kScrollMargin));
    } else {
        int overhang = INT_MIN;
        for (const QWidget* child : children) {
            overhang =
                std::max(overhang, child->y() + child->height() - panel->height() + kScrollMargin);
        }
        shift = std::min(delta, std::max(0, overhang));
    }
    if (shift == 0) {
        return;
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        (*it)->move((*it)->x(), (*it)->y() - shift);
    }
}

void GetScrollableArea(const QWidget* panel, QRect& rect) {
    int top = 0;
    int bottom = panel->height();
    for (const QWidget* child : ChildControls(panel)) {
        top = std::min(top, child->y() - kScrollMargin);
        bottom = std::max(bottom, child->y() + child->height() + kScrollMargin);
    }
    rect = RectLTRB(0, top, panel->width(), bottom);
}

TMaxPanel::TMaxPanel(QWidget* parent) : TMaxCustomPanel(parent) {}

void TMaxPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        // Qt keeps the pointer with this panel until the release (implicit grab).
        FCaptured = true;
        FDragAnchorY = MousePoint(event).y();
        FSavedCursor.Begin(Qt::SizeVerCursor);
    }
    TMaxCustomPanel::mousePressEvent(event);
}

void TMaxPanel::mouseMoveEvent(QMouseEvent* event) {
    if (FCaptured) {
        const int y = MousePoint(event).y();
        ScrollV(this, FDragAnchorY - y);
        FDragAnchorY = y;
    }
    TMaxCustomPanel::mouseMoveEvent(event);
}

void TMaxPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        EndCapture();
    }
    TMaxCustomPanel::mouseReleaseEvent(event);
}

void TMaxPanel::EndCapture() {
    FCaptured = false;
    FSavedCursor.End();
}

void TMaxPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        EndCapture();
    }
    TMaxCustomPanel::changeEvent(event);
}

void TMaxPanel::hideEvent(QHideEvent* event) {
    EndCapture();
    TMaxCustomPanel::hideEvent(event);
}

// ---- TMaxControlBox -------------------------------------------------------------------------

TMaxControlBox::TMaxControlBox(QWidget* parent) : TMaxControl(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    resize(64, 64);
}

void TMaxControlBox::paintEvent(QPaintEvent*) {}

} // namespace vantor
