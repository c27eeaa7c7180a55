// Sessions as a person works through them: open the sample, give a material another colour
// and a texture, change scene settings, save and load them, preview, publish, and save the
// model as MQO; the published package and the saved model carry the edits. A failed open
// between two publishes, which must leave the published package alone. And the question that
// stands between unsaved changes and whatever would drop them.

#include "AppTestSupport.h"
#include "app/BuildDriver.h"
#include "app/Color.h"
#include "app/ColorBox.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "app/SystemText.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "model/QelScene.h"
#include "publish/PackageDecoder.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>

namespace vantor::test {
namespace {

namespace ms = main_strings;

using EditorWorkflow = EditorTest;

TEST_F(EditorWorkflow, EditsReachThePreviewThePackageAndTheSavedModel) {
    form->show();
    ui.fileAnswers.push_back(Q(Sample()));
    form->MenuOpenMQO->trigger();
    ASSERT_EQ(form->ModelPath(), Sample());

    // The roof turns green and gets the brick texture.
    TMaterialTab& material = form->MaterialTab();
    form->PageControl->setCurrentWidget(form->TabMaterial);
    TMaxListBox* list = material.ListBoxMaterial;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ui.dialogAnswers.push_back([](QDialog& dialog) {
        static_cast<TFormColor&>(dialog).ColorPanel->SetColor(0x00FF00);
        return true;
    });
    QTest::mouseClick(material.PaintMaterial, Qt::LeftButton);
    const std::string brick = models.file("brick.jpg");
    ui.fileAnswers.push_back(Q(brick));
    material.BtnLoadTexture->click();

    // Scene settings: a wider canvas and cartoon shading, saved, spoilt, and loaded back.
    TSceneTab& scene = form->SceneTab();
    scene.EditCanvasW->FSetPosition(320);
    scene.ComboShade->setCurrentIndex(kShadeCartoon);
    TempDir out;
    ui.fileAnswers.push_back(Q(out.file("scene.vsn")));
    form->MenuSaveQLS->trigger();
    scene.WriteSceneControls(editorStartupParameters());
    ui.fileAnswers.push_back(Q(out.file("scene.vsn")));
    form->MenuLoadQLS->trigger();

    QTest::mouseClick(form->BtnUpdate, Qt::LeftButton);
    EXPECT_EQ(Browser().Location(), Q(form->Driver().Preview().Path() + "house.html"));

    std::filesystem::create_directory(out.path() / "pub");
    ui.folderAnswers.push_back(Q(out.file("pub")));
    form->MenuSaveVTR->trigger();
    ui.fileAnswers.push_back(Q(out.file("edited.mqo")));
    form->MenuSaveMQO->trigger();
    EXPECT_EQ(ui.Texts(), QStringList({QString::fromUtf8(ms::kMsgPublished),
                                       QString::fromUtf8(ms::kMsgMqoSaved)}));

    // The package: the page, the archive, the viewer and the cartoon ramp, and a model whose
    // roof is green and textured.
    for (const char* name : {"house.html", "house.zip", "vtr.jar", "LitColor.jpg"}) {
        EXPECT_TRUE(Exists(out.file("pub/" + std::string(name)))) << name;
    }
    const ArchiveReadResult archive = readArchive(out.file("pub/house.zip"));
    ASSERT_TRUE(archive.ok) << archive.error;
    const auto model =
        std::find_if(archive.entries.begin(), archive.entries.end(),
                     [](const ArchiveEntry& e) { return e.name == "house\\house.qel"; });
    ASSERT_NE(model, archive.entries.end());
    const std::optional<DecodedKeyedFile> keyed = decodeKeyedFile(model->data);
    ASSERT_TRUE(keyed.has_value());
    const ModelDecodeResult decoded = decodeModelStream(keyed->stream);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    const DecodedMaterial& roof = decoded.model->materials.at(1);
    EXPECT_EQ(roof.col, (std::array<float, 4>{0, 1, 0, 1}));
    EXPECT_TRUE(roof.colorMap.has_value());
    EXPECT_NE(readBytes(out.file("pub/house.html")).find("width=\"320\""), std::string::npos);

    // The saved model, which the window now calls its own.
    EXPECT_EQ(form->ModelPath(), out.file("edited.mqo"));
    QelScene saved;
    ASSERT_TRUE(saved.LoadMQO(out.file("edited.mqo")));
    EXPECT_EQ(saved.materials.at(1).col, (std::array<float, 4>{0, 1, 0, 1}));
    EXPECT_EQ(saved.materials.at(1).tex, brick);
}

TEST_F(EditorWorkflow, AFailedOpenLeavesNoModelToPreviewOrPublish) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    TempDir out;
    ui.folderAnswers.push_back(Q(out.folder()));
    form->MenuSaveVTR->trigger();
    ASSERT_EQ(ui.Texts(), QStringList({QString::fromUtf8(ms::kMsgPublished)}));
    const auto package = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(out.path())) {
            files[entry.path().filename().string()] = readBytes(entry.path());
        }
        return files;
    };
    const std::map<std::string, std::string> published = package();
    ASSERT_TRUE(published.count("house.zip"));
    const qsizetype pages = Browser().history.size();

    TMaterialTab& material = form->MaterialTab();
    const std::string notes = WriteModel("notes.txt", "shopping list\n");
    const std::pair<QString, const char*> failures[] = {{Q(notes), ms::kMsgMqoReadFailed},
                                                         {Q(models.folder()), ms::kMsgMqoCannotOpen}};
    for (const auto& [failing, message] : failures) {
        ui.messages.clear();
        form->OpenDroppedFiles({QUrl::fromLocalFile(failing)});
        EXPECT_EQ(form->ModelPath(), SystemText(failing)); // the caption names it
        EXPECT_FALSE(form->ModelLoaded());
        // The material editor stands for no material: nothing to edit, nothing shown.
        EXPECT_EQ(material.ListBoxMaterial->count(), 0);
        EXPECT_FALSE(material.GroupMaterial->isEnabled());
        EXPECT_FALSE(material.GroupMapping->isEnabled());
        EXPECT_TRUE(material.EditTexture->text().isEmpty());

        // 更新 and Ctrl+S fail as they do before any model is read, and write nothing.
        QTest::mouseClick(form->BtnUpdate, Qt::LeftButton);
        ui.folderAnswers.push_back(Q(out.folder()));
        form->MenuSaveVTR->trigger();
        const QStringList texts = ui.Texts();
        ASSERT_EQ(texts.size(), 3) << failing.toStdString();
        EXPECT_TRUE(texts[0].startsWith(QString::fromUtf8(message) + "\n" + failing));
        EXPECT_EQ(texts.mid(1), QStringList({QString::fromUtf8(ms::kMsgBuildFailed),
                                             QString::fromUtf8(ms::kMsgBuildFailed)}));
        EXPECT_TRUE(package() == published) << "the published package changed";
        EXPECT_EQ(Browser().history.size(), pages);
        EXPECT_TRUE(Browser().Location().isEmpty()) << "the pane shows no page";
    }

    // The next model that reads is edited and previewed as usual.
    ASSERT_TRUE(form->OpenMQO(Sample()));
    EXPECT_TRUE(material.GroupMaterial->isEnabled());
    EXPECT_EQ(material.EditTexture->text(), "brick.jpg");
    EXPECT_EQ(Browser().history.size(), pages + 1);
}

TEST_F(EditorWorkflow, UnsavedChangesAreAskedAboutBeforeTheyAreLost) {
    form->show();
    ASSERT_TRUE(form->OpenMQO(Sample()));
    TMaterialTab& material = form->MaterialTab();
    TSceneTab& scene = form->SceneTab();
    // Opening frames the model and showing a material rounds its factors: neither is an edit.
    material.ListBoxMaterial->SetItemIndex(3);
    material.ListBoxMaterialClick();
    EXPECT_FALSE(form->ModelModified());
    EXPECT_FALSE(form->SceneModified());
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(ui.questions.isEmpty());
    form->show();

    material.EditDif->FSetPosition(0.3);
    ASSERT_TRUE(form->ModelModified());
    // キャンセル keeps the window, the model and its edit; nothing else is asked or shown.
    ui.saveAnswers = {TSaveAnswer::Cancel, TSaveAnswer::Cancel, TSaveAnswer::Cancel};
    EXPECT_FALSE(form->close());
    form->MenuOpenMQO->trigger();
    form->OpenDroppedFiles({QUrl::fromLocalFile(Q(Sample()))});
    EXPECT_EQ(ui.questions, QStringList(3, QString::fromUtf8(ms::kMsgAskSaveModel)));
    EXPECT_TRUE(ui.fileDialogs.empty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Scene().materials[3].dif, 0.3f);

    // 保存する runs the MQO save, proposing the model's file; a cancelled save cancels too.
    ui.saveAnswers = {TSaveAnswer::Save};
    EXPECT_FALSE(form->close());
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].second.FileName, Q(Sample()));
    TempDir out;
    ui.saveAnswers = {TSaveAnswer::Save};
    ui.fileAnswers.push_back(Q(out.file("edited.mqo")));
    ui.fileAnswers.push_back(Q(Sample()));
    form->MenuOpenMQO->trigger(); // saved, then the open dialog, then the sample again
    EXPECT_EQ(ui.fileDialogs.size(), 3u);
    QelScene saved;
    ASSERT_TRUE(saved.LoadMQO(out.file("edited.mqo")));
    EXPECT_EQ(saved.materials[3].dif, 0.3f);
    EXPECT_EQ(form->ModelPath(), Sample());
    EXPECT_FALSE(form->ModelModified());

    // The scene settings: changed against start-up, saved, then changed against the file.
    ui.questions.clear();
    scene.EditLightX->setText("0.5");
    ASSERT_TRUE(form->SceneModified());
    ui.saveAnswers = {TSaveAnswer::Save};
    ui.fileAnswers.push_back(Q(out.file("scene.vsn")));
    ui.fileAnswers.push_back(std::nullopt); // the load's own dialog, cancelled
    form->MenuLoadQLS->trigger();
    EXPECT_EQ(ui.questions, QStringList({QString::fromUtf8(ms::kMsgAskSaveScene)}));
    EXPECT_TRUE(Exists(out.file("scene.vsn")));
    EXPECT_FALSE(form->SceneModified());
    scene.EditLightX->setText("abc"); // a field that cannot be read is a change too
    EXPECT_TRUE(form->SceneModified());
    scene.EditLightX->setText("0.5");
    EXPECT_FALSE(form->SceneModified());

    // Both changed: closing asks about each; 保存しない lets both go.
    material.EditDif->FSetPosition(0.4);
    scene.EditCanvasW->FSetPosition(321);
    ui.questions.clear();
    ui.saveAnswers = {TSaveAnswer::Discard, TSaveAnswer::Discard};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ui.questions, QStringList({QString::fromUtf8(ms::kMsgAskSaveModel),
                                         QString::fromUtf8(ms::kMsgAskSaveScene)}));
}

} // namespace
} // namespace vantor::test
