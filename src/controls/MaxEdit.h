#pragma once
// The edit controls: TMaxEdit, a single-line edit with hover focus, an optional Enter key
// that gives up the focus and an optional number-only mode; and TMaxNumberEdit, a number
// edit with a spin button that shows one floating-point value within a range.

#include "MaxControl.h"

#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace vantor {

// ---- Number text: pure functions the number edit is built from ---------------------------

// Cleans a number text in one left-to-right pass: digits stay; "-" stays only while nothing
// has been kept yet; the first "." of the text stays; everything else goes ("+" too).
// "1-2.3.4a" gives "12.34", "-.5" stays, ".-5" gives ".5".
QString SanitiseNumberText(const QString& text);

// Reads a decimal number: blanks around it, an optional sign, digits with an optional "."
// and an optional exponent; the "." is the decimal point whatever the locale. Nothing else
// parses (empty text, a lone sign or point, letters). A magnitude beyond double range reads
// as an infinity of its sign, so that clamping turns it into the nearest bound.
std::optional<double> ParseNumberText(const QString& text);

// Applies the bounds the way the number edit does: above max gives max, then below min gives
// min (the upper bound first, so min wins when they cross). NaN gives min.
double ClampToRange(double value, double min, double max);

// Snaps value > 0 to the grid mantissa * increment^n: r = ln(value / mantissa) / ln(increment)
// is split into its integer part n (toward zero) and fraction f; f >= 0.99999999 rounds n up,
// which only guards against r = 2.9999999999. Values <= 0 and unusable grids (mantissa <= 0,
// increment <= 0 or 1) come back unchanged.
double SnapExponential(double value, double mantissa, double increment);

// True when a printf format consumes exactly one double: "%%" anywhere, and one conversion
// with optional flags, width and precision (digits only), an optional "l" and one of
// f F e E g G.
bool IsSingleDoubleFormat(const QString& format);

// The value through a printf format, independent of the locale (the decimal point is always
// "."). An empty format, one that does not consume exactly one double, or a result longer than
// 512 characters gives an empty text.
QString FormatNumberText(const QString& format, double value);

// ---- TMaxEdit -------------------------------------------------------------------------------

class TMaxEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaxEdit(QWidget* parent = nullptr);

    // Puts a text in as the program does, showing its start as an edit control of the desktop
    // does; QLineEdit::setText, which this hides, puts the cursor at the end, so a long path or
    // number would show only its tail.
    void setText(const QString& text);

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

    bool FEnterSelect = true;
    bool FEnterOnFormNotActive = false;
    bool FExitKey = false;
    bool FNumberOnly = false;
    bool FAutoSelect = true;
    bool FClickArmed = false;
    const QEvent* FPassedOnKey = nullptr;
};

// ---- TMaxUpDown: the spin button of the number edit -----------------------------------------

enum TUDBtnType { btNext, btPrev };

// A narrow spin button: its upper half steps "next", its lower half "previous", once on the
// press and then repeatedly while the button is held over the same half. Before every step it
// asks OnChanging, which may refuse the step.
class TMaxUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TMaxUpDown(QWidget* parent = nullptr);

    std::function<bool()> OnChanging;

    // The half of the button under a point: its upper half (y < height / 2) is "next".
    TUDBtnType HalfAt(int y) const;

signals:
    void OnClick(TUDBtnType button);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Step();
    // Forgets a press: a disabled or hidden button receives no release.
    void CancelPress();
    void Repeat();

    std::optional<TUDBtnType> FPressedHalf;
    bool FPointerOverPressedHalf = false;
    QTimer FRepeatTimer;
};

// ---- TMaxNumberEdit -------------------------------------------------------------------------

class TMaxNumberEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double Position READ GetPosition WRITE FSetPosition NOTIFY OnChange)
public:
    explicit TMaxNumberEdit(QWidget* parent = nullptr);
    ~TMaxNumberEdit() override;

    // The value currently typed, parsed and constrained; the stored value when the text does
    // not parse. Stores nothing.
    double GetPosition() const;
    // Stores the value (clamped, and snapped in exponential mode) and shows it through
    // PrintFormat; OnChange follows when the shown text changes.
    void FSetPosition(double value);
    // The same without OnChange.
    void SetPosition(double value);
    // Steps the typed value: + steps * Increment, or * Increment^steps in exponential mode.
    void AddPosition(int steps);

    double Max() const { return FMax; }
    void SetMax(double value);
    double Min() const { return FMin; }
    void SetMin(double value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    double Mantissa() const { return FMantissa; }
    void SetMantissa(double value);
    bool Exponential() const { return FExponential; }
    void SetExponential(bool on);
    QString PrintFormat() const { return FPrintFormat; }
    void SetPrintFormat(const QString& format);
    bool UpDownDragEnabled() const { return FUpDownDragEnabled; }
    void SetUpDownDragEnabled(bool on) { FUpDownDragEnabled = on; }

    // Properties of the inner edit.
    bool AutoSelect() const { return FEdit->AutoSelect(); }
    void SetAutoSelect(bool on) { FEdit->SetAutoSelect(on); }
    bool EnterSelect() const { return FEdit->EnterSelect(); }
    void SetEnterSelect(bool on) { FEdit->SetEnterSelect(on); }
    bool EnterOnFormNotActive() const { return FEdit->EnterOnFormNotActive(); }
    void SetEnterOnFormNotActive(bool on) { FEdit->SetEnterOnFormNotActive(on); }
    int MaxLength() const { return FEdit->maxLength(); }
    void SetMaxLength(int length) { FEdit->setMaxLength(length); }
    bool ReadOnly() const { return FEdit->isReadOnly(); }
    void SetReadOnly(bool on) { FEdit->setReadOnly(on); }

    // The two children, for the colour controls built on number edits and for tests.
    TMaxEdit* Edit() const { return FEdit; }
    TMaxUpDown* UpDown() const { return FUpDown; }

    QSize sizeHint() const override { return QSize(64, 20); }

signals:
    void OnChange();
    void OnEnter();
    void OnExit();
    void OnKeyDown(int& key, Qt::KeyboardModifiers shift);
    void OnKeyPress(QChar& key);
    void OnKeyUp(int& key, Qt::KeyboardModifiers shift);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    // Once at the end of each spin-button drag (not after clicks).
    void OnEndUpDown();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The children cover the whole control. Input sent to the control itself (by a program or
    // a test) goes on to the child it is meant for, so the control acts as one widget.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ForwardMouseEvent(QMouseEvent* event);
    void ForwardKeyEvent(QKeyEvent* event);

    // Bounds, then the exponential snap and the bounds again.
    double Constrain(double value) const;
    // Takes over the typed text: a number is stored and shown; anything else silently shows
    // the stored value again.
    void CommitText();
    void EndDrag();
    // The inner edit fills the width but for the 15-pixel spin button at the right.
    void LayoutChildren();

    void FEditChange();
    void FEditExit();
    void FUpDownClick(TUDBtnType button);
    void FUpDownMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FUpDownMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y);
    void FUpDownMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    bool FUpDownDragEnabled = true;
    bool FExponential = false;
    double FIncrement = 0.01;
    double FMax = 1.0;
    double FMin = 0.0;
    double FPosition = 0.0;
    double FMantissa = 1.0;
    QString FPrintFormat = QStringLiteral("%.2lf");
    TMaxEdit* FEdit = nullptr;
    TMaxUpDown* FUpDown = nullptr;
    int FDragAnchorY = 0;
    bool FDragging = false;
    TScreenCursorOverride FSavedCursor;
    // Set while a silent setter runs: the inner edit's change does not reach OnChange.
    bool FChangeDetached = false;
    // The child that took a press sent to the control, until the release.
    QPointer<QWidget> FForwardTarget;
    bool FForwarding = false;
};

} // namespace vantor
