#pragma once
// TMaxEdit, a single-line edit with hover focus, an optional Enter key that gives up the
// focus and an optional number-only mode.

#include "MaxControl.h"

#include <QLineEdit>
#include <QString>
#include <QWidget>

namespace vantor {

// ---- TMaxEdit -------------------------------------------------------------------------------

class TMaxEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaxEdit(QWidget* parent = nullptr);

    // Puts a text in as the program does, showing its start as an edit control of the desktop
    // does (its end with ShowEnd); QLineEdit::setText, which this hides, puts the cursor at the
    // end, so a long number would show only its tail. Leaving the edit shows the same part.
    void setText(const QString& text);
    // A long text shows its end rather than its start: a path, whose file name is its end.
    bool ShowEnd() const { return FShowEnd; }
    void SetShowEnd(bool on) { FShowEnd = on; }

    // Hover focus: the edit takes the keyboard focus when the pointer moves over it.
    bool EnterSelect() const { return FEnterSelect; }
    void SetEnterSelect(bool on) { FEnterSelect = on; }
    // Hover focus also while another application is in the foreground.
    bool EnterOnFormNotActive() const { return FEnterOnFormNotActive; }
    void SetEnterOnFormNotActive(bool on) { FEnterOnFormNotActive = on; }
    // The Enter key takes the keyboard focus away so that no control of the window holds it.
    bool ExitKey() const { return FExitKey; }
    void SetExitKey(bool on) { FExitKey = on; }
    // Typed characters other than digits, "+", "-" and "." are dropped and every change of the
    // text is cleaned (SanitiseNumberText).
    bool NumberOnly() const { return FNumberOnly; }
    void SetNumberOnly(bool on) { FNumberOnly = on; }
    // The whole text is selected when the focus arrives other than by a mouse press.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool on) { FAutoSelect = on; }

    // Hover focus, run on every pointer move over the edit before OnMouseMove.
    void SetFocusOnEnter();

    // Whether event is the last key event the edit left unused. Qt hands such a key on to the
    // parent; a parent that passes keys down to the edit must not hand this one back.
    bool PassedOn(const QEvent* event) const { return event == FPassedOnKey; }

signals:
    void OnChange();
    void OnEnter();
    void OnExit();
    // Key events with the key by reference: a handler may change it or cancel it with 0.
    // Connect them directly (the default for objects of one thread). A key cancelled in
    // OnKeyDown produces no OnKeyPress and never reaches the edit.
    void OnKeyDown(int& key, Qt::KeyboardModifiers shift);
    void OnKeyPress(QChar& key);
    void OnKeyUp(int& key, Qt::KeyboardModifiers shift);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    // A left press and a left release inside the edit.
    void OnClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Runs after every change of the text: the sanitiser, then OnChange.
    void Change();
    // Whether a typed character gets through the key rules; Enter with ExitKey also gives up
    // the focus here.
    bool AcceptTypedCharacter(QChar ch);
    // Scrolls the text to the part it shows while not edited.
    void ShowRestingPart();

    bool FEnterSelect = true;
    bool FEnterOnFormNotActive = false;
    bool FExitKey = false;
    bool FNumberOnly = false;
    bool FAutoSelect = true;
    bool FShowEnd = false;
    bool FClickArmed = false;
    const QEvent* FPassedOnKey = nullptr;
};

} // namespace vantor
