#include "app/SceneTab.h"

#include "app/Color.h"
#include "app/ColorBox.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxNumberText.h"
#include "controls/MaxGroup.h"
#include "platform/NumberText.h"
#include "settings/SceneSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cfloat>
#include <cmath>

namespace vantor {

namespace ms = main_strings;

namespace {

// Geometry of the columns of group boxes. Fields are 20 pixels high.
constexpr int kColumnMargin = 4;
constexpr int kSceneGroupWidth = 356; // leaves room for the scene tab's scroll bar
constexpr int kSystemGroupWidth = 372;
constexpr int kGroupGap = 8;
constexpr int kRowHeight = 20;
constexpr int kLabelLeft = 8;
constexpr int kSceneFieldLeft = 132; // where the controls of a scene-tab row start
constexpr int kNumberWidth = 64;
constexpr int kTextFieldPitch = 68; // three real fields side by side
constexpr int kBrowseWidth = 30;
// Rows of three real fields: narrow enough to leave room for the camera row's fit button.
constexpr int kTripleWidth = 52;
constexpr int kTriplePitch = 55;
// The column right of the camera row's three fields: 合わせる, and 参照 of the background image.
constexpr int kSideColumnLeft = kSceneFieldLeft + 2 * kTriplePitch + kTripleWidth + 4;
constexpr int kSideColumnWidth = kSceneGroupWidth - 6 - kSideColumnLeft;

// The window's colours at start, window form.
constexpr std::uint32_t kStartBackground = 0x7F7F7F;
constexpr std::uint32_t kStartTitleBack = 0xFFFFFF;
constexpr std::uint32_t kStartProgressBar = 0x985D4D;
constexpr std::uint32_t kStartProgBarBorder = 0x808080;
constexpr std::uint32_t kStartLight = 0xFFFFFF;
constexpr std::uint32_t kStartShadow = 0x282828;

// A group box of a settings column: the alias face, expanded, not collapsible by the user.
TMaxGroupBox* AddGroup(QWidget* parent, const char* caption, int y, int width, int height) {
    auto* group = new TMaxGroupBox(parent);
    group->SetStyle(mgbAlias);
    group->SetCaption(Ui(caption));
    group->setGeometry(kColumnMargin, y, width, height);
    group->SetMaxHeight(height);
    group->SetEnableMinimized(false);
    return group;
}

QLabel* AddLabel(QWidget* parent, const char* text, QRect geometry,
                 Qt::Alignment alignment = Qt::AlignLeft) {
    auto* label = new QLabel(Ui(text), parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

// A label at the left of a row.
QLabel* AddRowLabel(QWidget* parent, const char* text, int y, int width) {
    return AddLabel(parent, text, QRect(kLabelLeft, y, width, kRowHeight));
}

TMaxEdit* AddEdit(QWidget* parent, const char* name, QRect geometry, const QString& text = {}) {
    auto* edit = new TMaxEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    edit->setText(text);
    return edit;
}

TMaxNumberEdit* AddNumberEdit(QWidget* parent, const char* name, int x, int y,
                              const NumberFieldRange& range, double value) {
    auto* edit = new TMaxNumberEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, kNumberWidth, kRowHeight);
    edit->SetMax(range.max);
    edit->SetMin(range.min);
    edit->SetIncrement(range.increment);
    edit->SetPrintFormat(QString::fromLatin1(range.printFormat));
    edit->SetPosition(value);
    return edit;
}

template <std::size_t N>
QComboBox* AddCombo(QWidget* parent, const char* name, QRect geometry,
                    const char* const (&items)[N]) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setGeometry(geometry);
    for (const char* item : items) {
        combo->addItem(Ui(item));
    }
    return combo;
}

// A check box with its caption on the left of the box.
QCheckBox* AddCheck(QWidget* parent, const char* name, const char* caption, int x, int y,
                    bool checked) {
    auto* check = new QCheckBox(Ui(caption), parent);
    check->setObjectName(name);
    check->setLayoutDirection(Qt::RightToLeft);
    check->setChecked(checked);
    check->setGeometry(x, y, check->sizeHint().width(), kRowHeight);
    return check;
}

TColorBox* AddColorBox(QWidget* parent, const char* name, int x, int y, std::uint32_t color) {
    auto* box = new TColorBox(parent);
    box->setObjectName(name);
    box->setGeometry(x, y, 49, kRowHeight);
    box->SetColor(color);
    return box;
}

// Three real-number fields side by side, for a position, a direction or a speed.
void AddTriple(QWidget* parent, int y, const char* const (&names)[3], const char* text,
               TMaxEdit* (&edits)[3]) {
    for (int i = 0; i < 3; ++i) {
        edits[i] = AddEdit(
            parent, names[i],
            QRect(kSceneFieldLeft + i * kTriplePitch, y, kTripleWidth, kRowHeight), Ui(text));
    }
}

// ---- Conversions of typed numbers -------------------------------------------------------------

bool ReadReal(const TMaxEdit* edit, float& field) {
    const std::optional<double> value = parseReal(edit->text().toStdString());
    if (!value || std::fabs(*value) > FLT_MAX) {
        return false; // a number beyond the 32-bit float range has no value to store
    }
    field = static_cast<float>(*value);
    return true;
}

bool ReadInteger(const TMaxEdit* edit, std::int32_t& field) {
    const std::optional<std::int32_t> value = parseInteger(edit->text().toStdString());
    if (!value) {
        return false;
    }
    field = *value;
    return true;
}

// Each number in the fewest digits that read back as the same float (-0.6, not
// -0.600000023841858, which the field is too narrow for).
QString GeneralText(float value) {
    if (!std::isfinite(value)) {
        return QString::fromStdString(formatGeneral(static_cast<double>(value)));
    }
    return QString::fromStdString(shortestFloatText(value));
}

// An image field: a long path shows its file name.
TMaxEdit* AddPathEdit(QWidget* parent, const char* name, QRect geometry) {
    TMaxEdit* edit = AddEdit(parent, name, geometry);
    edit->SetShowEnd(true);
    return edit;
}

std::int32_t TruncatedPosition(const TMaxNumberEdit* edit) {
    return static_cast<std::int32_t>(std::trunc(edit->GetPosition()));
}

void SelectIndex(QComboBox* combo, std::int32_t index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

} // namespace

TSceneTab::TSceneTab(QWidget* scenePage, QWidget* systemPage, TUiServices& ui, QWidget* owner)
    : QObject(owner), FUi(ui), FOwner(owner) {
    BuildSceneTab(scenePage);
    BuildSystemTab(systemPage);
    connect(ComboShade, &QComboBox::currentIndexChanged, this, &TSceneTab::ComboShadeChange);
    ComboShadeChange();
    for (TColorBox* box : {PaintBackground, PaintAmbient, PaintDiffuse, PaintSpecular, PaintShadow,
                           PaintTitleBack, PaintProgressBar, PaintProgBarBorder}) {
        connect(box, &TColorBox::OnClick, this, [this, box] { ColorBoxClick(box); });
    }
}

// ---- Layout ---------------------------------------------------------------------------------

void TSceneTab::BuildSceneTab(QWidget* page) {
    ScrollScene = new QScrollArea(page);
    ScrollScene->setObjectName("ScrollScene");
    ScrollScene->setFrameShape(QFrame::NoFrame);
    ScrollScene->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollScene->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollScene->verticalScrollBar()->setTracking(true);
    ScrollScene->setWidgetResizable(false);
    // Made inside the page, so its controls measure themselves in the window font.
    SceneColumn = new QWidget(page);

    GroupScene = AddGroup(SceneColumn, ms::kGroupScene, kColumnMargin, kSceneGroupWidth, 201);
    GroupRendering = AddGroup(SceneColumn, ms::kGroupRendering, 0, kSceneGroupWidth, 145);
    GroupLighting = AddGroup(SceneColumn, ms::kGroupLighting, 0, kSceneGroupWidth, 140);
    GroupShadow = AddGroup(SceneColumn, ms::kGroupShadow, 0, kSceneGroupWidth, 73);
    GroupScene->SetNextGroup(GroupRendering);
    GroupRendering->SetNextGroup(GroupLighting);
    GroupLighting->SetNextGroup(GroupShadow);
    BuildSceneGroup(GroupScene);
    BuildRenderingGroup(GroupRendering);
    BuildLightingGroup(GroupLighting);
    BuildShadowGroup(GroupShadow);

    SceneColumn->resize(kSceneGroupWidth + 2 * kColumnMargin,
                        GroupShadow->geometry().bottom() + 1 + kGroupGap);
    ScrollScene->setWidget(SceneColumn);
    // The scroll area fills the page whatever size the tab control gives it.
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ScrollScene);
}

void TSceneTab::BuildSceneGroup(TMaxGroupBox* g) {
    const int labelWidth = kSceneFieldLeft - kLabelLeft - 4;
    int y = 20;
    AddRowLabel(g, ms::kLabelCanvasSize, y, labelWidth);
    EditCanvasW = AddNumberEdit(g, "EditCanvasW", kSceneFieldLeft, y, kCanvasSizeRange, 200);
    EditCanvasH = AddNumberEdit(g, "EditCanvasH", kSceneFieldLeft + kTextFieldPitch, y,
                                kCanvasSizeRange, 200);
    y += 26;
    AddRowLabel(g, ms::kLabelBackground, y, labelWidth);
    PaintBackground = AddColorBox(g, "PaintBackground", kSceneFieldLeft, y, kStartBackground);
    y += 26;
    AddRowLabel(g, ms::kLabelBkimg, y, labelWidth);
    EditBkimg = AddPathEdit(g, "EditBkimg",
                            QRect(kSceneFieldLeft, y, kSideColumnLeft - 4 - kSceneFieldLeft,
                                  kRowHeight));
    BtnLoadBkimg = AddBrowseButton(g, kSideColumnLeft, y, EditBkimg);
    BtnLoadBkimg->setObjectName("BtnLoadBkimg");
    BtnLoadBkimg->resize(kSideColumnWidth, kRowHeight);
    y += 26;
    AddRowLabel(g, ms::kLabelModelPos, y, labelWidth);
    TMaxEdit* position[3];
    AddTriple(g, y, {"EditModelPosX", "EditModelPosY", "EditModelPosZ"}, "0", position);
    EditModelPosX = position[0];
    EditModelPosY = position[1];
    EditModelPosZ = position[2];
    EditModelPosZ->setText("500");
    BtnFitCamera = new QPushButton(Ui(ms::kBtnFitCamera), g);
    BtnFitCamera->setObjectName("BtnFitCamera");
    BtnFitCamera->setToolTip(Ui(ms::kTipFitCamera));
    BtnFitCamera->setGeometry(kSideColumnLeft, y, kSideColumnWidth, kRowHeight);
    for (TMaxEdit* edit : position) {
        connect(edit, &QLineEdit::textEdited, this, &TSceneTab::CameraEdited);
    }
    y += 26;
    AddRowLabel(g, ms::kLabelInitRotSpeed, y, labelWidth);
    TMaxEdit* speed[3];
    AddTriple(g, y, {"EditInitRotSpeedX", "EditInitRotSpeedY", "EditInitRotSpeedZ"}, "0", speed);
    EditInitRotSpeedX = speed[0];
    EditInitRotSpeedY = speed[1];
    EditInitRotSpeedZ = speed[2];
    y += 26;
    AddRowLabel(g, ms::kLabelInitRot, y, labelWidth);
    TMaxEdit* angle[3];
    AddTriple(g, y, {"EditInitRowYaw", "EditInitRowPitch", "EditInitRowRoll"}, "0", angle);
    EditInitRowYaw = angle[0];
    EditInitRowPitch = angle[1];
    EditInitRowRoll = angle[2];
    y += 26;
    AddRowLabel(g, ms::kLabelFieldOfView, y, labelWidth);
    EditFieldOfView =
        AddNumberEdit(g, "EditFieldOfView", kSceneFieldLeft, y, kFieldOfViewRange, 45);
    // The number fields of the first two groups take the focus only when clicked.
    EditCanvasW->SetEnterSelect(false);
    EditCanvasH->SetEnterSelect(false);
    EditFieldOfView->SetEnterSelect(false);
}

void TSceneTab::BuildRenderingGroup(TMaxGroupBox* g) {
    const int labelWidth = kSceneFieldLeft - kLabelLeft - 4;
    const int comboWidth = 100;
    int y = 20;
    AddRowLabel(g, ms::kLabelFilting, y, labelWidth);
    ComboFilting = AddCombo(g, "ComboFilting", QRect(kSceneFieldLeft, y, comboWidth, kRowHeight),
                            ms::kFiltingItems);
    y += 25;
    AddRowLabel(g, ms::kLabelShade, y, labelWidth);
    ComboShade = AddCombo(g, "ComboShade", QRect(kSceneFieldLeft, y, comboWidth, kRowHeight),
                          ms::kShadeItems);
    const int edgeLeft = kSceneGroupWidth - 4 - kNumberWidth;
    LabelEdgePower = AddLabel(g, ms::kLabelEdgePower,
                              QRect(kSceneFieldLeft + comboWidth + 4, y,
                                    edgeLeft - 4 - (kSceneFieldLeft + comboWidth + 4), kRowHeight),
                              Qt::AlignRight);
    LabelEdgePower->setObjectName("LabelEdgePower");
    EditEdgePower = AddNumberEdit(g, "EditEdgePower", edgeLeft, y, kEdgePowerRange, 0.5);
    EditEdgePower->SetEnterSelect(false);
    y += 25;
    AddRowLabel(g, ms::kLabelFillMode, y, labelWidth);
    ComboFillMode = AddCombo(g, "ComboFillMode", QRect(kSceneFieldLeft, y, comboWidth, kRowHeight),
                             ms::kFillModeItems);
    y += 25;
    CheckFSAA = AddCheck(g, "CheckFSAA", ms::kCheckFSAA, kLabelLeft, y, false);
    y += 25;
    AddRowLabel(g, ms::kLabelAAQuality, y, labelWidth);
    ComboAAQuality =
        AddCombo(g, "ComboAAQuality", QRect(kSceneFieldLeft, y, comboWidth, kRowHeight),
                 ms::kAAQualityItems);
    // The selections the window starts with.
    ComboFilting->setCurrentIndex(kFilterPoint);
    ComboShade->setCurrentIndex(kShadeGouraud);
    ComboFillMode->setCurrentIndex(kFillSolid);
    ComboAAQuality->setCurrentIndex(kQualityHigh);
}

void TSceneTab::BuildLightingGroup(TMaxGroupBox* g) {
    const int labelWidth = kSceneFieldLeft - kLabelLeft - 4;
    int y = 20;
    CheckLighting = AddCheck(g, "CheckLighting", ms::kCheckLighting, kLabelLeft, y, true);
    CheckSpecular = AddCheck(g, "CheckSpecular", ms::kCheckSpecular, kSceneFieldLeft, y, false);
    y += 24;
    AddRowLabel(g, ms::kLabelLight, y, labelWidth);
    TMaxEdit* light[3];
    AddTriple(g, y, {"EditLightX", "EditLightY", "EditLightZ"}, "-1", light);
    EditLightX = light[0];
    EditLightY = light[1];
    EditLightZ = light[2];
    y += 24;
    // The three light colours side by side, each under its label.
    const char* labels[] = {ms::kLabelAmbient, ms::kLabelDiffuse, ms::kLabelSpecular};
    const char* names[] = {"PaintAmbient", "PaintDiffuse", "PaintSpecular"};
    TColorBox* boxes[3];
    for (int i = 0; i < 3; ++i) {
        // In the columns of the light direction's fields above.
        const int x = kSceneFieldLeft + i * kTriplePitch;
        AddLabel(g, labels[i], QRect(x - 3, y, kTriplePitch, 16), Qt::AlignHCenter);
        boxes[i] = AddColorBox(g, names[i], x, y + 17, kStartLight);
    }
    PaintAmbient = boxes[0];
    PaintDiffuse = boxes[1];
    PaintSpecular = boxes[2];
    y += 17 + kRowHeight + 6;
    AddRowLabel(g, ms::kLabelBumpIntensity, y, labelWidth);
    EditBumpIntensity =
        AddEdit(g, "EditBumpIntensity", QRect(kSceneFieldLeft, y, kNumberWidth, kRowHeight), "0.2");
}

void TSceneTab::BuildShadowGroup(TMaxGroupBox* g) {
    const int labelWidth = kSceneFieldLeft - kLabelLeft - 4;
    int y = 20;
    CheckShadow = AddCheck(g, "CheckShadow", ms::kCheckShadow, kLabelLeft, y, false);
    const int boxLeft = kSceneFieldLeft + 2 * kTriplePitch;
    AddLabel(g, ms::kLabelShadowColor,
             QRect(kSceneFieldLeft, y, boxLeft - 6 - kSceneFieldLeft, kRowHeight), Qt::AlignRight);
    PaintShadow = AddColorBox(g, "PaintShadow", boxLeft, y, kStartShadow);
    y += 26;
    AddRowLabel(g, ms::kLabelShadowDistance, y, labelWidth);
    EditShadowDistance =
        AddEdit(g, "EditShadowDistance", QRect(kSceneFieldLeft, y, kNumberWidth, kRowHeight), "0");
}

void TSceneTab::BuildSystemTab(QWidget* page) {
    GroupSystem = AddGroup(page, ms::kGroupSystem, kColumnMargin, kSystemGroupWidth, 209);
    GroupIcon = AddGroup(page, ms::kGroupIcon, 0, kSystemGroupWidth, 145);
    GroupSystem->SetNextGroup(GroupIcon);
    BuildSystemGroup(GroupSystem);
    BuildIconGroup(GroupIcon);
}

void TSceneTab::BuildSystemGroup(TMaxGroupBox* g) {
    const int fieldLeft = 162;
    const int labelWidth = fieldLeft - kLabelLeft - 4;
    const int pitch = 31;
    int y = 20;
    AddRowLabel(g, ms::kLabelOutputFile, y, labelWidth);
    EditOutputFile = AddEdit(g, "EditOutputFile", QRect(fieldLeft, y, 194, kRowHeight));
    y += pitch;
    AddRowLabel(g, ms::kLabelTitleBack, y, labelWidth);
    PaintTitleBack = AddColorBox(g, "PaintTitleBack", fieldLeft, y, kStartTitleBack);
    y += pitch;
    AddRowLabel(g, ms::kLabelTitleLogoImage, y, labelWidth);
    EditTitleLogoImage =
        AddPathEdit(g, "EditTitleLogoImage", QRect(fieldLeft, y, 160, kRowHeight));
    BtnLoadTitleLogoImage = new QPushButton(Ui(ms::kBtnBrowse), g);
    BtnLoadTitleLogoImage->setObjectName("BtnLoadTitleLogoImage");
    BtnLoadTitleLogoImage->setGeometry(fieldLeft + 164, y, kBrowseWidth, kRowHeight);
    connect(BtnLoadTitleLogoImage, &QPushButton::clicked, this,
            &TSceneTab::BtnLoadTitleLogoImageClick);
    y += pitch;
    AddRowLabel(g, ms::kLabelProgBarPosition, y, labelWidth);
    EditProgBarPosition =
        AddNumberEdit(g, "EditProgBarPosition", fieldLeft, y, kProgBarPositionRange, 0);
    y += pitch;
    AddRowLabel(g, ms::kLabelProgressBar, y, labelWidth);
    PaintProgressBar = AddColorBox(g, "PaintProgressBar", fieldLeft, y, kStartProgressBar);
    y += pitch;
    AddRowLabel(g, ms::kLabelProgBarBorder, y, labelWidth);
    PaintProgBarBorder = AddColorBox(g, "PaintProgBarBorder", fieldLeft, y, kStartProgBarBorder);
}

void TSceneTab::BuildIconGroup(TMaxGroupBox* g) {
    const int imageLeft = 72;
    const int imageWidth = 180;
    const int xLeft = imageLeft + imageWidth + 4 + kBrowseWidth + 6;
    const int coordinateWidth = 36;
    const int yLeft = xLeft + coordinateWidth + 4;
    AddLabel(g, ms::kLabelIconX, QRect(xLeft, 15, coordinateWidth, 16), Qt::AlignHCenter);
    AddLabel(g, ms::kLabelIconY, QRect(yLeft, 15, coordinateWidth, 16), Qt::AlignHCenter);
    struct Row {
        const char* label;
        const char* image;
        const char* button;
        const char* x;
        const char* y;
        TMaxEdit** imageEdit;
        QPushButton** buttonPtr;
        TMaxEdit** xEdit;
        TMaxEdit** yEdit;
    };
    const Row rows[] = {
        {ms::kLabelRotIcon, "EditRotIcon", "BtnLoadRotIcon", "EditRotIconX", "EditRotIconY",
         &EditRotIcon, &BtnLoadRotIcon, &EditRotIconX, &EditRotIconY},
        {ms::kLabelZomIcon, "EditZomIcon", "BtnLoadZomIcon", "EditZomIconX", "EditZomIconY",
         &EditZomIcon, &BtnLoadZomIcon, &EditZomIconX, &EditZomIconY},
        {ms::kLabelPanIcon, "EditPanIcon", "BtnLoadPanIcon", "EditPanIconX", "EditPanIconY",
         &EditPanIcon, &BtnLoadPanIcon, &EditPanIconX, &EditPanIconY},
        {ms::kLabelRstIcon, "EditRstIcon", "BtnLoadRstIcon", "EditRstIconX", "EditRstIconY",
         &EditRstIcon, &BtnLoadRstIcon, &EditRstIconX, &EditRstIconY},
    };
    int y = 34;
    for (const Row& row : rows) {
        AddRowLabel(g, row.label, y, imageLeft - kLabelLeft - 4);
        *row.imageEdit = AddPathEdit(g, row.image, QRect(imageLeft, y, imageWidth, kRowHeight));
        *row.buttonPtr = AddBrowseButton(g, imageLeft + imageWidth + 4, y, *row.imageEdit);
        (*row.buttonPtr)->setObjectName(row.button);
        *row.xEdit = AddEdit(g, row.x, QRect(xLeft, y, coordinateWidth, kRowHeight), "0");
        *row.yEdit = AddEdit(g, row.y, QRect(yLeft, y, coordinateWidth, kRowHeight), "0");
        y += 26;
    }
}

QPushButton* TSceneTab::AddBrowseButton(QWidget* parent, int x, int y, TMaxEdit* target) {
    auto* button = new QPushButton(Ui(ms::kBtnBrowse), parent);
    button->setGeometry(x, y, kBrowseWidth, kRowHeight);
    FBrowseTargets.insert(button, target);
    connect(button, &QPushButton::clicked, this, [this, button] { BtnLoadBkimgClick(button); });
    return button;
}

// ---- Record <-> controls ------------------------------------------------------------------------

bool TSceneTab::ReadSceneControls(QelParameter& record) const {
    QelParameter p = record;
    p.Width = TruncatedPosition(EditCanvasW);
    p.Height = TruncatedPosition(EditCanvasH);
    p.BackGroundImage = SystemText(EditBkimg->text());
    p.TitleLogoImage = SystemText(EditTitleLogoImage->text());
    p.BackGroundColor = windowColorToRgb(PaintBackground->Color());
    p.TitleBackColor = windowColorToRgb(PaintTitleBack->Color());
    p.SoftShadowColor = windowColorToRgb(PaintShadow->Color());
    p.ProgBarColor = windowColorToRgb(PaintProgressBar->Color());
    p.ProgBarBorderColor = windowColorToRgb(PaintProgBarBorder->Color());
    p.LitAmbient = lightColorFromWindowColor(PaintAmbient->Color());
    p.LitDiffuse = lightColorFromWindowColor(PaintDiffuse->Color());
    p.LitSpecular = lightColorFromWindowColor(PaintSpecular->Color());
    p.LightingEnable = CheckLighting->isChecked();
    p.SpecularEnable = CheckSpecular->isChecked();
    p.SoftShadowEnable = CheckShadow->isChecked();
    p.AlwaysFSAA = CheckFSAA->isChecked();
    p.TexFiltering = ComboFilting->currentIndex();
    p.ShadingMode = ComboShade->currentIndex();
    p.FillMode = ComboFillMode->currentIndex();
    p.QualityOfAntiAlias = ComboAAQuality->currentIndex();
    // The edge power is taken even while its field is disabled.
    p.EdgePower = static_cast<float>(EditEdgePower->GetPosition());
    p.FieldOfView = static_cast<float>(EditFieldOfView->GetPosition());
    p.ProgBarPosition = TruncatedPosition(EditProgBarPosition);
    p.RotCtrlIcon.Image = SystemText(EditRotIcon->text());
    p.ZomCtrlIcon.Image = SystemText(EditZomIcon->text());
    p.PanCtrlIcon.Image = SystemText(EditPanIcon->text());
    p.RstCtrlIcon.Image = SystemText(EditRstIcon->text());

    const bool converted =
        ReadReal(EditModelPosX, p.ModelPosition[0]) &&
        ReadReal(EditModelPosY, p.ModelPosition[1]) &&
        ReadReal(EditModelPosZ, p.ModelPosition[2]) && ReadReal(EditLightX, p.LitDirection[0]) &&
        ReadReal(EditLightY, p.LitDirection[1]) && ReadReal(EditLightZ, p.LitDirection[2]) &&
        ReadReal(EditInitRotSpeedX, p.InitRotSpeed[0]) &&
        ReadReal(EditInitRotSpeedY, p.InitRotSpeed[1]) &&
        ReadReal(EditInitRotSpeedZ, p.InitRotSpeed[2]) && ReadReal(EditInitRowYaw, p.InitRotYaw) &&
        ReadReal(EditInitRowPitch, p.InitRotPitch) && ReadReal(EditInitRowRoll, p.InitRotRoll) &&
        ReadReal(EditShadowDistance, p.SoftShadowDistance) &&
        ReadReal(EditBumpIntensity, p.BumpIntensity) &&
        ReadInteger(EditRotIconX, p.RotCtrlIcon.X) && ReadInteger(EditRotIconY, p.RotCtrlIcon.Y) &&
        ReadInteger(EditZomIconX, p.ZomCtrlIcon.X) && ReadInteger(EditZomIconY, p.ZomCtrlIcon.Y) &&
        ReadInteger(EditPanIconX, p.PanCtrlIcon.X) && ReadInteger(EditPanIconY, p.PanCtrlIcon.Y) &&
        ReadInteger(EditRstIconX, p.RstCtrlIcon.X) && ReadInteger(EditRstIconY, p.RstCtrlIcon.Y);
    if (!converted) {
        return false;
    }
    record = std::move(p);
    return true;
}

void TSceneTab::WriteSceneControls(const QelParameter& p) {
    EditBkimg->setText(FromSystemText(p.BackGroundImage));
    EditTitleLogoImage->setText(FromSystemText(p.TitleLogoImage));
    PaintBackground->SetColor(rgbToWindowColor(p.BackGroundColor));
    PaintTitleBack->SetColor(rgbToWindowColor(p.TitleBackColor));
    PaintProgressBar->SetColor(rgbToWindowColor(p.ProgBarColor));
    PaintProgBarBorder->SetColor(rgbToWindowColor(p.ProgBarBorderColor));
    CheckLighting->setChecked(p.LightingEnable);
    CheckSpecular->setChecked(p.SpecularEnable);
    PaintAmbient->SetColor(windowColorFromLightColor(p.LitAmbient));
    PaintDiffuse->SetColor(windowColorFromLightColor(p.LitDiffuse));
    PaintSpecular->SetColor(windowColorFromLightColor(p.LitSpecular));
    SelectIndex(ComboFilting, p.TexFiltering);
    SelectIndex(ComboShade, p.ShadingMode);
    SelectIndex(ComboFillMode, p.FillMode);
    CheckShadow->setChecked(p.SoftShadowEnable);
    PaintShadow->SetColor(rgbToWindowColor(p.SoftShadowColor));
    CheckFSAA->setChecked(p.AlwaysFSAA);
    SelectIndex(ComboAAQuality, p.QualityOfAntiAlias);
    EditCanvasW->SetPosition(p.Width);
    EditCanvasH->SetPosition(p.Height);
    EditLightX->setText(GeneralText(p.LitDirection[0]));
    EditLightY->setText(GeneralText(p.LitDirection[1]));
    EditLightZ->setText(GeneralText(p.LitDirection[2]));
    ShowModelPosition(p.ModelPosition);
    EditShadowDistance->setText(GeneralText(p.SoftShadowDistance));
    EditEdgePower->SetPosition(p.EdgePower);
    EditBumpIntensity->setText(FormatNumberText(QStringLiteral("%.3f"), p.BumpIntensity));
    EditFieldOfView->SetPosition(p.FieldOfView);
    EditInitRotSpeedX->setText(GeneralText(p.InitRotSpeed[0]));
    EditInitRotSpeedY->setText(GeneralText(p.InitRotSpeed[1]));
    EditInitRotSpeedZ->setText(GeneralText(p.InitRotSpeed[2]));
    EditInitRowYaw->setText(GeneralText(p.InitRotYaw));
    EditInitRowPitch->setText(GeneralText(p.InitRotPitch));
    EditInitRowRoll->setText(GeneralText(p.InitRotRoll));
    EditProgBarPosition->SetPosition(p.ProgBarPosition);
    const std::pair<const QelIcon*, TMaxEdit* const*> icons[] = {
        {&p.RotCtrlIcon, &EditRotIcon},
        {&p.ZomCtrlIcon, &EditZomIcon},
        {&p.PanCtrlIcon, &EditPanIcon},
        {&p.RstCtrlIcon, &EditRstIcon},
    };
    for (const auto& [icon, edit] : icons) {
        (*edit)->setText(FromSystemText(icon->Image));
    }
    EditRotIconX->setText(QString::number(p.RotCtrlIcon.X));
    EditRotIconY->setText(QString::number(p.RotCtrlIcon.Y));
    EditZomIconX->setText(QString::number(p.ZomCtrlIcon.X));
    EditZomIconY->setText(QString::number(p.ZomCtrlIcon.Y));
    EditPanIconX->setText(QString::number(p.PanCtrlIcon.X));
    EditPanIconY->setText(QString::number(p.PanCtrlIcon.Y));
    EditRstIconX->setText(QString::number(p.RstCtrlIcon.X));
    EditRstIconY->setText(QString::number(p.RstCtrlIcon.Y));
    ComboShadeChange();
}

void TSceneTab::ComboShadeChange() {
    const bool cartoon = ComboShade->currentIndex() == kShadeCartoon;
    EditEdgePower->setEnabled(cartoon);
    LabelEdgePower->setEnabled(cartoon);
}

// ---- Colour boxes, browse buttons and the output name ---------------------------------------

void TSceneTab::ColorBoxClick(TColorBox* box) {
    ChooseBoxColor(*box, FUi, FOwner);
}

std::optional<QString> TSceneTab::ChooseImage() {
    return FUi.ExecuteFileDialog(FOwner, TFileDialogKind::Open, OpenImageDialogSetup());
}

void TSceneTab::ShowModelPosition(const QelFloat3& position) {
    EditModelPosX->setText(GeneralText(position[0]));
    EditModelPosY->setText(GeneralText(position[1]));
    EditModelPosZ->setText(GeneralText(position[2]));
}

void TSceneTab::ShowFittedModelPosition(const QelFloat3& position) {
    TMaxEdit* const fields[] = {EditModelPosX, EditModelPosY, EditModelPosZ};
    for (int i = 0; i < 3; ++i) {
        fields[i]->setText(QString::fromStdString(shortestFloatText(position[i])));
    }
}

void TSceneTab::BtnLoadBkimgClick(QPushButton* button) {
    TMaxEdit* target = FBrowseTargets.value(button);
    if (target == nullptr) {
        return;
    }
    if (const std::optional<QString> path = ChooseImage()) {
        target->setText(*path);
    }
}

void TSceneTab::BtnLoadTitleLogoImageClick() {
    if (const std::optional<QString> path = ChooseImage()) {
        EditTitleLogoImage->setText(*path);
    }
}

QString TSceneTab::OutputFileName() const {
    return EditOutputFile->text();
}

void TSceneTab::SetOutputFileName(const QString& name) {
    EditOutputFile->setText(name);
}

} // namespace vantor
