#include "MaxEdit.h"

#include "MaxNumberText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vantor {

namespace {

bool IsNumberKey(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
}

} // namespace

// ---- TMaxEdit -------------------------------------------------------------------------------

TMaxEdit::TMaxEdit(QWidget* parent) : QLineEdit(parent) {
    // Hover focus needs every pointer move, not only those with a button held.
    setMouseTracking(true);
    connect(this, &QLineEdit::textChanged, this, &TMaxEdit::Change);
}

void TMaxEdit::setText(const QString& text) {
    QLineEdit::setText(text);
    ShowRestingPart();
}

void TMaxEdit::ShowRestingPart() {
    setCursorPosition(FShowEnd ? static_cast<int>(text().size()) : 0);
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
        ShowRestingPart(); // a typed number shows its start, as a loaded one does
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

} // namespace vantor
