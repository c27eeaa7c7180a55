// The menu commands of the file and help menus that come with the finished editor: saving the
// model as MQO, saving and loading scene settings through the menu handlers, the help page and
// the about box.

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "controls/MaxEdit.h"
#include "model/QelScene.h"
#include "publish/QelParameter.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace vantor::test {
namespace {

namespace ms = main_strings;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

using MenuCommands = EditorTest;

// ---- Save MQO -------------------------------------------------------------------------------

TEST_F(MenuCommands, SavingTheModelAsMqoRenamesTheWindowAndConfirms) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    TempDir target;
    const std::string saved = target.file("copy.mqo");
    ui.fileAnswers.push_back(Q(saved));
    form->MenuSaveMQO->trigger();

    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    const auto& [kind, setup] = ui.fileDialogs[0];
    EXPECT_EQ(kind, TFileDialogKind::Save);
    EXPECT_EQ(setup.Filters, QStringList({U(ms::kMqoFilters[0])}));
    EXPECT_EQ(setup.DefaultExt, "*.mqo");
    EXPECT_TRUE(setup.OverwritePrompt);
    EXPECT_EQ(setup.InitialDir, Q(models.folder()));

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Information);
    EXPECT_EQ(ui.messages[0].caption, "SAVE");
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgMqoSaved));
    EXPECT_EQ(form->ModelPath(), saved);
    EXPECT_EQ(form->windowTitle(), "Vantor Converter[" + Q(saved) + "]");
    EXPECT_EQ(ui.busyDepth, 0);

    // The file holds the edited model, and a publish now proposes its folder.
    form->Scene().materials[1].dif = 0.25f;
    form->MenuSaveMQO->trigger(); // cancelled
    ui.fileAnswers.push_back(Q(saved));
    form->MenuSaveMQOClick();
    QelScene reread;
    ASSERT_TRUE(reread.LoadMQO(saved));
    ASSERT_EQ(reread.materials.size(), 5u);
    EXPECT_EQ(reread.materials[1].dif, 0.25f);
    EXPECT_EQ(reread.materials[0].tex, "brick.jpg");
    form->MenuSaveVTRClick(); // cancelled at its folder dialog
    ASSERT_EQ(ui.folderDialogs.size(), 1u);
    EXPECT_EQ(ui.folderDialogs[0].InitialFolder, Q(target.folder()));
}

TEST_F(MenuCommands, AFailedMqoSaveKeepsThePathAndSaysSo) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const QString title = form->windowTitle();
    ui.fileAnswers.push_back(Q(models.file("missing-folder/copy.mqo")));
    form->MenuSaveMQOClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(ui.messages[0].caption, "ERROR");
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgMqoSaveFailed));
    EXPECT_EQ(form->ModelPath(), Sample());
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MenuCommands, AnEmptySceneCanBeSavedToo) {
    TempDir target;
    ui.fileAnswers.push_back(Q(target.file("empty.mqo")));
    form->MenuSaveMQOClick();
    EXPECT_EQ(ui.Texts(), QStringList({U(ms::kMsgMqoSaved)}));
    QelScene reread;
    EXPECT_TRUE(reread.LoadMQO(target.file("empty.mqo")));
    EXPECT_TRUE(reread.materials.empty());
}

// ---- Scene settings -------------------------------------------------------------------------

TEST_F(MenuCommands, SavingSettingsFromTheStartUpStateWritesEveryKey) {
    TempDir target;
    const std::string path = target.file("scene.vsn");
    ui.fileAnswers.push_back(Q(path));
    form->MenuSaveQLS->trigger();
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().join('\n').toStdString();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    const auto& [kind, setup] = ui.fileDialogs[0];
    EXPECT_EQ(kind, TFileDialogKind::Save);
    EXPECT_EQ(setup.Filters, QStringList({U(ms::kSceneFileFilters[0])}));
    EXPECT_EQ(setup.DefaultExt, "*.vsn"); // a typed name gets the extension the filter lists
    EXPECT_TRUE(setup.OverwritePrompt);
    EXPECT_TRUE(setup.HideReadOnly);
    // Width=200, BackGroundColor=8355711, TexFiltering=0, SpecularEnable=0,
    // BumpIntensity=0.200000002980232, ProgBarColor=5070232, RotCtrlIconX=0, ...
    EXPECT_EQ(readBytes(path), readBytes(testDataFile("expected/startup-settings.vsn")));
}

TEST_F(MenuCommands, UnreadableSettingsAreNotSavedAndNoDialogOpens) {
    form->SceneTab().EditLightY->setText("abc");
    form->MenuSaveQLSClick();
    EXPECT_TRUE(ui.fileDialogs.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "ERROR");
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgBadSceneInput));
    EXPECT_EQ(form->SceneTab().EditLightY->text(), "abc");
}

TEST_F(MenuCommands, AFailedSettingsSaveNamesTheFileAndKeepsTheOldOne) {
    TempDir target;
    // A folder where the file should be cannot be replaced.
    const std::string folder = target.file("scene.vsn");
    std::filesystem::create_directory(folder);
    writeBytes(target.path() / "scene.vsn" / "keep.txt", "kept");
    for (const std::string& path : {folder, target.file("missing/scene.vsn")}) {
        ui.messages.clear();
        ui.fileAnswers.push_back(Q(path));
        form->MenuSaveQLSClick();
        ASSERT_EQ(ui.messages.size(), 1u) << path;
        EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
        EXPECT_EQ(ui.messages[0].caption, "ERROR");
        EXPECT_TRUE(ui.messages[0].text.startsWith(Q(path))) << ui.messages[0].text.toStdString();
    }
    EXPECT_EQ(readBytes(target.path() / "scene.vsn" / "keep.txt"), "kept");
    EXPECT_FALSE(Exists(target.file("missing")));
}

TEST_F(MenuCommands, SavedSettingsLoadBackIntoEveryControl) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    TSceneTab& tab = form->SceneTab();
    tab.EditCanvasW->FSetPosition(640);
    tab.EditBkimg->setText(QString::fromUtf8("背景.jpg"));
    tab.EditModelPosZ->setText("750.5");
    tab.ComboShade->setCurrentIndex(kShadeCartoon);
    tab.EditEdgePower->FSetPosition(2.25);
    tab.CheckShadow->setChecked(true);
    tab.PaintShadow->SetColor(0x102030);
    tab.PaintDiffuse->SetColor(0x7F7F7F);
    tab.EditPanIcon->setText("pan.gif");
    tab.EditPanIconX->setText("-12");
    tab.EditTitleLogoImage->setText("title.jpg");
    QelParameter saved;
    ASSERT_TRUE(tab.ReadSceneControls(saved));

    TempDir target;
    const std::string path = target.file("scene.vsn");
    ui.fileAnswers.push_back(Q(path));
    form->MenuSaveQLSClick();
    ASSERT_TRUE(ui.messages.empty());

    tab.WriteSceneControls(editorStartupParameters());
    tab.EditOutputFile->setText("kept");
    form->Scene().materials[0].dif = 0.5f;
    ui.fileAnswers.push_back(Q(path));
    form->MenuLoadQLS->trigger();
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    const auto& [kind, setup] = ui.fileDialogs[1];
    EXPECT_EQ(kind, TFileDialogKind::Open);
    EXPECT_EQ(setup.Filters, QStringList({U(ms::kSceneFileFilters[0])}));
    EXPECT_EQ(setup.DefaultExt, "*.qls");
    EXPECT_TRUE(setup.FileMustExist);

    QelParameter loaded;
    ASSERT_TRUE(tab.ReadSceneControls(loaded));
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(tab.EditEdgePower->isEnabled()); // the shading rule ran
    EXPECT_EQ(tab.PaintShadow->Color(), 0x102030u);
    // Neither the materials nor the output name are scene settings.
    EXPECT_EQ(tab.EditOutputFile->text(), "kept");
    EXPECT_EQ(form->Scene().materials[0].dif, 0.5f);
}

TEST_F(MenuCommands, MissingKeysLoadAsTheRecordsInitialValues) {
    TempDir target;
    const std::string path = target.file("partial.vsn");
    writeBytes(path, "[QelScene]\nWidth=0x280\nLightingEnable=2\nFieldOfView=abc\n");
    TSceneTab& tab = form->SceneTab();
    tab.EditFieldOfView->FSetPosition(30);
    tab.CheckLighting->setChecked(false);
    ui.fileAnswers.push_back(Q(path));
    form->MenuLoadQLSClick();
    EXPECT_TRUE(ui.messages.empty());
    QelParameter loaded;
    ASSERT_TRUE(tab.ReadSceneControls(loaded));
    QelParameter expected; // a new record's values, not the window's start-up ones
    expected.Width = 640;
    EXPECT_EQ(loaded, expected);
    EXPECT_TRUE(tab.CheckLighting->isChecked());       // 2 is true
    EXPECT_EQ(tab.EditFieldOfView->GetPosition(), 45); // "abc" is no number
    EXPECT_EQ(tab.ComboFilting->currentIndex(), 1);
    EXPECT_TRUE(tab.CheckSpecular->isChecked());
    EXPECT_EQ(tab.EditInitRowPitch->text(), "-10");
    EXPECT_EQ(tab.EditRotIconX->text(), "10");
    EXPECT_EQ(tab.PaintBackground->Color(), 0xFFFFFFu);

    // A cancelled dialog loads nothing.
    tab.EditCanvasW->FSetPosition(300);
    form->MenuLoadQLSClick();
    EXPECT_EQ(tab.EditCanvasW->GetPosition(), 300);
}

// ---- Help and about -------------------------------------------------------------------------

TEST_F(MenuCommands, HelpOpensThePageBesideTheProgramOnlyWhenItIsThere) {
    form->MenuHelpIndex->trigger(); // no help folder: nothing happens, nothing is said
    EXPECT_TRUE(ui.documents.isEmpty());
    EXPECT_TRUE(ui.messages.empty());

    std::filesystem::create_directory(shipped.path() / "help");
    writeBytes(shipped.path() / "help" / "vtr_system.html", "<html></html>");
    form->MenuHelpIndex->trigger();
    EXPECT_EQ(ui.documents, QStringList({Q(shipped.folder() + "help/vtr_system.html")}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MenuCommands, AboutShowsTheIconNameAndVersion) {
    bool inspected = false;
    ui.dialogAnswers.push_back([&](QDialog& dialog) {
        auto& about = static_cast<TDlgAbout&>(dialog);
        EXPECT_EQ(about.windowTitle(), U(ms::kDlgAboutCaption));
        EXPECT_EQ(about.size(), QSize(254, 159));
        EXPECT_EQ(about.minimumSize(), about.maximumSize());
        EXPECT_EQ(about.parentWidget(), form.get());
        EXPECT_EQ(about.ImageIcon->geometry(), QRect(16, 16, 48, 48));
        const QPixmap icon = about.ImageIcon->pixmap();
        EXPECT_EQ(icon.size(), QSize(48, 48));
        EXPECT_TRUE(icon.toImage().pixelColor(24, 24).alpha() > 0); // drawn, not empty
        EXPECT_EQ(about.LabelTitle->text(), "Vantor Converter");
        EXPECT_EQ(about.LabelTitle->pos(), QPoint(80, 24));
        EXPECT_EQ(about.LabelTitle->font().pixelSize(), 16);
        EXPECT_EQ(about.LabelVersion->text(), "Ver1.1");
        EXPECT_EQ(about.LabelVersion->pos(), QPoint(184, 48));
        EXPECT_EQ(about.BtnOK->text(), "OK");
        EXPECT_EQ(about.BtnOK->geometry(), QRect(88, 120, 75, 25));
        EXPECT_TRUE(about.BtnOK->isDefault());
        about.BtnOK->click();
        EXPECT_EQ(about.result(), QDialog::Accepted);
        inspected = true;
        return true;
    });
    form->MenuAbout->trigger();
    EXPECT_TRUE(inspected);
    EXPECT_EQ(ui.dialogs, QStringList({U(ms::kDlgAboutCaption)}));
}

} // namespace
} // namespace vantor::test
