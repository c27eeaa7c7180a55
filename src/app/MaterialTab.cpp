#include "app/MaterialTab.h"

#include "app/Color.h"
#include "app/ColorBox.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "controls/MaxBtn.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "model/QelScene.h"
#include "publish/QelParameter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <algorithm>

namespace vantor {

namespace ms = main_strings;

namespace {

constexpr int kListWidth = 121;
constexpr int kItemHeight = 12;
constexpr int kGroupLeft = 4;
constexpr int kGroupWidth = 252;
constexpr int kRowHeight = 20;
constexpr int kRowPitch = 25;
constexpr int kLabelLeft = 4;
constexpr char kFactorFormat[] = "%.2f";

// One factor row as designed: its label, its controls and their ranges. The environment
// strength's track bar ends at 1 while its field goes to 9.99, so a stronger environment can
// be typed but not dragged.
struct TFactorDesign {
    const char* Label;
    const char* TrackName;
    const char* EditName;
    TMaxTrack* TMaterialTab::*Track;
    TMaxNumberEdit* TMaterialTab::*Edit;
    float TrackMax;
    double EditMax;
    double Increment;
};

constexpr TFactorDesign kFactorDesigns[mfCount] = {
    {ms::kLabelAlpha, "TrackAlpha", "EditAlpha", &TMaterialTab::TrackAlpha,
     &TMaterialTab::EditAlpha, 1, 1, 0.01},
    {ms::kLabelDif, "TrackDif", "EditDif", &TMaterialTab::TrackDif, &TMaterialTab::EditDif, 1, 1,
     0.01},
    {ms::kLabelEmi, "TrackEmi", "EditEmi", &TMaterialTab::TrackEmi, &TMaterialTab::EditEmi, 1, 1,
     0.01},
    {ms::kLabelSpc, "TrackSpc", "EditSpc", &TMaterialTab::TrackSpc, &TMaterialTab::EditSpc, 1, 1,
     0.1},
    {ms::kLabelSpcPower, "TrackSpcPower", "EditSpcPower", &TMaterialTab::TrackSpcPower,
     &TMaterialTab::EditSpcPower, 100, 100, 0.1},
    {ms::kLabelAmb, "TrackAmb", "EditAmb", &TMaterialTab::TrackAmb, &TMaterialTab::EditAmb, 1, 1,
     0.01},
    {ms::kLabelEnvPow, "TrackEnvPow", "EditEnvPow", &TMaterialTab::TrackEnvPow,
     &TMaterialTab::EditEnvPow, 1, 9.99, 0.01},
};

struct TMapDesign {
    const char* Label;
    const char* EditName;
    const char* ButtonName;
    TMaxEdit* TMaterialTab::*Edit;
    QPushButton* TMaterialTab::*Button;
};

constexpr TMapDesign kMapDesigns[mmCount] = {
    {ms::kLabelTexture, "EditTexture", "BtnLoadTexture", &TMaterialTab::EditTexture,
     &TMaterialTab::BtnLoadTexture},
    {ms::kLabelAlphaPlane, "EditAlphaPlane", "BtnLoadAlphaPlane", &TMaterialTab::EditAlphaPlane,
     &TMaterialTab::BtnLoadAlphaPlane},
    {ms::kLabelBump, "EditBump", "BtnLoadBump", &TMaterialTab::EditBump,
     &TMaterialTab::BtnLoadBump},
    {ms::kLabelEnvMap, "EditEnvMap", "BtnLoadEnvMap", &TMaterialTab::EditEnvMap,
     &TMaterialTab::BtnLoadEnvMap},
};

float& FactorField(QelMaterial& material, TMaterialFactor factor) {
    switch (factor) {
    case mfAlpha:
        return material.col[3];
    case mfDif:
        return material.dif;
    case mfEmi:
        return material.emi;
    case mfSpc:
        return material.spc;
    case mfSpcPower:
        return material.power;
    case mfAmb:
        return material.amb;
    case mfEnvPow:
    case mfCount:
        break;
    }
    return material.envPower;
}

std::string& MapField(QelMaterial& material, TMaterialMap map) {
    switch (map) {
    case mmTexture:
        return material.tex;
    case mmAlphaPlane:
        return material.aplane;
    case mmBump:
        return material.bump;
    case mmEnvMap:
    case mmCount:
        break;
    }
    return material.env;
}

// The materials the list may stand for: the scene's count, never more than it holds.
std::size_t ListedMaterialCount(const QelScene& scene) {
    return std::min(scene.materials.size(),
                    static_cast<std::size_t>(std::max(scene.materialCount, 0)));
}

TMaxGroupBox* AddGroup(QWidget* parent, const char* caption, int y, int height) {
    auto* group = new TMaxGroupBox(parent);
    group->SetStyle(mgbAlias);
    group->SetCaption(Ui(caption));
    group->setGeometry(kGroupLeft, y, kGroupWidth, height);
    group->SetMaxHeight(height);
    group->SetEnableMinimized(false);
    return group;
}

QLabel* AddRowLabel(QWidget* parent, const char* text, int y, int width, int height = kRowHeight) {
    auto* label = new QLabel(Ui(text), parent);
    label->setGeometry(kLabelLeft, y, width, height);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

TMaterialTab::TMaterialTab(QWidget* page, QelScene& scene, TUiServices& ui, QWidget* owner)
    : QObject(owner), FScene(scene), FUi(ui), FOwner(owner) {
    ListBoxMaterial = new TMaxListBox(page);
    ListBoxMaterial->setObjectName("ListBoxMaterial");
    ListBoxMaterial->setFixedWidth(kListWidth);
    ListBoxMaterial->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxMaterial->SetItemHeight(kItemHeight);
    connect(ListBoxMaterial, &TMaxListBox::OnClick, this, &TMaterialTab::ListBoxMaterialClick);

    auto* editor = new QWidget(page);
    GroupMaterial = AddGroup(editor, ms::kGroupMaterial, kGroupLeft, 233);
    GroupMapping = AddGroup(editor, ms::kGroupMapping, 0, 123);
    GroupMaterial->SetNextGroup(GroupMapping);
    BuildMaterialGroup();
    BuildMappingGroup();

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListBoxMaterial);
    layout->addWidget(editor, 1);
}

// ---- Layout ---------------------------------------------------------------------------------

void TMaterialTab::BuildMaterialGroup() {
    TMaxGroupBox* g = GroupMaterial;
    const int labelWidth = 62;
    const int fieldLeft = kLabelLeft + labelWidth + 4;
    int y = 20;
    AddRowLabel(g, ms::kLabelMaterialColor, y, labelWidth, 25);
    PaintMaterial = new TColorBox(g);
    PaintMaterial->setObjectName("PaintMaterial");
    PaintMaterial->setGeometry(fieldLeft, y, 49, 25);
    PaintMaterial->SetColor(0);
    connect(PaintMaterial, &TColorBox::OnClick, this, &TMaterialTab::PaintMaterialClick);
    y += 25 + 7;

    for (int f = 0; f < mfCount; ++f) {
        const TFactorDesign& design = kFactorDesigns[f];
        AddRowLabel(g, design.Label, y, labelWidth);
        auto* track = new TMaxTrack(g);
        track->setObjectName(design.TrackName);
        track->setGeometry(fieldLeft, y + (kRowHeight - 13) / 2, 106, 13);
        track->SetMax(design.TrackMax);
        auto* edit = new TMaxNumberEdit(g);
        edit->setObjectName(design.EditName);
        edit->setGeometry(fieldLeft + 106 + 4, y, 64, kRowHeight);
        edit->SetMax(design.EditMax);
        edit->SetIncrement(design.Increment);
        edit->SetPrintFormat(QString::fromLatin1(kFactorFormat));
        this->*design.Track = track;
        this->*design.Edit = edit;
        const auto factor = static_cast<TMaterialFactor>(f);
        FFactors[f] = {track, edit};
        connect(track, &TMaxTrack::OnChange, this, [this, factor] { TrackFactorChange(factor); });
        connect(edit, &TMaxNumberEdit::OnChange, this,
                [this, factor] { EditFactorChange(factor); });
        y += kRowPitch;
    }
}

void TMaterialTab::BuildMappingGroup() {
    TMaxGroupBox* g = GroupMapping;
    const int labelWidth = 40;
    const int fieldLeft = kLabelLeft + labelWidth + 4;
    int y = 20;
    for (int m = 0; m < mmCount; ++m) {
        const TMapDesign& design = kMapDesigns[m];
        AddRowLabel(g, design.Label, y, labelWidth);
        auto* edit = new TMaxEdit(g);
        edit->setObjectName(design.EditName);
        edit->setGeometry(fieldLeft, y, 160, kRowHeight);
        edit->SetShowEnd(true);
        auto* button = new QPushButton(Ui(ms::kBtnBrowse), g);
        button->setObjectName(design.ButtonName);
        button->setGeometry(fieldLeft + 160 + 4, y, 30, kRowHeight);
        this->*design.Edit = edit;
        this->*design.Button = button;
        const auto map = static_cast<TMaterialMap>(m);
        FMaps[m] = {edit, button};
        connect(edit, &TMaxEdit::OnChange, this, [this, map] { EditMapChange(map); });
        connect(button, &QPushButton::clicked, this, [this, map] { BtnLoadMapClick(map); });
        y += kRowPitch;
    }
}

// ---- The list ---------------------------------------------------------------------------------

void TMaterialTab::RefreshMaterialList() {
    ListBoxMaterial->setUpdatesEnabled(false);
    ListBoxMaterial->clear();
    const std::size_t count = ListedMaterialCount(FScene);
    for (std::size_t i = 0; i < count; ++i) {
        ListBoxMaterial->addItem(FromCodePage(FScene.codePage, FScene.materials[i].name));
    }
    ListBoxMaterial->setUpdatesEnabled(true);
    if (ListBoxMaterial->count() > 0) {
        ListBoxMaterial->SetItemIndex(0);
        ShowMaterial();
    } else {
        ShowNoMaterial(); // the previous model's material must not stay editable
    }
}

void TMaterialTab::ClearMaterialList() {
    ListBoxMaterial->clear();
    ShowNoMaterial();
}

QelMaterial* TMaterialTab::SelectedMaterial() const {
    const int index = ListBoxMaterial->ItemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= ListedMaterialCount(FScene)) {
        return nullptr;
    }
    return &FScene.materials[static_cast<std::size_t>(index)];
}

void TMaterialTab::ListBoxMaterialClick() {
    if (ListBoxMaterial->ItemIndex() >= 0) {
        ShowMaterial();
    }
}

void TMaterialTab::ShowMaterial() {
    QelMaterial* material = SelectedMaterial();
    if (material == nullptr) {
        return;
    }
    const QScopedValueRollback showing(FShowing, true);
    GroupMaterial->setEnabled(true);
    GroupMapping->setEnabled(true);
    PaintMaterial->SetColor(
        windowColorFromLightColor({material->col[0], material->col[1], material->col[2]}));
    // Each factor goes through its track bar, whose handler moves the number field, whose
    // handler stores the value as the field shows it.
    for (int f = 0; f < mfCount; ++f) {
        FFactors[f].Track->FSetPosition(FactorField(*material, static_cast<TMaterialFactor>(f)));
    }
    for (int m = 0; m < mmCount; ++m) {
        TMaxEdit* edit = FMaps[m].Edit;
        edit->setText(
            FromCodePage(FScene.codePage, MapField(*material, static_cast<TMaterialMap>(m))));
        MarkMapField(edit, true);
    }
}

void TMaterialTab::ShowNoMaterial() {
    const QScopedValueRollback showing(FShowing, true);
    PaintMaterial->SetColor(0);
    for (const TFactorRow& row : FFactors) {
        row.Track->SetPosition(0);
        row.Edit->SetPosition(0);
    }
    for (const TMapRow& row : FMaps) {
        row.Edit->clear(); // with no selection, the change reaches no material
        MarkMapField(row.Edit, true);
    }
    GroupMaterial->setEnabled(false);
    GroupMapping->setEnabled(false);
}

// ---- Factors ----------------------------------------------------------------------------------

void TMaterialTab::TrackFactorChange(TMaterialFactor factor) {
    const TFactorRow& row = FFactors[factor];
    row.Edit->FSetPosition(row.Track->GetPosition());
}

void TMaterialTab::EditFactorChange(TMaterialFactor factor) {
    QelMaterial* material = SelectedMaterial();
    if (material == nullptr) {
        return;
    }
    const TFactorRow& row = FFactors[factor];
    const auto value = static_cast<float>(row.Edit->GetPosition());
    float& field = FactorField(*material, factor);
    const bool changed = field != value;
    field = value;
    row.Track->SetPosition(value); // silently: the two controls must not feed each other
    if (changed && !FShowing) {
        emit MaterialEdited();
    }
}

// ---- Maps -----------------------------------------------------------------------------------

void TMaterialTab::EditMapChange(TMaterialMap map) {
    QelMaterial* material = SelectedMaterial();
    if (material == nullptr) {
        return;
    }
    TMaxEdit* edit = FMaps[map].Edit;
    std::string& field = MapField(*material, map);
    const QString text = edit->text();
    // The text the field shows for the stored name keeps the stored bytes, even those that
    // do not convert back to the same bytes (undecodable ones shown as replacement marks).
    if (text == FromCodePage(FScene.codePage, field)) {
        MarkMapField(edit, true);
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    std::optional<std::string> encoded = encodeFromUtf8(
        FScene.codePage, std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    const bool changed = encoded && *encoded != field;
    if (encoded) {
        field = std::move(*encoded);
    }
    MarkMapField(edit, encoded.has_value());
    if (changed && !FShowing) {
        emit MaterialEdited();
    }
}

void TMaterialTab::MarkMapField(TMaxEdit* edit, bool stored) {
    QPalette palette; // holds no colours of its own: the field draws as its parent says
    if (!stored) {
        palette.setColor(QPalette::Text, Qt::red);
    }
    edit->setPalette(palette);
    edit->setToolTip(stored ? QString() : Ui(ms::kHintNameNotStorable));
}

void TMaterialTab::BtnLoadMapClick(TMaterialMap map) {
    if (SelectedMaterial() == nullptr) {
        return;
    }
    if (const std::optional<QString> path =
            FUi.ExecuteFileDialog(FOwner, TFileDialogKind::Open, OpenImageDialogSetup())) {
        FMaps[map].Edit->setText(*path);
        EditMapChange(map); // also when the field showed that text already
    }
}

// ---- Colour -----------------------------------------------------------------------------------

void TMaterialTab::PaintMaterialClick() {
    if (!ChooseBoxColor(*PaintMaterial, FUi, FOwner)) {
        return;
    }
    if (QelMaterial* material = SelectedMaterial()) {
        // The opacity in the fourth channel is not the colour box's.
        const QelFloat3 rgb = lightColorFromWindowColor(PaintMaterial->Color());
        std::copy(rgb.begin(), rgb.end(), material->col.begin());
        emit MaterialEdited();
    }
}

} // namespace vantor
