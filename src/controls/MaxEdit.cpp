#include "MaxEdit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOption>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale.h>
#include <string>

namespace vantor {

namespace {

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNumberKey(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

// For a number too large or too small for a double: the position of its first nonzero digit
// relative to the decimal point, plus its exponent. Above 0 the number is huge, otherwise tiny.
long DecimalMagnitude(const char* intBegin, int intDigits, const char* fracBegin, int fracDigits,
                      long exponent) {
    int leadingZeros = 0;
    while (leadingZeros < intDigits && intBegin[leadingZeros] == '0') {
        ++leadingZeros;
    }
    if (leadingZeros < intDigits) {
        return exponent + (intDigits - leadingZeros);
    }
    int fracZeros = 0;
    while (fracZeros < fracDigits && fracBegin[fracZeros] == '0') {
        ++fracZeros;
    }
    return exponent - fracZeros;
}

// printf in the "C" locale, so that the decimal point is "." whatever the user's locale.
locale_t CNumericLocale() {
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// Longest text a number format may produce (every double fits with "%.2f"); a longer one,
// which only an absurd width or precision gives, shows nothing.
constexpr int kMaxFormattedLength = 512;

} // namespace

QString SanitiseNumberText(const QString& text) {
    QString out;
    out.reserve(text.size());
    bool pointKept = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c >= u'0' && c <= u'9') {
            out.append(ch);
        } else if (c == u'-' && out.isEmpty()) {
            out.append(ch);
        } else if (c == u'.' && !pointKept) {
            out.append(ch);
            pointKept = true;
        }
    }
    return out;
}

std::optional<double> ParseNumberText(const QString& text) {
    const QString trimmed = text.trimmed();
    for (const QChar ch : trimmed) {
        if (ch.unicode() > 127) {
            return std::nullopt;
        }
    }
    const QByteArray bytes = trimmed.toLatin1();
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();

    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const numberBegin = p;
    const char* const intBegin = p;
    int intDigits = 0;
    while (p < end && IsAsciiDigit(*p)) {
        ++p;
        ++intDigits;
    }
    const char* fracBegin = p;
    int fracDigits = 0;
    if (p < end && *p == '.') {
        ++p;
        fracBegin = p;
        while (p < end && IsAsciiDigit(*p)) {
            ++p;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) {
        return std::nullopt;
    }
    long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p < end && (*p == '+' || *p == '-')) {
            negativeExponent = *p == '-';
            ++p;
        }
        if (p == end || !IsAsciiDigit(*p)) {
            return std::nullopt;
        }
        while (p < end && IsAsciiDigit(*p)) {
            if (exponent < 100000) {
                exponent = exponent * 10 + (*p - '0');
            }
            ++p;
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    if (p != end) {
        return std::nullopt;
    }

    double value = 0.0;
    const auto [last, error] = std::from_chars(numberBegin, end, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        const bool huge =
            DecimalMagnitude(intBegin, intDigits, fracBegin, fracDigits, exponent) > 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc() || last != end) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

double ClampToRange(double value, double min, double max) {
    if (std::isnan(value)) {
        return min;
    }
    if (value > max) {
        value = max;
    }
    if (value < min) {
        value = min;
    }
    return value;
}

double SnapExponential(double value, double mantissa, double increment) {
    if (!(value > 0) || !(mantissa > 0) || !(increment > 0) || increment == 1.0) {
        return value;
    }
    const double r = std::log(value / mantissa) / std::log(increment);
    if (!std::isfinite(r)) {
        return value;
    }
    double n = std::trunc(r);
    if (r - n >= 0.99999999) {
        n += 1.0;
    }
    return mantissa * std::pow(increment, n);
}

bool IsSingleDoubleFormat(const QString& format) {
    int conversions = 0;
    const qsizetype size = format.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (format[i] != u'%') {
            continue;
        }
        if (++i == size) {
            return false;
        }
        if (format[i] == u'%') {
            continue;
        }
        while (i < size && QStringView(u"-+ #0").contains(format[i])) {
            ++i;
        }
        while (i < size && format[i].isDigit() && format[i].unicode() < 128) {
            ++i;
        }
        if (i < size && format[i] == u'.') {
            ++i;
            while (i < size && format[i].isDigit() && format[i].unicode() < 128) {
                ++i;
            }
        }
        if (i < size && format[i] == u'l') {
            ++i;
        }
        if (i == size || !QStringView(u"fFeEgG").contains(format[i])) {
            return false;
        }
        ++conversions;
    }
    return conversions == 1;
}

QString FormatNumberText(const QString& format, double value) {
    if (!IsSingleDoubleFormat(format)) {
        return {};
    }
    const QByteArray fmt = format.toUtf8();
    const locale_t previous = uselocale(CNumericLocale());
    const int length = std::snprintf(nullptr, 0, fmt.constData(), value);
    std::string text;
    if (length > 0 && length <= kMaxFormattedLength) {
        text.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(text.data(), text.size(), fmt.constData(), value);
        text.resize(static_cast<std::size_t>(length));
    }
    uselocale(previous);
    return QString::fromStdString(text);
}

// ---- TMaxEdit -------------------------------------------------------------------------------

TMaxEdit::TMaxEdit(QWidget* parent) : QLineEdit(parent) {
    // Hover focus needs every pointer move, not only those with a button held.
    setMouseTracking(true);
    connect(this, &QLineEdit::textChanged, this, &TMaxEdit::Change);
}

void TMaxEdit::setText(const QString& text) {
    QLineEdit::setText(text);
    setCursorPosition(0);
}

void TMaxEdit::SetFocusOnEnter() {
    if (!FEnterSelect || hasFocus()) {
        return;
    }
    // Without EnterOnFormNotActive the pointer only hands the focus over while one of this
    // application's windows is the active one, so hovering never pulls it from another program.
    if (!FEnterOnFormNotActive && QApplication::activeWindow() == nullptr) {
        return;
    }
    setFocus(Qt::OtherFocusReason);
}

void TMaxEdit::Change() {
    if (FNumberOnly) {
        const QString current = text();
        const QString clean = SanitiseNumberText(current);
        if (clean != current) {
            // Setting the clean text is itself a change, and that change raises OnChange.
            const int cursor =
                static_cast<int>(SanitiseNumberText(current.left(cursorPosition())).size());
            setText(clean);
            setCursorPosition(cursor);
            return;
        }
    }
    emit OnChange();
}

bool TMaxEdit::AcceptTypedCharacter(QChar ch) {
    if (ch == u'\r' && FExitKey) {
        clearFocus();
        return false;
    }
    if (FNumberOnly && ch.unicode() >= 32 && !IsNumberKey(ch)) {
        return false;
    }
    return true;
}

void TMaxEdit::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    emit OnKeyDown(key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }
    QString text = event->text();
    if (text.isEmpty() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        text = QStringLiteral("\r");
    }
    if (text.size() == 1) {
        QChar ch = text.at(0);
        emit OnKeyPress(ch);
        if (ch.isNull() || !AcceptTypedCharacter(ch)) {
            event->accept();
            return;
        }
        text = QString(ch);
    }
    if (key != event->key() || text != event->text()) {
        QKeyEvent changed(event->type(), key, event->modifiers(), text, event->isAutoRepeat(),
                          event->count());
        QLineEdit::keyPressEvent(&changed);
        event->setAccepted(changed.isAccepted());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TMaxEdit::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    emit OnKeyUp(key, event->modifiers());
    if (key == 0) {
        event->accept();
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

namespace {

// Focus that moves because another window or a popup became active is no entering or leaving
// of the control: the control keeps its place in its window.
bool IsWindowActivationFocus(const QFocusEvent* event) {
    return event->reason() == Qt::ActiveWindowFocusReason ||
           event->reason() == Qt::PopupFocusReason;
}

} // namespace

void TMaxEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (IsWindowActivationFocus(event)) {
        return;
    }
    if (FAutoSelect && event->reason() != Qt::MouseFocusReason) {
        selectAll();
    }
    emit OnEnter();
}

void TMaxEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (!IsWindowActivationFocus(event)) {
        emit OnExit();
    }
}

bool TMaxEdit::event(QEvent* event) {
    const bool handled = QLineEdit::event(event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        FPassedOnKey = event->isAccepted() ? nullptr : event;
    }
    return handled;
}

void TMaxEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        FClickArmed = true;
    }
    QLineEdit::mousePressEvent(event);
    const QPoint p = MousePoint(event);
    emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void TMaxEdit::mouseMoveEvent(QMouseEvent* event) {
    SetFocusOnEnter();
    QLineEdit::mouseMoveEvent(event);
    const QPoint p = MousePoint(event);
    emit OnMouseMove(event->buttons(), event->modifiers(), p.x(), p.y());
}

void TMaxEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    const QPoint p = MousePoint(event);
    if (event->button() == Qt::LeftButton) {
        const bool click = FClickArmed && rect().contains(p);
        FClickArmed = false;
        if (click) {
            emit OnClick();
        }
    }
    emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

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
