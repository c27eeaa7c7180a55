#pragma once
// TMaxNumberEdit, a number edit with a spin button that shows one floating-point value within
// a range, and TMaxUpDown, its spin button.

#include "MaxEdit.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

namespace vantor {

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
