#pragma once
// TMaxColorPanel, the whole picker: a colour circle, a value bar, a swatch (a TMaxPaintBox),
// a unit selector (HSV or RGB) and three number edits, kept consistent.

#include "MaxColor.h"

class QComboBox;
class QLabel;

namespace vantor {

class TMaxColorBar;
class TMaxColorCircle;
class TMaxNumberEdit;

// ---- TMaxPaintBox ----------------------------------------------------------------------------

// A plain drawing surface: its owner draws it in OnPaint.
class TMaxPaintBox : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxPaintBox(QWidget* parent = nullptr) : TMaxControl(parent) {}

signals:
    void OnPaint(QPainter* canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// ---- TMaxColorPanel --------------------------------------------------------------------------

class TMaxColorPanel : public TMaxControl {
    Q_OBJECT
public:
    explicit TMaxColorPanel(QWidget* parent = nullptr);
    ~TMaxColorPanel() override;

    // The colour of circle hue and saturation at bar value.
    TColorValue GetColor() const;
    // Takes a colour through its HSV form: the circle's hue and saturation, the bar's position
    // and the bar's end colour. OnChange follows three times (once per bar notification and
    // once at the end).
    void SetColor(TColorValue color);
    TColorValue GetDWordColor() const;
    void SetDWordColor(TColorValue color);
    // The circle's {H, S, 1}; the bar is not consulted.
    THSVColor GetHSV() const;
    // The circle takes H and S; the bar keeps its position.
    void SetHSV(const THSVColor& hsv);

    void SetColorFromPosition(int x, int y);
    TColorValue GetRGBFromPosition(int x, int y) const;
    THSVColor GetHSVFromPosition(int x, int y) const;

    // Shows the colour in the three edits (in the current unit) and the swatch, then raises
    // OnChange.
    void UpdateColor();
    // Sets labels, limits, formats and hints of the three edits for the unit chosen in the
    // selector, then UpdateColor().
    void UpdateUnit();

    // The children, for the colour dialog's layout checks and for tests.
    TMaxColorCircle* ColorCircle() const { return FColorCircle; }
    TMaxColorBar* BarV() const { return FBarV; }
    TMaxPaintBox* PaintBoxColor() const { return FPaintBoxColor; }
    QComboBox* ComboUnit() const { return FComboUnit; }
    // i = 0, 1, 2.
    TMaxNumberEdit* EditCol(int i) const { return FEditCol[i]; }
    QLabel* LabelCol(int i) const { return FLabelCol[i]; }

    QSize sizeHint() const override { return QSize(208, 148); }

signals:
    void OnChange();

private:
    bool InRGBUnit() const;

    void FColorCircleChange();
    void FBarVChange();
    void FComboUnitChange();
    void FEditColChange();
    void FPaintBoxColorPaint(QPainter* canvas);

    TMaxColorCircle* FColorCircle = nullptr;
    TMaxPaintBox* FPaintBoxColor = nullptr;
    QComboBox* FComboUnit = nullptr;
    TMaxNumberEdit* FEditCol[3] = {};
    QLabel* FLabelCol[3] = {};
    TMaxColorBar* FBarV = nullptr;
};

} // namespace vantor
