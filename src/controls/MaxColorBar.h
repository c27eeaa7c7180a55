#pragma once
// TMaxColorBar, a gradient strip between two colours with a triangular cursor.

#include "MaxColor.h"

namespace vantor {

// ---- TMaxColorBar ----------------------------------------------------------------------------

class TMaxColorBar : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorBar(QWidget* parent = nullptr);

    TMaxColorBarStyle BarStyle() const { return FBarStyle; }
    // A new style also swaps width and height.
    void SetBarStyle(TMaxColorBarStyle style);
    // Size of the triangular cursor; also the margin at the bar's ends.
    int CursorSize() const { return FCursorSize; }
    void SetCursorSize(int size);
    TColorValue MinColor() const { return FMinColor; }
    // Stores a different colour and repaints; raises OnChange in every case.
    void SetMinColor(TColorValue color);
    TColorValue MaxColor() const { return FMaxColor; }
    void SetMaxColor(TColorValue color);
    double Position() const { return FPosition; }
    // Stores a different position, clamped to 0..1, and repaints; raises OnChange in every
    // case, even when nothing changed (the panel refreshes on every bar notification).
    void SetPosition(double position);
    // The colour at Position: per channel round(min * (1 - p) + max * p).
    TColorValue GetColor() const;
    // Moves the cursor under the pointer.
    void SetColorFromPosition(int x, int y);

    QSize sizeHint() const override { return QSize(128, 20); }

signals:
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void PaintHorizonalBar(QPainter& painter);
    void PaintVerticalBar(QPainter& painter);
    void PaintHorizonalCursor(QPainter& painter);
    void PaintVerticalCursor(QPainter& painter);

    TMaxColorBarStyle FBarStyle = mbctHorizonal;
    int FCursorSize = 5;
    TColorValue FMinColor = 0x000000;
    TColorValue FMaxColor = 0xFFFFFF;
    double FPosition = 0.0;
};

} // namespace vantor
