#pragma once
// The tab "マテリアル" (Material): the list of the scene's materials along the left edge, and
// beside it the group boxes "マテリアル設定" (material settings) and "マッピング" (mapping)
// in which the selected material is edited.

#include <QObject>

class QWidget;

namespace vantor {

struct QelScene;
class TMaxGroupBox;
class TMaxListBox;

class TMaterialTab : public QObject {
    Q_OBJECT
public:
    TMaterialTab(QWidget* page, QObject* owner);

    // Lists the name of every material of the scene in table order (item i stands for
    // materials[i]) and selects the first item when there is one.
    void RefreshMaterialList(const QelScene& scene);
    // Empties the list, so that no item stands for a material the scene no longer has.
    void ClearMaterialList();

    TMaxListBox* ListBoxMaterial = nullptr;
    TMaxGroupBox* GroupMaterial = nullptr;
    TMaxGroupBox* GroupMapping = nullptr;
};

} // namespace vantor
