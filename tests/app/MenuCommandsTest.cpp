// The menu commands of the file and help menus that come with the finished editor: saving the
// model as MQO, saving and loading scene settings through the menu handlers, the help page and
// the about box.

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "controls/MaxNumberEdit.h"
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
    EXPECT_EQ(ui.fileDialogs[0].first, TFileDialogKind::Save);
    EXPECT_EQ(ui.fileDialogs[0].second.InitialDir, Q(models.folder()));
    EXPECT_EQ(ui.fileDialogs[0].second.FileName, Q(Sample())); // the model's own name

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Information);
    EXPECT_EQ(ui.messages[0].caption, "SAVE");
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgMqoSaved));
    EXPECT_EQ(form->ModelPath(), saved);
    EXPECT_EQ(form->windowTitle(), "Vantor Converter [" + Q(saved) + "]");
    EXPECT_EQ(ui.busyDepth, 0);

    // A publish now proposes the saved file's folder.
    form->MenuSaveVTRClick(); // cancelled at its folder dialog
    ASSERT_EQ(ui.folderDialogs.size(), 1u);
    EXPECT_EQ(ui.folderDialogs[0].InitialFolder, Q(target.folder()));
}

TEST_F(MenuCommands, AFailedMqoSaveKeepsThePathAndSaysSo) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const QString title = form->windowTitle();
    const std::string target = models.file("missing-folder/copy.mqo");
    ui.fileAnswers.push_back(Q(target));
    form->MenuSaveMQOClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(ui.messages[0].caption, "ERROR");
    EXPECT_EQ(ui.messages[0].text,
              U(ms::kMsgMqoSaveFailed) + "\n" + Q(target) + "\n" + U(ms::kReasonNoFolder));
    EXPECT_EQ(form->ModelPath(), Sample());
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_EQ(ui.busyDepth, 0);
}

// ---- Scene settings -------------------------------------------------------------------------

TEST_F(MenuCommands, SavingSettingsFromTheStartUpStateWritesEveryKey) {
    TempDir target;
    const std::string path = target.file("scene.vsn");
    ui.fileAnswers.push_back(Q(path));
    form->MenuSaveQLS->trigger();
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().join('\n').toStdString();
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].first, TFileDialogKind::Save);
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

TEST_F(MenuCommands, AFailedSettingsSaveNamesTheFileAndTheReasonInJapanese) {
    TempDir target;
    // A folder where the file should be cannot be replaced.
    const std::string folder = target.file("scene.vsn");
    std::filesystem::create_directory(folder);
    writeBytes(target.path() / "scene.vsn" / "keep.txt", "kept");
    const struct {
        std::string path;
        const char* reason;
    } cases[] = {
        {folder, ms::kReasonFolderInTheWay},
        {target.file("missing/scene.vsn"), ms::kReasonNoFolder},
        {target.file("scene.vsn/keep.txt/x.vsn"), ms::kReasonNoFolder},
        // A folder that exists but takes no new files.
        {"/proc/x.vsn", ms::kReasonNotWritable},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        ui.fileAnswers.push_back(Q(c.path));
        form->MenuSaveQLSClick();
        ASSERT_EQ(ui.messages.size(), 1u) << c.path;
        EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
        EXPECT_EQ(ui.messages[0].caption, "ERROR");
        EXPECT_EQ(ui.messages[0].text,
                  U(ms::kMsgSettingsSaveFailed) + "\n" + Q(c.path) + "\n" + U(c.reason))
            << ui.messages[0].text.toStdString();
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
    EXPECT_EQ(ui.fileDialogs[1].first, TFileDialogKind::Open);

    QelParameter loaded;
    ASSERT_TRUE(tab.ReadSceneControls(loaded));
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(tab.EditEdgePower->isEnabled()); // the shading rule ran
    EXPECT_EQ(tab.PaintShadow->Color(), 0x102030u);
    // Neither the materials nor the output name are scene settings.
    EXPECT_EQ(tab.EditOutputFile->text(), "kept");
    EXPECT_EQ(form->Scene().materials[0].dif, 0.5f);
}

TEST_F(MenuCommands, LoadedSettingsShowTheStartOfEveryField) {
    form->show();
    ui.fileAnswers.push_back(Q(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.vsn"));
    form->MenuLoadQLS->trigger();
    TSceneTab& tab = form->SceneTab();
    // -0.6 in the fewest digits that read back as the same float, whole in its field.
    EXPECT_EQ(tab.EditLightX->text(), "-0.6");
    EXPECT_LT(tab.EditLightX->fontMetrics().horizontalAdvance(tab.EditLightX->text()),
              tab.EditLightX->width() - 6);
    // Numbers show their start; image paths their end, the file name.
    for (const TMaxEdit* edit : form->findChildren<TMaxEdit*>()) {
        EXPECT_EQ(edit->cursorPosition(), edit->ShowEnd() ? edit->text().size() : 0)
            << edit->objectName().toStdString();
    }
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
    // A new record's values, not the window's start-up ones: bilinear filtering, specular
    // light on, pitch and roll -10, icons at 10, 10, a white background. LightingEnable=2 is
    // true, and the field of view "abc" is no number.
    QelParameter expected;
    expected.Width = 640;
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(tab.PaintBackground->Color(), 0xFFFFFFu);

    // A cancelled dialog loads nothing.
    tab.EditCanvasW->FSetPosition(300);
    form->MenuLoadQLSClick();
    EXPECT_EQ(tab.EditCanvasW->GetPosition(), 300);
}

// ---- Help and about -------------------------------------------------------------------------

TEST_F(MenuCommands, HelpOpensThePageBesideTheProgramOrSaysWhereItIs) {
    const QString page = Q(shipped.folder() + "help/vtr_system.html");
    form->MenuHelpIndex->trigger(); // no help folder: the message names the page looked for
    EXPECT_TRUE(ui.documents.isEmpty());
    EXPECT_EQ(ui.Texts(), QStringList({U(ms::kMsgHelpMissing) + "\n" + page}));

    std::filesystem::create_directory(shipped.path() / "help");
    writeBytes(shipped.path() / "help" / "vtr_system.html", "<html></html>");
    ui.messages.clear();
    form->MenuHelpIndex->trigger();
    EXPECT_EQ(ui.documents, QStringList({page}));
    EXPECT_TRUE(ui.messages.empty());

    ui.documentOpens = false; // no browser can be started
    form->MenuHelpIndex->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgHelpNoBrowser) + "\n" + page);
}

TEST_F(MenuCommands, AboutShowsTheIconNameAndVersion) {
    bool inspected = false;
    ui.dialogAnswers.push_back([&](QDialog& dialog) {
        auto& about = static_cast<TDlgAbout&>(dialog);
        EXPECT_EQ(about.parentWidget(), form.get());
        // The icon comes from the program's resources: a 48-pixel picture, drawn.
        const QPixmap icon = about.ImageIcon->pixmap();
        EXPECT_EQ(icon.size(), QSize(48, 48));
        EXPECT_GT(icon.toImage().pixelColor(24, 24).alpha(), 0);
        EXPECT_EQ(about.LabelTitle->text(), "Vantor Converter");
        EXPECT_EQ(about.LabelTitle->font().pixelSize(), 16);
        EXPECT_EQ(about.LabelVersion->text(), "Ver1.1");
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
