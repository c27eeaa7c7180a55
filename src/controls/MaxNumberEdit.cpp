#include "MaxNumberEdit.h"

#include "MaxNumberText.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>
#include <cmath>

namespace vantor {

// ---- TMaxUpDown -----------------------------------------------------------------------------

TMaxUpDown::TMaxUpDown(QWidget* parent) : QWidget(parent) {
    // The spin button never takes the focus: the typed text stays in its edit until committed.
    setFocusPolicy(Qt::NoFocus);
    connect(&FRepeatTimer, &QTimer::timeout, this, &TMaxUpDown::Repeat);
}

TUDBtnType TMaxUpDown::HalfAt(int y) const {
    return y < height() / 2 ? TUDBtnType::btNext : TUDBtnType::btPrev;
}

void TMaxUpDown::Step() {
    if (OnChanging && !OnChanging()) {
        return;
    }
    emit OnClick(*FPressedHalf);
}

void TMaxUpDown::Repeat() {
    FRepeatTimer.setInterval(
        style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
    if (FPressedHalf && FPointerOverPressedHalf) {
        Step();
    }
}

void TMaxUpDown::mousePressEvent(QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    if (event->button() == Qt::LeftButton && !FPressedHalf) {
        FPressedHalf = HalfAt(p.y());
        FPointerOverPressedHalf = true;
        update();
        Step();
        FRepeatTimer.start(
            style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
    }
    emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TMaxUpDown::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = MousePoint(event);
    if (FPressedHalf) {
        const bool over = rect().contains(p) && HalfAt(p.y()) == *FPressedHalf;
        if (over != FPointerOverPressedHalf) {
            FPointerOverPressedHalf = over;
            update();
        }
    }
    emit OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TMaxUpDown::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && FPressedHalf) {
        FPressedHalf.reset();
        FRepeatTimer.stop();
        update();
    }
    const QPoint p = MousePoint(event);
    emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

void TMaxUpDown::CancelPress() {
    FPressedHalf.reset();
    FRepeatTimer.stop();
}

void TMaxUpDown::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        CancelPress();
    }
    QWidget::changeEvent(event);
}

void TMaxUpDown::hideEvent(QHideEvent* event) {
    CancelPress();
    QWidget::hideEvent(event);
}

void TMaxUpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    const TUDBtnType kinds[2] = {TUDBtnType::btNext, TUDBtnType::btPrev};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = halves[i];
        const bool sunken = FPressedHalf == kinds[i] && FPointerOverPressedHalf;
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        QStyleOption arrow = option;
        arrow.rect = halves[i].adjusted(3, 1, -3, -1).translated(sunken ? 1 : 0, sunken ? 1 : 0);
        style()->drawPrimitive(kinds[i] == TUDBtnType::btNext ? QStyle::PE_IndicatorArrowUp
                                                              : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

// ---- TMaxNumberEdit -------------------------------------------------------------------------

namespace {
constexpr int kUpDownWidth = 15;
constexpr int kDragThreshold = 5;
} // namespace

TMaxNumberEdit::TMaxNumberEdit(QWidget* parent) : QWidget(parent) {
    FEdit = new TMaxEdit(this);
    FEdit->SetNumberOnly(true);
    FEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    FUpDown = new TMaxUpDown(this);
    setFocusProxy(FEdit);
    // Pointer input of the children stays with them; what reaches this control's own handlers
    // was sent to it directly.
    FEdit->setAttribute(Qt::WA_NoMousePropagation);
    FUpDown->setAttribute(Qt::WA_NoMousePropagation);

    connect(FEdit, &TMaxEdit::OnChange, this, &TMaxNumberEdit::FEditChange);
    connect(FEdit, &TMaxEdit::OnEnter, this, &TMaxNumberEdit::OnEnter);
    connect(FEdit, &TMaxEdit::OnExit, this, &TMaxNumberEdit::FEditExit);
    connect(FEdit, &TMaxEdit::OnKeyPress, this, [this](QChar& key) { emit OnKeyPress(key); });
    connect(FEdit, &TMaxEdit::OnKeyDown, this,
            [this](int& key, Qt::KeyboardModifiers shift) { emit OnKeyDown(key, shift); });
    connect(FEdit, &TMaxEdit::OnKeyUp, this,
            [this](int& key, Qt::KeyboardModifiers shift) { emit OnKeyUp(key, shift); });
    connect(FEdit, &TMaxEdit::OnMouseMove, this, &TMaxNumberEdit::OnMouseMove);
    connect(FUpDown, &TMaxUpDown::OnClick, this, &TMaxNumberEdit::FUpDownClick);
    connect(FUpDown, &TMaxUpDown::OnMouseDown, this, &TMaxNumberEdit::FUpDownMouseDown);
    connect(FUpDown, &TMaxUpDown::OnMouseMove, this, &TMaxNumberEdit::FUpDownMouseMove);
    connect(FUpDown, &TMaxUpDown::OnMouseUp, this, &TMaxNumberEdit::FUpDownMouseUp);
    // No click steps while a drag changes the value.
    FUpDown->OnChanging = [this] { return !FDragging; };

    resize(64, 20);
    LayoutChildren();
    FSetPosition(0);
}

TMaxNumberEdit::~TMaxNumberEdit() = default;

double TMaxNumberEdit::Constrain(double value) const {
    value = ClampToRange(value, FMin, FMax);
    if (FExponential && value > 0) {
        value = ClampToRange(SnapExponential(value, FMantissa, FIncrement), FMin, FMax);
    }
    return value;
}

double TMaxNumberEdit::GetPosition() const {
    const std::optional<double> typed = ParseNumberText(FEdit->text());
    return Constrain(typed ? *typed : FPosition);
}

void TMaxNumberEdit::FSetPosition(double value) {
    FPosition = Constrain(value);
    const QString text = FormatNumberText(FPrintFormat, FPosition);
    if (text != FEdit->text()) {
        FEdit->setText(text);
    }
}

void TMaxNumberEdit::SetPosition(double value) {
    const QScopedValueRollback<bool> detached(FChangeDetached, true);
    FSetPosition(value);
}

void TMaxNumberEdit::AddPosition(int steps) {
    const double current = GetPosition();
    FSetPosition(FExponential ? current * std::pow(FIncrement, steps)
                              : current + steps * FIncrement);
}

void TMaxNumberEdit::SetMax(double value) {
    if (FMin > value) {
        FMin = value;
    }
    FMax = value;
    if (value < FPosition) {
        SetPosition(value);
    }
}

void TMaxNumberEdit::SetMin(double value) {
    if (FMax < value) {
        FMax = value;
    }
    FMin = value;
    if (value > FPosition) {
        SetPosition(value);
    }
}

void TMaxNumberEdit::SetMantissa(double value) {
    if (value > 0) {
        FMantissa = value;
    }
}

void TMaxNumberEdit::SetExponential(bool on) {
    if (on == FExponential) {
        return;
    }
    FExponential = on;
    if (on) {
        FSetPosition(FPosition);
    }
}

void TMaxNumberEdit::SetPrintFormat(const QString& format) {
    FPrintFormat = format;
    SetPosition(FPosition);
}

void TMaxNumberEdit::CommitText() {
    if (const std::optional<double> typed = ParseNumberText(FEdit->text())) {
        FSetPosition(*typed);
    } else {
        SetPosition(GetPosition());
    }
}

void TMaxNumberEdit::FEditChange() {
    if (!FChangeDetached) {
        emit OnChange();
    }
}

void TMaxNumberEdit::FEditExit() {
    CommitText();
    emit OnExit();
}

void TMaxNumberEdit::FUpDownClick(TUDBtnType button) {
    CommitText();
    AddPosition(button == TUDBtnType::btNext ? 1 : -1);
}

void TMaxNumberEdit::FUpDownMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int, int y) {
    if (FUpDownDragEnabled && button == Qt::LeftButton && !FDragging) {
        FDragAnchorY = y;
    }
}

void TMaxNumberEdit::FUpDownMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, int, int y) {
    if (!FUpDownDragEnabled || !(buttons & Qt::LeftButton)) {
        return;
    }
    if (!FDragging) {
        if (std::abs(FDragAnchorY - y) >= kDragThreshold) {
            FDragging = true;
            FDragAnchorY = y;
            FSavedCursor.Begin(Qt::SizeVerCursor);
        }
        return;
    }
    const int steps = FDragAnchorY - y;
    FDragAnchorY = y;
    if (steps != 0) {
        AddPosition(steps);
    }
}

void TMaxNumberEdit::FUpDownMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int, int) {
    // A drag in progress ends with the release even if dragging was switched off meanwhile,
    // so the screen cursor always comes back.
    if (button == Qt::LeftButton && FDragging) {
        EndDrag();
    }
}

void TMaxNumberEdit::EndDrag() {
    FDragging = false;
    FSavedCursor.End();
    emit OnEndUpDown();
}

void TMaxNumberEdit::LayoutChildren() {
    const int editWidth = std::max(0, width() - kUpDownWidth);
    FEdit->setGeometry(0, 0, editWidth, height());
    FUpDown->setGeometry(editWidth, 0, kUpDownWidth, height());
}

void TMaxNumberEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void TMaxNumberEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        FEdit->setEnabled(isEnabled());
        FUpDown->setEnabled(isEnabled());
        // A disabled spin button receives no release, so a drag cannot outlive the change.
        if (!isEnabled() && FDragging) {
            EndDrag();
        }
    }
    QWidget::changeEvent(event);
}

void TMaxNumberEdit::ForwardKeyEvent(QKeyEvent* event) {
    // A key the inner edit did not use arrives here on its way up: it goes on up, not back.
    if (FForwarding || FEdit->PassedOn(event)) {
        event->ignore();
        return;
    }
    const QScopedValueRollback<bool> forwarding(FForwarding, true);
    QCoreApplication::sendEvent(FEdit, event);
}

void TMaxNumberEdit::keyPressEvent(QKeyEvent* event) {
    ForwardKeyEvent(event);
}

void TMaxNumberEdit::keyReleaseEvent(QKeyEvent* event) {
    ForwardKeyEvent(event);
}

void TMaxNumberEdit::ForwardMouseEvent(QMouseEvent* event) {
    if (FForwarding) {
        event->ignore();
        return;
    }
    const QScopedValueRollback<bool> forwarding(FForwarding, true);
    QWidget* target = FForwardTarget;
    if (target == nullptr) {
        target = MousePoint(event).x() >= FUpDown->x() ? static_cast<QWidget*>(FUpDown)
                                                       : static_cast<QWidget*>(FEdit);
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        FForwardTarget = target;
    } else if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton) {
        FForwardTarget = nullptr;
    }
    QMouseEvent forwarded(event->type(), event->position() - QPointF(target->pos()),
                          event->globalPosition(), event->button(), event->buttons(),
                          event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(target, &forwarded);
    event->setAccepted(forwarded.isAccepted());
}

void TMaxNumberEdit::mousePressEvent(QMouseEvent* event) {
    ForwardMouseEvent(event);
}

void TMaxNumberEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    ForwardMouseEvent(event);
}

void TMaxNumberEdit::mouseMoveEvent(QMouseEvent* event) {
    ForwardMouseEvent(event);
}

void TMaxNumberEdit::mouseReleaseEvent(QMouseEvent* event) {
    ForwardMouseEvent(event);
}

void TMaxNumberEdit::hideEvent(QHideEvent* event) {
    if (FDragging) {
        EndDrag();
    }
    QWidget::hideEvent(event);
}

} // namespace vantor
