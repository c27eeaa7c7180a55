#pragma once
// The tab "マテリアル" (Material): the list of the scene's materials along the left edge, and
// beside it the group boxes "マテリアル設定" (material settings) and "マッピング" (mapping)
// in which the selected material is edited in place. The tab keeps no copy of a material:
// every change goes straight into the window's scene, and the next build or MQO save takes it.

#include <QObject>
#include <array>

class QPushButton;
class QWidget;

namespace vantor {

struct QelMaterial;
struct QelScene;
class TColorBox;
class TMaxEdit;
class TMaxGroupBox;
class TMaxListBox;
class TMaxNumberEdit;
class TMaxTrack;
class TUiServices;

// The seven factors of a material, each edited by a track bar and a number field.
enum TMaterialFactor { mfAlpha, mfDif, mfEmi, mfSpc, mfSpcPower, mfAmb, mfEnvPow, mfCount };
// The four image files of a material, each a text field with a browse button.
enum TMaterialMap { mmTexture, mmAlphaPlane, mmBump, mmEnvMap, mmCount };

class TMaterialTab : public QObject {
    Q_OBJECT
public:
    // Builds the tab's controls into page; dialogs open over owner.
    TMaterialTab(QWidget* page, QelScene& scene, TUiServices& ui, QWidget* owner);

    // Lists the name of every material of the scene in table order (item i stands for
    // materials[i]), then selects and shows the first one when there is one.
    void RefreshMaterialList();
    // Empties the list, so that no item stands for a material the scene no longer has, and
    // empties and disables the editor until a material is shown again.
    void ClearMaterialList();

    // The selected material; null when nothing is selected.
    QelMaterial* SelectedMaterial() const;

    // Shows the selected material in the controls (and enables them). The factors pass through
    // their track bars
    // and number fields, whose ranges and formats apply: showing a material can change it
    // (a diffuse of 0.857 becomes 0.86, an environment strength of 2.5 becomes 1).
    void ShowMaterial();
    void ListBoxMaterialClick();

    // The handlers of the factor rows: TrackAlphaChange ... TrackEnvPowChange move the number
    // field (notifying); EditAlphaChange ... EditEnvPowChange store the field's value into the
    // selected material and move the track bar silently.
    void TrackFactorChange(TMaterialFactor factor);
    void EditFactorChange(TMaterialFactor factor);
    // The handlers of the map rows: EditTextureChange ... EditEnvMapChange store the field's
    // text into the selected material in the scene's code page; BtnLoadTextureClick ...
    // BtnLoadEnvMapClick put a chosen image's path into the field.
    void EditMapChange(TMaterialMap map);
    void BtnLoadMapClick(TMaterialMap map);
    // The colour dialog with the material colour; OK also colours the selected material.
    void PaintMaterialClick();

    TMaxListBox* ListBoxMaterial = nullptr;

    TMaxGroupBox* GroupMaterial = nullptr;
    TColorBox* PaintMaterial = nullptr;
    TMaxTrack* TrackAlpha = nullptr;
    TMaxNumberEdit* EditAlpha = nullptr;
    TMaxTrack* TrackDif = nullptr;
    TMaxNumberEdit* EditDif = nullptr;
    TMaxTrack* TrackEmi = nullptr;
    TMaxNumberEdit* EditEmi = nullptr;
    TMaxTrack* TrackSpc = nullptr;
    TMaxNumberEdit* EditSpc = nullptr;
    TMaxTrack* TrackSpcPower = nullptr;
    TMaxNumberEdit* EditSpcPower = nullptr;
    TMaxTrack* TrackAmb = nullptr;
    TMaxNumberEdit* EditAmb = nullptr;
    TMaxTrack* TrackEnvPow = nullptr;
    TMaxNumberEdit* EditEnvPow = nullptr;

    TMaxGroupBox* GroupMapping = nullptr;
    TMaxEdit* EditTexture = nullptr;
    QPushButton* BtnLoadTexture = nullptr;
    TMaxEdit* EditAlphaPlane = nullptr;
    QPushButton* BtnLoadAlphaPlane = nullptr;
    TMaxEdit* EditBump = nullptr;
    QPushButton* BtnLoadBump = nullptr;
    TMaxEdit* EditEnvMap = nullptr;
    QPushButton* BtnLoadEnvMap = nullptr;

signals:
    // A change the user made to a material of the scene; showing a material, which may round
    // its factors, is none.
    void MaterialEdited();

private:
    struct TFactorRow {
        TMaxTrack* Track;
        TMaxNumberEdit* Edit;
    };
    struct TMapRow {
        TMaxEdit* Edit;
        QPushButton* Button;
    };

    void BuildMaterialGroup();
    void BuildMappingGroup();
    // Shows whether a map field's text is stored in the material.
    void MarkMapField(TMaxEdit* edit, bool stored);
    // Zero factors, black colour, empty map fields, and every control disabled.
    void ShowNoMaterial();

    QelScene& FScene;
    TUiServices& FUi;
    QWidget* FOwner;
    std::array<TFactorRow, mfCount> FFactors{};
    std::array<TMapRow, mmCount> FMaps{};
    bool FShowing = false; // while the controls are filled from a material
};

} // namespace vantor
