#pragma once
// TMaxColorCircle, the HSV colour disc: every hue (angle) and saturation (distance from the
// centre) at full value, with a square cursor.

#include "MaxColor.h"

#include <QImage>

namespace vantor {

// ---- TMaxColorCircle -------------------------------------------------------------------------

class TMaxColorCircle : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorCircle(QWidget* parent = nullptr);

    double H() const { return FH; }
    // The remainder of |x| divided by 360 (-30 gives 30).
    void SetH(double h);
    double S() const { return FS; }
    // Clamped to 0..1.
    void SetS(double s);
    // Takes H and S as SetH and SetS do; V is ignored. Raises no OnChange.
    void SetHSV(const THSVColor& hsv);
    // {H, S, 1}: the circle always stands for full value.
    THSVColor GetHSV() const;

    // The picked colour as a colour value (V dropped on set, 1 on get). The background is the
    // palette's window colour, inherited from the parent until TMaxControl::SetColor sets it.
    void SetColor(TColorValue color);
    TColorValue GetColor() const;
    void SetDWordColor(TColorValue color);
    TColorValue GetDWordColor() const;

    THSVColor GetHSVFromPosition(int x, int y) const;
    TColorValue GetRGBFromPosition(int x, int y) const;
    // Picks the colour under (x, y) and raises OnChange.
    void SetColorFromPosition(int x, int y);

    // The cursor square is 2 * CursorSize - 1 pixels wide.
    int CursorSize() const { return FCursorSize; }
    void SetCursorSize(int size);
    // (min(width, height) - 1) / 2.
    int GetRadius() const;

    // Rebuilds the disc image when its size no longer fits the control (always when forced).
    void UpdateCircle(bool force);
    // Rebuilds the disc image for a new background and repaints.
    void UpdateColor();
    // The cached disc image, 2r + 1 pixels square once built.
    const QImage& CircleImage() const { return FCircleImage; }

    QSize sizeHint() const override { return QSize(127, 127); }

signals:
    // The pointer picked a colour.
    void OnChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateCircle(int r, int n);

    double FH = 0.0;
    double FS = 0.0;
    int FCursorSize = 3;
    QImage FCircleImage;
};

} // namespace vantor
