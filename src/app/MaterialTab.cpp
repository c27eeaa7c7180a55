#include "app/MaterialTab.h"

#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "model/QelScene.h"

#include <QHBoxLayout>

namespace vantor {

namespace {

constexpr int kListWidth = 121;
constexpr int kItemHeight = 12;
constexpr int kGroupLeft = 4;
constexpr int kGroupWidth = 252;

TMaxGroupBox* AddGroup(QWidget* parent, const char* caption, int y, int height) {
    auto* group = new TMaxGroupBox(parent);
    group->SetStyle(mgbAlias);
    group->SetCaption(Ui(caption));
    group->setGeometry(kGroupLeft, y, kGroupWidth, height);
    group->SetMaxHeight(height);
    group->SetEnableMinimized(false);
    return group;
}

} // namespace

TMaterialTab::TMaterialTab(QWidget* page, QObject* owner) : QObject(owner) {
    ListBoxMaterial = new TMaxListBox(page);
    ListBoxMaterial->setObjectName("ListBoxMaterial");
    ListBoxMaterial->setFixedWidth(kListWidth);
    ListBoxMaterial->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxMaterial->SetItemHeight(kItemHeight);

    auto* editor = new QWidget(page);
    GroupMaterial = AddGroup(editor, main_strings::kGroupMaterial, 4, 233);
    GroupMapping = AddGroup(editor, main_strings::kGroupMapping, 0, 123);
    GroupMaterial->SetNextGroup(GroupMapping);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListBoxMaterial);
    layout->addWidget(editor, 1);
}

void TMaterialTab::RefreshMaterialList(const QelScene& scene) {
    ListBoxMaterial->setUpdatesEnabled(false);
    ListBoxMaterial->clear();
    const std::size_t count = std::min(scene.materials.size(),
                                       static_cast<std::size_t>(std::max(scene.materialCount, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        ListBoxMaterial->addItem(FromCodePage(scene.codePage, scene.materials[i].name));
    }
    ListBoxMaterial->setUpdatesEnabled(true);
    if (ListBoxMaterial->count() > 0) {
        ListBoxMaterial->SetItemIndex(0);
    }
}

void TMaterialTab::ClearMaterialList() {
    ListBoxMaterial->clear();
}

} // namespace vantor
