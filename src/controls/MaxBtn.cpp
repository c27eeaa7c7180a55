#include "MaxBtn.h"

#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

namespace vantor {

// ---- TMaxTrack ------------------------------------------------------------------------------

float TrackValueAtX(int x, int width, float min, float max) {
    if (width < 7) {
        return min;
    }
    const double fraction = static_cast<double>(x - 2) / (width - 6);
    return static_cast<float>(min + fraction * (static_cast<double>(max) - min));
}

int TrackThumbLeft(float position, float min, float max, int width) {
    if (max == min) {
        return 0;
    }
    const double left =
        (static_cast<double>(position) - min) * (width - 6) / (static_cast<double>(max) - min);
    return std::isfinite(left) ? static_cast<int>(left) : 0;
}

TMaxTrack::TMaxTrack(QWidget* parent) : TMaxControl(parent) {
    resize(64, 13);
}

float TMaxTrack::Clamp(float value) const {
    if (std::isnan(value)) {
        return FMin;
    }
    if (value > FMax) {
        value = FMax;
    }
    if (value < FMin) {
        value = FMin;
    }
    return value;
}

void TMaxTrack::FSetPosition(float value) {
    SetPosition(value);
    emit OnChange();
}

void TMaxTrack::SetPosition(float value) {
    FPosition = Clamp(value);
    update();
}

void TMaxTrack::SetMax(float value) {
    if (FMin > value) {
        FMin = value;
    }
    FMax = value;
    if (value < FPosition) {
        SetPosition(value);
    } else {
        update();
    }
}

void TMaxTrack::SetMin(float value) {
    if (FMax < value) {
        FMax = value;
    }
    FMin = value;
    if (value > FPosition) {
        SetPosition(value);
    } else {
        update();
    }
}

void TMaxTrack::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FSetPosition(TrackValueAtX(MousePoint(event).x(), width(), FMin, FMax));
    }
    TMaxControl::mousePressEvent(event);
}

void TMaxTrack::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        FSetPosition(TrackValueAtX(MousePoint(event).x(), width(), FMin, FMax));
    }
    TMaxControl::mouseMoveEvent(event);
}

void TMaxTrack::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    const QColor shadow = SysColor(pal, TSysColor::BtnShadow);
    const QColor highlight = SysColor(pal, TSysColor::BtnHighlight);
    const QColor dark = SysColor(pal, TSysColor::DkShadow3D);
    const QColor face = SysColor(pal, TSysColor::BtnFace);
    const int W = width();
    const int H = height();
    const int h = H / 2;

    FillRectLTRB(p, 0, 0, W, H, Color());

    // The groove: a sunken channel across the middle.
    DrawLine(p, 2, h - 3, W - 2, h - 3, shadow);
    DrawLine(p, 2, h - 3, 2, h + 4, shadow);
    DrawLine(p, 2, h + 3, W - 2, h + 3, highlight);
    DrawLine(p, W - 3, h - 3, W - 3, h + 4, highlight);
    DrawLine(p, 3, h - 2, W - 3, h - 2, dark);
    DrawLine(p, 3, h - 2, 3, h + 3, dark);
    DrawLine(p, 3, h + 2, W - 3, h + 2, face);
    DrawLine(p, W - 4, h - 2, W - 4, h + 3, face);

    // The thumb: 6 pixels wide, full height, raised.
    const int a = TrackThumbLeft(FPosition, FMin, FMax, W);
    FillRectLTRB(p, a, 0, a + 6, H, face);
    DrawLine(p, a, 0, a + 6, 0, highlight);
    DrawLine(p, a, 0, a, H, highlight);
    DrawLine(p, a, H - 1, a + 6, H - 1, shadow);
    DrawLine(p, a + 5, 0, a + 5, H, shadow);
}

// ---- TMaxCheck ------------------------------------------------------------------------------

TMaxCheck::TMaxCheck(QWidget* parent) : TMaxControl(parent) {
    SetMouseEventsWhileDisabled(true);
    resize(64, 13);
}

void TMaxCheck::SetChecked(bool checked) {
    if (checked == FChecked) {
        return;
    }
    FChecked = checked;
    update();
    emit OnChange();
}

void TMaxCheck::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

void TMaxCheck::Click() {
    FPressed = false;
    FHot = false;
    SetChecked(!FChecked);
    emit OnClick();
}

void TMaxCheck::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        FPressed = true;
        FHot = true;
        FDoubleClickPress = false;
        update();
    }
    RaiseMouseDown(event);
}

void TMaxCheck::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: a press like any other, but the click that a press
    // and a release make is not raised for it, so its release toggles by itself.
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton && isEnabled()) {
        FDoubleClickPress = true;
    }
}

void TMaxCheck::mouseMoveEvent(QMouseEvent* event) {
    if (isEnabled()) {
        const bool inside = rect().contains(MousePoint(event));
        if (inside != FHot) {
            FHot = inside;
            update();
        }
    }
    RaiseMouseMove(event);
}

void TMaxCheck::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && isEnabled()) {
        if (FPressed && rect().contains(MousePoint(event))) {
            if (FDoubleClickPress) {
                SetChecked(!FChecked);
            } else {
                Click();
            }
        }
        FPressed = false;
        FHot = false;
        FDoubleClickPress = false;
        update();
    }
    RaiseMouseUp(event);
}

void TMaxCheck::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int W = width();
    const int H = height();

    QStyleOptionButton box;
    box.initFrom(this);
    box.rect = QRect(0, 0, H, H);
    // Greyed while disabled, and while pressed with the pointer inside: the pressed look.
    if (!isEnabled() || (FHot && FPressed)) {
        box.state &= ~QStyle::State_Enabled;
        box.palette.setCurrentColorGroup(QPalette::Disabled);
    } else {
        box.state |= QStyle::State_Enabled;
    }
    box.state |= FChecked ? QStyle::State_On : QStyle::State_Off;
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, this);

    FillRectLTRB(p, H, 0, W, H, Color());

    // The caption is centred vertically on the character height.
    const int y = (H - FontCharHeight(font())) / 2;
    const QRect text(H + 4, y, std::max(0, W - H - 4), QFontMetrics(font()).height());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(SysColor(palette(), TSysColor::WindowText));
        p.drawText(text, flags, FCaption);
    } else {
        DrawEngravedText(p, palette(), text, flags, FCaption);
    }
}

// ---- TMaxButton -----------------------------------------------------------------------------

QColor ScaleColor(const QColor& color, int numerator, int denominator) {
    if (denominator <= 0) {
        return color;
    }
    return QColor(color.red() * numerator / denominator, color.green() * numerator / denominator,
                  color.blue() * numerator / denominator);
}

TMaxButton::TMaxButton(QWidget* parent) : TMaxControl(parent) {
    SetMouseEventsWhileDisabled(true);
    resize(64, 16);
}

QColor TMaxButton::FaceBaseColor() const {
    if (ColorIsExplicit()) {
        return Color();
    }
    const QColor face = SysColor(palette(), TSysColor::BtnFace);
    const auto lighten = [](int v) { return std::min(255, v + v / 4); };
    return QColor(lighten(face.red()), lighten(face.green()), lighten(face.blue()));
}

void TMaxButton::SetAlignment(TAlignment alignment) {
    if (alignment != FAlignment) {
        FAlignment = alignment;
        update();
    }
}

void TMaxButton::SetStyle(TMaxButtonStyle style) {
    if (style != FStyle) {
        FStyle = style;
        update();
    }
}

void TMaxButton::SetCaption(const QString& caption) {
    FCaption = caption;
    update();
}

void TMaxButton::SetCaption2(const QString& caption) {
    FCaption2 = caption;
    update();
}

void TMaxButton::SetGlyph(const QPixmap& glyph) {
    FGlyph = glyph;
    update();
}

void TMaxButton::SetDownGlyph(const QPixmap& glyph) {
    FDownGlyph = glyph;
    update();
}

void TMaxButton::SetButtonState(TMaxButtonState state) {
    if (state != FButtonState) {
        FButtonState = state;
        update();
    }
}

void TMaxButton::SetDown(bool down) {
    if (FGroupIndex == 0) {
        down = false;
    }
    // The down button of a group without AllowAllUp cannot be released directly: it goes up
    // when another button of its group goes down.
    if (down == FDown || (FDown && !FAllowAllUp)) {
        return;
    }
    FDown = down;
    SetButtonState(down ? TMaxButtonState::Held : TMaxButtonState::Up);
    if (down) {
        UpdateExclusive();
    }
}

void TMaxButton::SetGroupIndex(int group) {
    if (group == FGroupIndex) {
        return;
    }
    FGroupIndex = group;
    // A push button is never down.
    if (group == 0 && FDown) {
        FDown = false;
        SetButtonState(TMaxButtonState::Up);
    }
    UpdateExclusive();
}

void TMaxButton::SetAllowAllUp(bool on) {
    if (on != FAllowAllUp) {
        FAllowAllUp = on;
        UpdateExclusive();
    }
}

void TMaxButton::UpdateExclusive() {
    if (FGroupIndex == 0 || parentWidget() == nullptr) {
        return;
    }
    const QObjectList siblings = parentWidget()->children();
    for (QObject* object : siblings) {
        if (auto* button = qobject_cast<TMaxButton*>(object)) {
            button->CMButtonPressed(FGroupIndex, this);
        }
    }
}

void TMaxButton::CMButtonPressed(int groupIndex, TMaxButton* sender) {
    if (sender == this || groupIndex != FGroupIndex) {
        return;
    }
    if (sender->FDown && FDown) {
        FDown = false;
        SetButtonState(TMaxButtonState::Up);
    }
    FAllowAllUp = sender->FAllowAllUp;
}

void TMaxButton::Click() {
    if (FAction) {
        FAction->trigger();
    } else {
        emit OnClick();
    }
}

bool TMaxButton::InsideForRelease(const QPoint& p) const {
    return p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
}

void TMaxButton::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(event);
    if (event->button() == Qt::LeftButton && isEnabled()) {
        if (!FDown) {
            SetButtonState(TMaxButtonState::Pressed);
        }
        FPressed = true;
    }
}

void TMaxButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (isEnabled()) {
        emit OnDblClick();
    }
    mousePressEvent(event);
}

void TMaxButton::mouseMoveEvent(QMouseEvent* event) {
    RaiseMouseMove(event);
    if (FPressed) {
        const bool inside = InsideForRelease(MousePoint(event));
        SetButtonState(FDown ? TMaxButtonState::Held
                             : (inside ? TMaxButtonState::Pressed : TMaxButtonState::Up));
    }
}

void TMaxButton::mouseReleaseEvent(QMouseEvent* event) {
    if (FPressed) {
        FPressed = false;
        const bool inside = InsideForRelease(MousePoint(event));
        if (FGroupIndex == 0) {
            SetButtonState(TMaxButtonState::Up);
        } else if (inside) {
            SetDown(!FDown);
        } else {
            SetButtonState(FDown ? TMaxButtonState::Held : TMaxButtonState::Up);
        }
        if (inside) {
            Click();
        }
    }
    RaiseMouseUp(event);
}

void TMaxButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool sunken = FButtonState == TMaxButtonState::Pressed || FDown;
    if (FStyle == TMaxButtonStyle::mbsGradation) {
        PaintGradationFace(p, sunken);
    } else {
        PaintDefaultButton(p);
    }
    if (!FGlyph.isNull()) {
        PaintGlyph(p);
    } else {
        PaintCaptions(p, sunken);
    }
}

namespace {

// The latched look of a held toggle: a one-pixel checker of button face and highlight.
QBrush CheckerBrush(const QPalette& palette) {
    QImage tile(8, 8, QImage::Format_RGB32);
    const QRgb face = SysColor(palette, TSysColor::BtnFace).rgb();
    const QRgb highlight = SysColor(palette, TSysColor::BtnHighlight).rgb();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            tile.setPixel(x, y, (x + y) % 2 == 0 ? highlight : face);
        }
    }
    return QBrush(tile);
}

} // namespace

void TMaxButton::PaintDefaultButton(QPainter& painter) {
    const bool pushed = FButtonState != TMaxButtonState::Up;
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = rect();
    option.state |= pushed ? QStyle::State_Sunken : QStyle::State_Raised;
    if (FButtonState == TMaxButtonState::Held) {
        option.state |= QStyle::State_On;
    }
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, this);
    if (FButtonState == TMaxButtonState::Held) {
        // The face inside the two-pixel frame.
        painter.fillRect(rect().adjusted(2, 2, -2, -2), CheckerBrush(palette()));
    }
}

void TMaxButton::PaintGradationFace(QPainter& p, bool sunken) {
    const QPalette& pal = palette();
    const QColor shadow = SysColor(pal, TSysColor::BtnShadow);
    const QColor highlight = SysColor(pal, TSysColor::BtnHighlight);
    const QColor dark = SysColor(pal, TSysColor::DkShadow3D);
    const QColor c = FaceBaseColor();
    const int W = width();
    const int H = height();
    if (!sunken) {
        DrawLine(p, 0, H - 2, W - 1, H - 2, shadow);
        DrawLine(p, W - 2, 0, W - 2, H - 1, shadow);
        DrawLine(p, 0, 0, W, 0, highlight);
        DrawLine(p, 0, 0, 0, H, highlight);
        DrawLine(p, 0, H - 1, W, H - 1, dark);
        DrawLine(p, W - 1, 0, W - 1, H, dark);
        // Full brightness at the top, about two thirds at the bottom.
        for (int i = 0; i <= H - 4; ++i) {
            FillRectLTRB(p, 1, i + 1, W - 2, i + 2, ScaleColor(c, 3 * H - i, 3 * H));
        }
    } else {
        DrawLine(p, 1, 1, W, 1, shadow);
        DrawLine(p, 1, 1, 1, H, shadow);
        DrawLine(p, 0, H - 1, W, H - 1, highlight);
        DrawLine(p, W - 1, 0, W - 1, H, highlight);
        DrawLine(p, 0, 0, W, 0, dark);
        DrawLine(p, 0, 0, 0, H, dark);
        // Darker at the top.
        for (int i = 0; i <= H - 4; ++i) {
            FillRectLTRB(p, 2, i + 2, W - 1, i + 3, ScaleColor(c, 2 * H + i, 3 * H));
        }
    }
}

void TMaxButton::PaintGlyph(QPainter& painter) {
    const int W = width();
    const int H = height();
    if (FButtonState == TMaxButtonState::Up) {
        painter.drawPixmap((W - FGlyph.width()) / 2, (H - FGlyph.height()) / 2, FGlyph);
        return;
    }
    if (FStyle == TMaxButtonStyle::mbsInvert) {
        QImage inverted = FGlyph.toImage();
        inverted.invertPixels();
        painter.drawImage((W - inverted.width()) / 2, (H - inverted.height()) / 2, inverted);
        return;
    }
    const QPixmap& glyph = FDownGlyph.isNull() ? FGlyph : FDownGlyph;
    painter.drawPixmap((W - glyph.width()) / 2 + 1, (H - glyph.height()) / 2 + 1, glyph);
}

void TMaxButton::PaintCaptions(QPainter& painter, bool sunken) {
    painter.setFont(font());
    const int t = QFontMetrics(font()).horizontalAdvance(FCaption2);
    QRect r = RectLTRB(3, 1, width() - 3 - t, height() - 2);
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | HorizontalAlignment(FAlignment);
    if (FAlignment == TAlignment::taCenter) {
        r.adjust(-1, 0, 1, 0);
    }
    if (sunken) {
        r.translate(2, 2);
    }
    const int right = r.x() + r.width();
    const QRect r2 = RectLTRB(right, r.y(), right + t, r.y() + r.height());
    const auto draw = [&](const QRect& rect, const QString& text) {
        if (isEnabled()) {
            painter.setPen(SysColor(palette(), TSysColor::WindowText));
            painter.drawText(rect, flags, text);
        } else {
            DrawEngravedText(painter, palette(), rect, flags, text);
        }
    };
    draw(r, FCaption);
    if (!FCaption2.isEmpty()) {
        draw(r2, FCaption2);
    }
}

} // namespace vantor
