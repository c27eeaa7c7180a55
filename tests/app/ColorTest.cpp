// The colour dialog and the nine colour boxes: the dialog's layout, OK and Cancel on the real
// modal dialog, and what OK does for each box (the material box also colours the selected
// material, and only the box while nothing is selected).

#include "app/Color.h"

#include "AppTestSupport.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxList.h"
#include "model/QelScene.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vantor::test {
namespace {

namespace ms = main_strings;

// An answer of the test double that picks a colour on the dialog's panel and confirms it.
std::function<bool(QDialog&)> PickColor(std::uint32_t windowColor) {
    return [windowColor](QDialog& dialog) {
        static_cast<TFormColor&>(dialog).ColorPanel->SetColor(windowColor);
        return true;
    };
}

// Answers the next modal dialog from inside its own loop with answer.
void WhenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, qApp, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no modal dialog appeared";
        answer(modal);
    });
}

using ColorDialog = EditorTest;

TEST_F(ColorDialog, OkKeepsTheColourAndCancelForgetsTheChanges) {
    TDesktopUiServices desktop;
    TColorBox box;
    box.SetColor(0x4080C0);

    // Enter takes the untouched colour back (after the panel's HSV round trip).
    WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Return); });
    EXPECT_TRUE(ChooseBoxColor(box, desktop, form.get()));
    EXPECT_EQ(box.Color(), 0x4080C0u);

    WhenModal([](QWidget* modal) {
        auto* dialog = static_cast<TFormColor*>(modal);
        dialog->ColorPanel->SetColor(0x0000FF);
        dialog->BtnCancel->click();
    });
    EXPECT_FALSE(ChooseBoxColor(box, desktop, form.get()));
    EXPECT_EQ(box.Color(), 0x4080C0u);

    WhenModal([](QWidget* modal) {
        auto* dialog = static_cast<TFormColor*>(modal);
        dialog->ColorPanel->SetColor(0x00FF00);
        dialog->close(); // the title bar's close button
    });
    EXPECT_FALSE(ChooseBoxColor(box, desktop, form.get()));
    EXPECT_EQ(box.Color(), 0x4080C0u);
}

TEST_F(ColorDialog, EveryColourBoxOpensItWithItsOwnColour) {
    TSceneTab& tab = form->SceneTab();
    form->show();
    TColorBox* boxes[] = {
        tab.PaintBackground,  tab.PaintAmbient,       tab.PaintDiffuse,
        tab.PaintSpecular,    tab.PaintShadow,        tab.PaintTitleBack,
        tab.PaintProgressBar, tab.PaintProgBarBorder, form->MaterialTab().PaintMaterial};
    for (TColorBox* box : boxes) {
        const std::uint32_t before = box->Color();
        std::uint32_t offered = 0xFFFFFFFF;
        ui.dialogAnswers.push_back([&offered](QDialog& dialog) {
            offered = static_cast<TFormColor&>(dialog).ColorPanel->GetColor();
            static_cast<TFormColor&>(dialog).ColorPanel->SetColor(0x123456);
            return true;
        });
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(offered, before) << box->objectName().toStdString();
        EXPECT_EQ(box->Color(), 0x123456u);
    }
    EXPECT_EQ(ui.dialogs.size(), 9);
    EXPECT_EQ(ui.dialogs.value(0), QString::fromUtf8(ms::kFormColorCaption));
    // The scene settings take the new colours.
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_EQ(read.BackGroundColor, 0x563412u); // RGB form
    EXPECT_EQ(read.LitAmbient[0], 0x56 / 255.0f);
}

TEST_F(ColorDialog, TheMaterialBoxColoursTheSelectedMaterialButNotItsOpacity) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    TMaterialTab& tab = form->MaterialTab();
    tab.ListBoxMaterial->SetItemIndex(3);
    tab.ShowMaterial();
    QelMaterial& glass = form->Scene().materials[3];
    ui.dialogAnswers.push_back(PickColor(0x0080FF)); // window form: red 255, green 128, blue 0
    tab.PaintMaterialClick();
    EXPECT_EQ(tab.PaintMaterial->Color(), 0x0080FFu);
    EXPECT_EQ(glass.col[0], 1.0f);
    EXPECT_EQ(glass.col[1], 128 / 255.0f);
    EXPECT_EQ(glass.col[2], 0.0f);
    EXPECT_EQ(glass.col[3], 0.55f);

    tab.PaintMaterialClick(); // cancelled
    EXPECT_EQ(glass.col[0], 1.0f);
    EXPECT_EQ(tab.PaintMaterial->Color(), 0x0080FFu);
}

TEST_F(ColorDialog, TheMaterialBoxWithoutAModelChangesOnlyTheBox) {
    TMaterialTab& tab = form->MaterialTab();
    ui.dialogAnswers.push_back(PickColor(0x00FF00));
    tab.PaintMaterialClick();
    EXPECT_EQ(tab.PaintMaterial->Color(), 0x00FF00u);
    EXPECT_TRUE(form->Scene().materials.empty());
}

} // namespace
} // namespace vantor::test
