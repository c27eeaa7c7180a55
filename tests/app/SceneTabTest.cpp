// The scene and system tabs: reading the controls into a record and showing a record in them,
// the shading rule of the edge field, and the browse buttons of the image fields.

#include "app/SceneTab.h"

#include "AppTestSupport.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "controls/MaxNumberEdit.h"
#include "publish/QelParameter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace vantor::test {
namespace {

namespace ms = main_strings;

using SceneTab = EditorTest;

TEST_F(SceneTab, ReadingFailsOnTextThatIsNoNumberOfItsKind) {
    TSceneTab& tab = form->SceneTab();
    const struct {
        TMaxEdit* edit;
        const char* text;
    } cases[] = {
        {tab.EditLightY, "abc"},       {tab.EditLightY, ""},
        {tab.EditLightY, "1,5"},       {tab.EditRotIconX, "1.5"}, // positions are whole numbers
        {tab.EditRstIconY, ""},        {tab.EditBumpIntensity, "0.2x"},
        {tab.EditModelPosX, "1e39"}, // beyond a 32-bit float
        {tab.EditShadowDistance, "-"},
    };
    for (const auto& c : cases) {
        const QString before = c.edit->text();
        c.edit->setText(c.text);
        QelParameter record;
        record.Width = 1234; // a record the failed read must leave alone
        EXPECT_FALSE(tab.ReadSceneControls(record))
            << c.edit->objectName().toStdString() << " " << c.text;
        EXPECT_EQ(record.Width, 1234);
        EXPECT_EQ(c.edit->text(), c.text); // the typed text stays
        c.edit->setText(before);
    }
    QelParameter record;
    EXPECT_TRUE(tab.ReadSceneControls(record));
}

TEST_F(SceneTab, ReadingTakesBlanksSignsExponentsAndTheDisabledEdgeValue) {
    TSceneTab& tab = form->SceneTab();
    tab.EditModelPosZ->setText(" 500 ");
    tab.EditLightX->setText("-2.5e1");
    tab.EditInitRowPitch->setText("+1.5");
    tab.EditPanIconY->setText(" -7 ");
    tab.EditCanvasW->FSetPosition(12000); // the field clamps before the read
    tab.EditEdgePower->SetPosition(2.25);
    tab.ComboShade->setCurrentIndex(kShadePhong);
    QelParameter p;
    ASSERT_TRUE(tab.ReadSceneControls(p));
    EXPECT_EQ(p.ModelPosition[2], 500.0f);
    EXPECT_EQ(p.LitDirection[0], -25.0f);
    EXPECT_EQ(p.InitRotPitch, 1.5f);
    EXPECT_EQ(p.PanCtrlIcon.Y, -7);
    EXPECT_EQ(p.Width, 9999);
    EXPECT_EQ(p.ShadingMode, kShadePhong);
    EXPECT_EQ(p.EdgePower, 2.25f);
}

TEST_F(SceneTab, WritingShowsNumbersInTheirFormats) {
    TSceneTab& tab = form->SceneTab();
    QelParameter p;
    p.BumpIntensity = 0.2f;
    p.ModelPosition = {0.1f, -1.0f, 500.0f};
    p.LitDirection = {0.5f, -1.0f, 1e-6f};
    p.InitRotSpeed = {1.0f, 0.25f, -0.1f};
    p.InitRotYaw = 30.0f;
    p.Width = 12000;
    p.Height = 0;
    p.FieldOfView = 120.0f;
    p.EdgePower = 0.555f;
    p.ProgBarPosition = 42;
    p.RstCtrlIcon = {"reset.gif", -3, 400};
    tab.WriteSceneControls(p);
    EXPECT_EQ(tab.EditBumpIntensity->text(), "0.200");
    EXPECT_EQ(tab.EditModelPosX->text(), "0.1");
    EXPECT_EQ(tab.EditModelPosY->text(), "-1");
    EXPECT_EQ(tab.EditModelPosZ->text(), "500");
    EXPECT_EQ(tab.EditLightX->text(), "0.5");
    EXPECT_EQ(tab.EditLightZ->text(), "1e-06");
    EXPECT_EQ(tab.EditInitRotSpeedY->text(), "0.25");
    EXPECT_EQ(tab.EditInitRowYaw->text(), "30");
    EXPECT_EQ(tab.EditInitRowPitch->text(), "-10");
    EXPECT_EQ(tab.EditCanvasW->Edit()->text(), "9999"); // clamped to the field's range
    EXPECT_EQ(tab.EditCanvasH->Edit()->text(), "1");
    EXPECT_EQ(tab.EditFieldOfView->Edit()->text(), "89");
    EXPECT_EQ(tab.EditEdgePower->Edit()->text(), "0.56");
    EXPECT_EQ(tab.EditProgBarPosition->Edit()->text(), "42");
    EXPECT_EQ(tab.EditRstIcon->text(), "reset.gif");
    EXPECT_EQ(tab.EditRstIconX->text(), "-3");
    EXPECT_EQ(tab.EditRstIconY->text(), "400");

    p.BumpIntensity = 0.1234f;
    tab.WriteSceneControls(p);
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_EQ(read.BumpIntensity, 0.123f);
}

TEST_F(SceneTab, WritingThenReadingGivesTheRecordBack) {
    TSceneTab& tab = form->SceneTab();
    QelParameter p;
    p.Width = 640;
    p.Height = 480;
    p.BackGroundImage = "sky.jpg";
    p.BackGroundColor = 0x123456;
    p.TitleLogoImage = "/images/logo.gif";
    p.TitleBackColor = 0xABCDEF;
    p.ModelPosition = {1.5f, -2.0f, 750.0f};
    p.TexFiltering = kFilterTrilinear;
    p.ShadingMode = kShadeCartoon;
    p.FillMode = kFillWireframe;
    p.LightingEnable = false;
    p.SpecularEnable = true;
    p.LitDirection = {0.0f, -1.0f, 0.25f};
    p.LitAmbient = {0.0f, 1.0f, 0.0f};
    p.LitDiffuse = {1.0f, 1.0f, 0.0f};
    p.LitSpecular = {0.0f, 0.0f, 1.0f};
    p.SoftShadowEnable = true;
    p.SoftShadowDistance = 3.0f;
    p.SoftShadowColor = 0x102030;
    p.EdgePower = 1.25f;
    p.BumpIntensity = 0.5f;
    p.FieldOfView = 60.0f;
    p.AlwaysFSAA = false;
    p.QualityOfAntiAlias = kQualityMiddle;
    p.InitRotSpeed = {0.0f, 2.0f, 0.0f};
    p.InitRotYaw = 15.0f;
    p.InitRotPitch = -5.0f;
    p.InitRotRoll = 0.0f;
    p.ProgBarPosition = 150;
    p.ProgBarColor = 0x00FF00;
    p.ProgBarBorderColor = 0x0000FF;
    p.RotCtrlIcon = {"rot.gif", 1, 2};
    p.ZomCtrlIcon = {"zoom.gif", 3, 4};
    p.PanCtrlIcon = {"pan.gif", 5, 6};
    p.RstCtrlIcon = {"reset.gif", 7, 8};
    tab.WriteSceneControls(p);
    EXPECT_EQ(tab.PaintBackground->Color(), 0x563412u); // shown in the window form
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_EQ(read, p);
}

TEST_F(SceneTab, LightColoursPassThroughWholeChannels) {
    TSceneTab& tab = form->SceneTab();
    QelParameter p = editorStartupParameters();
    p.LitAmbient = {0.5f, 0.5f, 0.5f};
    tab.WriteSceneControls(p);
    EXPECT_EQ(tab.PaintAmbient->Color(), 0x7F7F7Fu);
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_FLOAT_EQ(read.LitAmbient[0], 127.0f / 255.0f);
}

TEST_F(SceneTab, ListIndexesOutsideTheirListsLeaveNoSelection) {
    TSceneTab& tab = form->SceneTab();
    QelParameter p = editorStartupParameters();
    p.TexFiltering = 7;
    p.ShadingMode = -2;
    tab.WriteSceneControls(p);
    EXPECT_EQ(tab.ComboFilting->currentIndex(), -1);
    EXPECT_FALSE(tab.EditEdgePower->isEnabled()); // no selection is no cartoon
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_EQ(read.TexFiltering, -1);
    EXPECT_EQ(read.ShadingMode, -1);
}

TEST_F(SceneTab, OnlyCartoonShadingEnablesTheEdgeField) {
    TSceneTab& tab = form->SceneTab();
    tab.ComboShade->setCurrentIndex(kShadeCartoon);
    EXPECT_TRUE(tab.EditEdgePower->isEnabled());
    EXPECT_TRUE(tab.LabelEdgePower->isEnabled());
    tab.EditEdgePower->FSetPosition(3.5);
    tab.ComboShade->setCurrentIndex(kShadePhong);
    EXPECT_FALSE(tab.EditEdgePower->isEnabled());
    EXPECT_FALSE(tab.LabelEdgePower->isEnabled());
    EXPECT_EQ(tab.EditEdgePower->GetPosition(), 3.5); // kept while disabled
    // The label greys out: it is drawn in the disabled text colour.
    const QPalette palette = tab.LabelEdgePower->palette();
    EXPECT_NE(palette.color(QPalette::Disabled, QPalette::WindowText),
              palette.color(QPalette::Active, QPalette::WindowText));
    EXPECT_EQ(palette.color(QPalette::Current, QPalette::WindowText),
              palette.color(QPalette::Disabled, QPalette::WindowText));

    QelParameter p = editorStartupParameters();
    p.ShadingMode = kShadeCartoon;
    tab.WriteSceneControls(p);
    EXPECT_TRUE(tab.EditEdgePower->isEnabled());
}

TEST_F(SceneTab, ColourBoxesShowTheirColourInABlackFrame) {
    TSceneTab& tab = form->SceneTab();
    const struct {
        TColorBox* box;
        QRgb shown;
    } boxes[] = {
        {tab.PaintBackground, 0x7F7F7F},    {tab.PaintShadow, 0x282828},
        {tab.PaintAmbient, 0xFFFFFF},       {tab.PaintTitleBack, 0xFFFFFF},
        {tab.PaintProgressBar, 0x4D5D98}, // window form 0x985D4D: red in the low byte
        {tab.PaintProgBarBorder, 0x808080},
    };
    for (const auto& [box, shown] : boxes) {
        const QImage image = box->grab().toImage();
        EXPECT_EQ(box->size(), QSize(49, 20));
        EXPECT_EQ(image.pixel(24, 10) & 0xFFFFFF, shown) << box->objectName().toStdString();
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0u);
        EXPECT_EQ(image.pixel(48, 19) & 0xFFFFFF, 0u);
    }
}

TEST_F(SceneTab, BrowseButtonsFillTheirOwnFields) {
    TSceneTab& tab = form->SceneTab();
    form->show();
    const struct {
        QPushButton* button;
        TMaxEdit* field;
    } cases[] = {
        {tab.BtnLoadBkimg, tab.EditBkimg},     {tab.BtnLoadRotIcon, tab.EditRotIcon},
        {tab.BtnLoadZomIcon, tab.EditZomIcon}, {tab.BtnLoadPanIcon, tab.EditPanIcon},
        {tab.BtnLoadRstIcon, tab.EditRstIcon}, {tab.BtnLoadTitleLogoImage, tab.EditTitleLogoImage},
    };
    for (const auto& c : cases) {
        const QString chosen = "/pictures/" + c.field->objectName() + ".jpg";
        ui.fileAnswers.push_back(chosen);
        c.button->click();
        EXPECT_EQ(c.field->text(), chosen);
        c.button->click(); // cancelled: the field keeps its text
        EXPECT_EQ(c.field->text(), chosen);
    }
    ASSERT_EQ(ui.fileDialogs.size(), 12u);
    const TFileDialogSetup& setup = ui.fileDialogs[0].second;
    EXPECT_EQ(ui.fileDialogs[0].first, TFileDialogKind::Open);
    EXPECT_EQ(setup.Filters.size(), 4);
    EXPECT_EQ(setup.Filters[0], QString::fromUtf8(ms::kImageFilters[0]));
    EXPECT_EQ(setup.Filters[3], QString::fromUtf8("すべてのファイル (*.*)|*.* "));
    EXPECT_EQ(setup.DefaultExt, "*.jpg;*.gif");
    // Only the background image field changed among the scene's own fields.
    EXPECT_TRUE(tab.EditOutputFile->text().isEmpty());
}

TEST_F(SceneTab, LeavingAFieldShowsANumbersStartAndAPathsFileName) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    TSceneTab& tab = form->SceneTab();
    // Typed: the cursor ends at the tail, which is all a narrow field shows while editing.
    const QString number = "120000000000000000000000000000.123456";
    tab.EditModelPosX->setFocus(Qt::MouseFocusReason);
    tab.EditModelPosX->clear();
    QTest::keyClicks(tab.EditModelPosX, number);
    ASSERT_EQ(tab.EditModelPosX->cursorPosition(), number.size());
    tab.EditModelPosY->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tab.EditModelPosX->cursorPosition(), 0);
    EXPECT_EQ(tab.EditModelPosX->text(), number);

    // An image path shows its file name, when chosen and after editing.
    const QString path = Q(models.file("a/long/folder/name/for/the/background/brick.jpg"));
    ui.fileAnswers.push_back(path);
    tab.BtnLoadBkimg->click();
    EXPECT_EQ(tab.EditBkimg->cursorPosition(), path.size());
    tab.EditBkimg->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(tab.EditBkimg, Qt::Key_Home);
    tab.EditModelPosX->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tab.EditBkimg->cursorPosition(), path.size());
    // Another window taking the focus is no leaving: the cursor stays where it was.
    tab.EditModelPosX->setCursorPosition(5);
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(tab.EditModelPosX, &away);
    EXPECT_EQ(tab.EditModelPosX->cursorPosition(), 5);
}

} // namespace
} // namespace vantor::test
