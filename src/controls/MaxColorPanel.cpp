#include "MaxColorPanel.h"

#include "ControlStrings.h"
#include "MaxColorBar.h"
#include "MaxColorCircle.h"
#include "MaxNumberEdit.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <algorithm>
#include <cmath>

namespace vantor {

// ---- TMaxPaintBox ---------------------------------------------------------------------------

void TMaxPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    emit OnPaint(&painter);
}

// ---- TMaxColorPanel -------------------------------------------------------------------------

namespace {

enum TColorUnit { cuHSV = 0, cuRGB = 1 };

struct TUnitLayout {
    const char* labels[3];
    const char* hints[3];
    double max[3];
};

const TUnitLayout& UnitLayout(bool rgb) {
    static const TUnitLayout hsv = {
        {"H", "S", "V"},
        {control_strings::kHue, control_strings::kSaturation, control_strings::kBrightness},
        {359, 100, 100}};
    static const TUnitLayout rgbLayout = {
        {"R", "G", "B"},
        {control_strings::kRed, control_strings::kGreen, control_strings::kBlue},
        {255, 255, 255}};
    return rgb ? rgbLayout : hsv;
}

} // namespace

TMaxColorPanel::TMaxColorPanel(QWidget* parent) : TMaxControl(parent) {
    resize(208, 148);

    FColorCircle = new TMaxColorCircle(this);
    FColorCircle->setGeometry(0, 0, 127, 127);
    connect(FColorCircle, &TMaxColorCircle::OnChange, this, &TMaxColorPanel::FColorCircleChange);

    FPaintBoxColor = new TMaxPaintBox(this);
    FPaintBoxColor->setGeometry(136, 3, 72, 38);
    connect(FPaintBoxColor, &TMaxPaintBox::OnPaint, this, &TMaxColorPanel::FPaintBoxColorPaint);

    FComboUnit = new QComboBox(this);
    FComboUnit->setGeometry(160, 48, 49, 20);
    // 49 pixels leave the style's own padding too little room for "HSV".
    FComboUnit->setStyleSheet(QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; }"));
    FComboUnit->addItems({QStringLiteral("HSV"), QStringLiteral("RGB")});
    FComboUnit->setCurrentIndex(cuHSV);

    for (int i = 0; i < 3; ++i) {
        FEditCol[i] = new TMaxNumberEdit(this);
        FEditCol[i]->setGeometry(144, 76 + 24 * i, 64, 20);
        connect(FEditCol[i], &TMaxNumberEdit::OnChange, this, &TMaxColorPanel::FEditColChange);
        FLabelCol[i] = new QLabel(this);
        FLabelCol[i]->setGeometry(128, 79 + 24 * i, 12, 12);
        FLabelCol[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    FBarV = new TMaxColorBar(this);
    FBarV->setGeometry(0, 132, 127, 16);
    FBarV->setToolTip(QString::fromUtf8(control_strings::kBrightness));
    connect(FBarV, &TMaxColorBar::OnChange, this, &TMaxColorPanel::FBarVChange);

    // Connected last, so that filling the selector does not switch units on a half-built panel.
    connect(FComboUnit, &QComboBox::currentIndexChanged, this, &TMaxColorPanel::FComboUnitChange);
    UpdateUnit();
}

TMaxColorPanel::~TMaxColorPanel() = default;

bool TMaxColorPanel::InRGBUnit() const {
    return FComboUnit->currentIndex() == cuRGB;
}

TColorValue TMaxColorPanel::GetColor() const {
    return HSVToRGB(THSVColor{FColorCircle->H(), FColorCircle->S(), FBarV->Position()});
}

void TMaxColorPanel::SetColor(TColorValue color) {
    const THSVColor hsv = RGBToHSV(ResolveColorValue(color, palette()));
    FColorCircle->SetHSV(hsv);
    FBarV->SetPosition(hsv.V);
    FBarV->SetMaxColor(FColorCircle->GetColor());
    UpdateColor();
}

TColorValue TMaxColorPanel::GetDWordColor() const {
    return SwapRedBlue(GetColor());
}

void TMaxColorPanel::SetDWordColor(TColorValue color) {
    SetColor(SwapRedBlue(color));
}

THSVColor TMaxColorPanel::GetHSV() const {
    return FColorCircle->GetHSV();
}

void TMaxColorPanel::SetHSV(const THSVColor& hsv) {
    FColorCircle->SetHSV(hsv);
    FBarV->SetMaxColor(FColorCircle->GetColor());
}

void TMaxColorPanel::SetColorFromPosition(int x, int y) {
    FColorCircle->SetColorFromPosition(x, y);
    FBarV->SetMaxColor(FColorCircle->GetColor());
}

TColorValue TMaxColorPanel::GetRGBFromPosition(int x, int y) const {
    return FColorCircle->GetRGBFromPosition(x, y);
}

THSVColor TMaxColorPanel::GetHSVFromPosition(int x, int y) const {
    return FColorCircle->GetHSVFromPosition(x, y);
}

void TMaxColorPanel::UpdateColor() {
    {
        // The edits show the colour; their notifications would feed it back.
        const QSignalBlocker detach0(FEditCol[0]);
        const QSignalBlocker detach1(FEditCol[1]);
        const QSignalBlocker detach2(FEditCol[2]);
        if (InRGBUnit()) {
            const TColorValue c = GetColor();
            FEditCol[0]->FSetPosition(RedOf(c));
            FEditCol[1]->FSetPosition(GreenOf(c));
            FEditCol[2]->FSetPosition(BlueOf(c));
        } else {
            FEditCol[0]->FSetPosition(FColorCircle->H());
            FEditCol[1]->FSetPosition(FColorCircle->S() * 100);
            FEditCol[2]->FSetPosition(FBarV->Position() * 100);
        }
    }
    for (TMaxNumberEdit* edit : FEditCol) {
        edit->Edit()->update();
    }
    FPaintBoxColor->update();
    emit OnChange();
}

void TMaxColorPanel::UpdateUnit() {
    {
        const QSignalBlocker detach0(FEditCol[0]);
        const QSignalBlocker detach1(FEditCol[1]);
        const QSignalBlocker detach2(FEditCol[2]);
        const TUnitLayout& layout = UnitLayout(InRGBUnit());
        FEditCol[2]->SetMin(0);
        for (int i = 0; i < 3; ++i) {
            FLabelCol[i]->setText(QString::fromLatin1(layout.labels[i]));
            FEditCol[i]->SetMax(layout.max[i]);
            FEditCol[i]->SetIncrement(1);
            FEditCol[i]->SetPrintFormat(QStringLiteral("%.0f"));
            FEditCol[i]->setToolTip(QString::fromUtf8(layout.hints[i]));
        }
    }
    UpdateColor();
}

void TMaxColorPanel::FColorCircleChange() {
    FBarV->SetMaxColor(FColorCircle->GetColor());
    UpdateColor();
}

void TMaxColorPanel::FBarVChange() {
    UpdateColor();
}

void TMaxColorPanel::FComboUnitChange() {
    UpdateUnit();
}

void TMaxColorPanel::FEditColChange() {
    THSVColor hsv;
    if (InRGBUnit()) {
        const auto channel = [this](int i) { return static_cast<int>(FEditCol[i]->GetPosition()); };
        hsv = RGBToHSV(ColorValueFromChannels(channel(0), channel(1), channel(2)));
    } else {
        hsv = THSVColor{FEditCol[0]->GetPosition(), FEditCol[1]->GetPosition() * 0.01,
                        FEditCol[2]->GetPosition() * 0.01};
    }
    {
        const QSignalBlocker detach(FColorCircle);
        FColorCircle->SetHSV(hsv);
    }
    {
        const QSignalBlocker detach(FBarV);
        FBarV->SetPosition(hsv.V);
    }
    // The bar's notification refreshes the edits and the swatch.
    FBarV->SetMaxColor(FColorCircle->GetColor());
    FPaintBoxColor->update();
    emit OnChange();
}

void TMaxColorPanel::FPaintBoxColorPaint(QPainter* canvas) {
    canvas->fillRect(FPaintBoxColor->rect(), QColorOf(GetColor()));
}

} // namespace vantor
