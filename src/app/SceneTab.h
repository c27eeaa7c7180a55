#pragma once
// The tabs "シーン" (Scene) and "システム" (System) of the main window: every scene-wide
// setting of the published viewer, the copies between these controls and a QelParameter, the
// shading rule of the edge field and the browse buttons of the image fields. The controls are
// the lasting store of the settings; a command that needs them reads a fresh record.

#include "publish/QelParameter.h"

#include <QHash>
#include <QObject>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

namespace vantor {

class TColorBox;
class TMaxEdit;
class TMaxGroupBox;
class TMaxNumberEdit;
class TUiServices;

class TSceneTab : public QObject {
    Q_OBJECT
public:
    // Builds the scene tab's controls into scenePage (inside a vertical scroll area that fills
    // it) and the system tab's into systemPage. Dialogs and messages open over owner.
    TSceneTab(QWidget* scenePage, QWidget* systemPage, TUiServices& ui, QWidget* owner);

    // Fills every field of record from the controls. False, with record unchanged, when a
    // typed number cannot be converted: real fields take a decimal number that fits a 32-bit
    // float, the icon positions a decimal integer.
    bool ReadSceneControls(QelParameter& record) const;
    // Shows every field of record in the controls; number fields clamp to their ranges, and a
    // list index outside its list leaves the list without selection.
    void WriteSceneControls(const QelParameter& record);
    // Shows a camera position in the three カメラの位置 fields, as WriteSceneControls does.
    void ShowModelPosition(const QelFloat3& position);
    // The same for a position the program chose: each number in the fewest digits that read
    // back as the same float (14.3, not 14.3000001907349).
    void ShowFittedModelPosition(const QelFloat3& position);
    // The edge field and its label are enabled only for the cartoon shading.
    void ComboShadeChange();
    // The browse handler of the background image and the four icon images: the chosen image's
    // path goes into the field that belongs to button.
    void BtnLoadBkimgClick(QPushButton* button);
    void BtnLoadTitleLogoImageClick();
    // The click handler of the eight colour boxes of these tabs (PaintBackgroundClick ...
    // PaintProgBarBorderClick): the colour dialog with the box's colour, which OK stores.
    void ColorBoxClick(TColorBox* box);

    // The output file name as typed (the package name; empty lets the writer use the model's
    // base name), and the proposal made after a model was opened.
    QString OutputFileName() const;
    void SetOutputFileName(const QString& name);

    // ---- Tab "シーン" ----------------------------------------------------------------------
    QScrollArea* ScrollScene = nullptr;
    QWidget* SceneColumn = nullptr; // the scrolled column of group boxes
    TMaxGroupBox* GroupScene = nullptr;
    TMaxNumberEdit* EditCanvasW = nullptr;
    TMaxNumberEdit* EditCanvasH = nullptr;
    TColorBox* PaintBackground = nullptr;
    TMaxEdit* EditBkimg = nullptr;
    QPushButton* BtnLoadBkimg = nullptr;
    TMaxEdit* EditModelPosX = nullptr;
    TMaxEdit* EditModelPosY = nullptr;
    TMaxEdit* EditModelPosZ = nullptr;
    QPushButton* BtnFitCamera = nullptr; // 合わせる: the window's BtnFitCameraClick
    TMaxEdit* EditInitRotSpeedX = nullptr;
    TMaxEdit* EditInitRotSpeedY = nullptr;
    TMaxEdit* EditInitRotSpeedZ = nullptr;
    TMaxEdit* EditInitRowYaw = nullptr;
    TMaxEdit* EditInitRowPitch = nullptr;
    TMaxEdit* EditInitRowRoll = nullptr;
    TMaxNumberEdit* EditFieldOfView = nullptr;

    TMaxGroupBox* GroupRendering = nullptr;
    QComboBox* ComboFilting = nullptr;
    QComboBox* ComboShade = nullptr;
    QLabel* LabelEdgePower = nullptr;
    TMaxNumberEdit* EditEdgePower = nullptr;
    QComboBox* ComboFillMode = nullptr;
    QCheckBox* CheckFSAA = nullptr;
    QComboBox* ComboAAQuality = nullptr;

    TMaxGroupBox* GroupLighting = nullptr;
    QCheckBox* CheckLighting = nullptr;
    QCheckBox* CheckSpecular = nullptr;
    TMaxEdit* EditLightX = nullptr;
    TMaxEdit* EditLightY = nullptr;
    TMaxEdit* EditLightZ = nullptr;
    TColorBox* PaintAmbient = nullptr;
    TColorBox* PaintDiffuse = nullptr;
    TColorBox* PaintSpecular = nullptr;
    TMaxEdit* EditBumpIntensity = nullptr;

    TMaxGroupBox* GroupShadow = nullptr;
    QCheckBox* CheckShadow = nullptr;
    TColorBox* PaintShadow = nullptr;
    TMaxEdit* EditShadowDistance = nullptr;

    // ---- Tab "システム" --------------------------------------------------------------------
    TMaxGroupBox* GroupSystem = nullptr;
    TMaxEdit* EditOutputFile = nullptr;
    TColorBox* PaintTitleBack = nullptr;
    TMaxEdit* EditTitleLogoImage = nullptr;
    QPushButton* BtnLoadTitleLogoImage = nullptr;
    TMaxNumberEdit* EditProgBarPosition = nullptr;
    TColorBox* PaintProgressBar = nullptr;
    TColorBox* PaintProgBarBorder = nullptr;

    TMaxGroupBox* GroupIcon = nullptr;
    TMaxEdit* EditRotIcon = nullptr;
    QPushButton* BtnLoadRotIcon = nullptr;
    TMaxEdit* EditRotIconX = nullptr;
    TMaxEdit* EditRotIconY = nullptr;
    TMaxEdit* EditZomIcon = nullptr;
    QPushButton* BtnLoadZomIcon = nullptr;
    TMaxEdit* EditZomIconX = nullptr;
    TMaxEdit* EditZomIconY = nullptr;
    TMaxEdit* EditPanIcon = nullptr;
    QPushButton* BtnLoadPanIcon = nullptr;
    TMaxEdit* EditPanIconX = nullptr;
    TMaxEdit* EditPanIconY = nullptr;
    TMaxEdit* EditRstIcon = nullptr;
    QPushButton* BtnLoadRstIcon = nullptr;
    TMaxEdit* EditRstIconX = nullptr;
    TMaxEdit* EditRstIconY = nullptr;

signals:
    // The user typed into a カメラの位置 field (the program's own changes are none).
    void CameraEdited();

private:
    void BuildSceneTab(QWidget* page);
    void BuildSceneGroup(TMaxGroupBox* group);
    void BuildRenderingGroup(TMaxGroupBox* group);
    void BuildLightingGroup(TMaxGroupBox* group);
    void BuildShadowGroup(TMaxGroupBox* group);
    void BuildSystemTab(QWidget* page);
    void BuildSystemGroup(TMaxGroupBox* group);
    void BuildIconGroup(TMaxGroupBox* group);
    // A "参照" button beside the field it fills.
    QPushButton* AddBrowseButton(QWidget* parent, int x, int y, TMaxEdit* target);
    // The image dialog; the chosen path, or nothing when it was cancelled.
    std::optional<QString> ChooseImage();

    TUiServices& FUi;
    QWidget* FOwner;
    QHash<QPushButton*, TMaxEdit*> FBrowseTargets;
};

} // namespace vantor
