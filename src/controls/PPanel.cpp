#include "PPanel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <climits>

namespace vantor {

// ---- TMaxControlScrollBar -------------------------------------------------------------------

namespace {

int ClampToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

} // namespace

void TMaxControlScrollBar::SetIncrement(int increment) {
    FIncrement = increment;
    if (FBar != nullptr) {
        FBar->setSingleStep(increment);
    }
}

int TMaxControlScrollBar::Min() const {
    if (ReadsWidget()) {
        FMin = FBar->minimum();
    }
    return FMin;
}

int TMaxControlScrollBar::Max() const {
    // The widget holds the range of thumb positions, not the end of the range; the end is the
    // one this object handed over.
    return FMax;
}

unsigned int TMaxControlScrollBar::Page() const {
    if (ReadsWidget()) {
        FPage = static_cast<unsigned int>(std::max(0, FBar->pageStep()));
    }
    return FPage;
}

int TMaxControlScrollBar::Position() const {
    if (ReadsWidget()) {
        FPosition = FBar->value();
    }
    return FPosition;
}

void TMaxControlScrollBar::SetMin(int value) {
    FMin = value;
    ApplyRangeAndVisibility();
}

void TMaxControlScrollBar::SetMax(int value) {
    FMax = value;
    ApplyRangeAndVisibility();
}

void TMaxControlScrollBar::SetPage(unsigned int value) {
    FPage = value;
    ApplyRangeAndVisibility();
}

void TMaxControlScrollBar::SetPosition(int value) {
    FPosition = value;
    if (FBar != nullptr) {
        FBar->setValue(value);
    }
}

void TMaxControlScrollBar::SetVisible(bool on) {
    FVisible = on;
    SetScrollInfo();
}

void TMaxControlScrollBar::SetWindow(QScrollBar* bar) {
    FBar = bar;
    if (FBar != nullptr) {
        FBar->setSingleStep(FIncrement);
    }
    SetScrollInfo();
}

void TMaxControlScrollBar::ApplyRange() {
    // The last thumb position is Max - Page + 1 (Max when Page is 0), never below Min.
    const long long page = std::min<long long>(FPage, INT_MAX);
    const long long last = static_cast<long long>(FMax) - std::max(page - 1, 0LL);
    FBar->setPageStep(static_cast<int>(page));
    FBar->setRange(FMin, ClampToInt(std::max<long long>(FMin, last)));
}

void TMaxControlScrollBar::ApplyRangeAndVisibility() {
    if (FBar == nullptr) {
        return;
    }
    ApplyRange();
    FBar->setVisible(FVisible);
}

void TMaxControlScrollBar::SetScrollInfo() {
    if (FBar == nullptr) {
        return;
    }
    if (FVisible) {
        ApplyRange();
        FBar->setValue(FPosition);
        FBar->show();
    } else {
        FBar->hide();
    }
}

void TMaxControlScrollBar::UpdateScrollInfo(int command) {
    if (FBar == nullptr) {
        return;
    }
    // While the widget reports an action, value() is still the position before it and
    // sliderPosition() is where the thumb is dragged to.
    const long long position = FBar->value();
    const long long track = FBar->sliderPosition();
    const long long page = FBar->pageStep() > 0 ? FBar->pageStep() : FIncrement;
    long long next = position;
    switch (command) {
    case QAbstractSlider::SliderSingleStepSub:
        next = position - FIncrement;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        next = position + FIncrement;
        break;
    case QAbstractSlider::SliderPageStepSub:
        next = position - page;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        next = position + page;
        break;
    case QAbstractSlider::SliderMove:
        next = track;
        break;
    default:
        break;
    }
    // The widget clamps the position to its range.
    FBar->setValue(ClampToInt(next));
    FPosition = FBar->value();
}

// ---- TPaintPanel ----------------------------------------------------------------------------

TPaintPanel::TPaintPanel(QWidget* parent) : TMaxCustomPanel(parent) {
    FHorzBar = new QScrollBar(Qt::Horizontal, this);
    FVertBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {FHorzBar, FVertBar}) {
        bar->hide();
        bar->installEventFilter(this);
    }
    connect(FHorzBar, &QAbstractSlider::actionTriggered, this,
            [this](int action) { Scrolled(FHorzScrollBar.get(), action); });
    connect(FVertBar, &QAbstractSlider::actionTriggered, this,
            [this](int action) { Scrolled(FVertScrollBar.get(), action); });
    SetHorzScrollBar(std::make_unique<TMaxControlScrollBar>());
    SetVertScrollBar(std::make_unique<TMaxControlScrollBar>());
    LayoutBars();
}

TPaintPanel::~TPaintPanel() = default;

void TPaintPanel::SetHorzScrollBar(std::unique_ptr<TMaxControlScrollBar> bar) {
    if (bar == nullptr) {
        return;
    }
    FHorzScrollBar = std::move(bar);
    FHorzScrollBar->SetWindow(FHorzBar);
}

void TPaintPanel::SetVertScrollBar(std::unique_ptr<TMaxControlScrollBar> bar) {
    if (bar == nullptr) {
        return;
    }
    FVertScrollBar = std::move(bar);
    FVertScrollBar->SetWindow(FVertBar);
}

void TPaintPanel::Scrolled(TMaxControlScrollBar* state, int command) {
    state->UpdateScrollInfo(command);
    emit OnScroll();
    if (state->Tracking()) {
        repaint();
    }
}

QRect TPaintPanel::ClientRect() const {
    QRect client = rect();
    if (!FVertBar->isHidden()) {
        client.setRight(FVertBar->x() - 1);
    }
    if (!FHorzBar->isHidden()) {
        client.setBottom(FHorzBar->y() - 1);
    }
    return client;
}

void TPaintPanel::LayoutBars() {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool horz = !FHorzBar->isHidden();
    const bool vert = !FVertBar->isHidden();
    FVertBar->setGeometry(width() - extent, 0, extent, height() - (horz ? extent : 0));
    FHorzBar->setGeometry(0, height() - extent, width() - (vert ? extent : 0), extent);
}

void TPaintPanel::resizeEvent(QResizeEvent* event) {
    TMaxCustomPanel::resizeEvent(event);
    LayoutBars();
}

bool TPaintPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == FHorzBar || watched == FVertBar) &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        LayoutBars();
    }
    return TMaxCustomPanel::eventFilter(watched, event);
}

void TPaintPanel::Paint(QPainter& painter) {
    TMaxCustomPanel::Paint(painter);
    emit OnPaint(&painter);
}

// ---- TTextPanel -----------------------------------------------------------------------------

TTextPanel::TTextPanel(QWidget* parent) : TMaxControl(parent) {
    resize(96, 17);
}

void TTextPanel::SetAlignment(TAlignment alignment) {
    if (alignment != FAlignment) {
        FAlignment = alignment;
        update();
    }
}

void TTextPanel::SetBevelInner(TPanelBevel bevel) {
    if (bevel != FBevelInner) {
        FBevelInner = bevel;
        update();
    }
}

void TTextPanel::SetTextMargin(int margin) {
    if (margin != FTextMargin) {
        FTextMargin = margin;
        update();
    }
}

void TTextPanel::SetTextStyle(TTextPanelTextStyle style) {
    if (style != FTextStyle) {
        FTextStyle = style;
        update();
    }
}

void TTextPanel::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

QColor TTextPanel::TextColor() const {
    return palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                           QPalette::WindowText);
}

void TTextPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int W = width();
    const int H = height();
    const QColor shadow = SysColor(palette(), TSysColor::BtnShadow);
    const QColor highlight = SysColor(palette(), TSysColor::BtnHighlight);
    if (FBevelInner == TPanelBevel::bvLowered || FBevelInner == TPanelBevel::bvRaised) {
        const bool lowered = FBevelInner == TPanelBevel::bvLowered;
        const QColor& topLeft = lowered ? shadow : highlight;
        const QColor& bottomRight = lowered ? highlight : shadow;
        DrawLine(p, 0, 0, W, 0, topLeft);
        DrawLine(p, 0, 0, 0, H, topLeft);
        DrawLine(p, 0, H - 1, W, H - 1, bottomRight);
        DrawLine(p, W - 1, 0, W - 1, H, bottomRight);
    }
    FillRectLTRB(p, 1, 1, W - 1, H - 1, Color());
    p.setFont(font());
    p.setPen(TextColor());
    PaintText(p);
    emit OnPaint(&p);
}

void TTextPanel::PaintText(QPainter& painter) {
    if (FTextStyle == TTextPanelTextStyle::tptsVertical) {
        PaintVerticalText(painter);
    } else {
        PaintHorizonalText(painter);
    }
}

void TTextPanel::PaintHorizonalText(QPainter& painter) {
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | HorizontalAlignment(FAlignment);
    painter.drawText(RectLTRB(FTextMargin + 1, 1, width() - FTextMargin - 1, height() - 1), flags,
                     FCaption);
}

void TTextPanel::PaintVerticalText(QPainter& painter) {
    const QFontMetrics metrics(font());
    const int h = FontCharHeight(font());
    const int length = metrics.horizontalAdvance(FCaption);
    // The top of the rotated text cell lies at x = (W + h) / 2, so the line is centred across.
    const int x = (width() + h) / 2;
    int start = FTextMargin;
    switch (FAlignment) {
    case TAlignment::taLeftJustify:
        start = FTextMargin;
        break;
    case TAlignment::taRightJustify:
        start = height() - FTextMargin - length;
        break;
    case TAlignment::taCenter:
        start = height() / 2 - length / 2;
        break;
    }
    painter.save();
    painter.translate(x, start);
    painter.rotate(90);
    painter.drawText(0, metrics.ascent(), FCaption);
    painter.restore();
}

} // namespace vantor
