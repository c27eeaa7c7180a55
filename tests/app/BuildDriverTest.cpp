// Publishing through the menu: the folder dialog, the package and the shipped files in the
// chosen folder, the images the page names, and the messages.

#include "app/BuildDriver.h"

#include "AppTestSupport.h"
#include "app/MainStrings.h"
#include "app/SceneTab.h"
#include "controls/MaxNumberEdit.h"

#include <QAction>
#include <QComboBox>

namespace vantor::test {
namespace {

namespace ms = main_strings;

class Publish : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ASSERT_TRUE(form->OpenMQO(Sample()));
        ui.messages.clear();
    }
    // Publishes through the menu into out, answering the folder dialog with folder.
    void PublishInto(const QString& folder) {
        ui.folderAnswers.push_back(folder);
        form->MenuSaveVTR->trigger();
    }
    std::string Out(const std::string& name) const { return out.file(name); }

    TempDir out;
};

TEST_F(Publish, WritesThePackageAndTheViewerIntoTheChosenFolder) {
    const std::vector<std::string> previewFiles = form->Driver().Preview().Files();
    PublishInto(Q(out.path().string())); // the dialog gives the folder without a final "/"
    ASSERT_EQ(ui.messages.size(), 1u) << ui.Texts().join('\n').toStdString();
    EXPECT_EQ(ui.messages[0].kind, TMessageKind::Information);
    EXPECT_EQ(ui.messages[0].caption, "SAVE");
    EXPECT_EQ(ui.messages[0].text, QString::fromUtf8(ms::kMsgPublished));
    EXPECT_TRUE(Exists(Out("house.html")));
    EXPECT_TRUE(Exists(Out("house.zip")));
    EXPECT_EQ(readBytes(Out("vtr.jar")), "viewer archive");
    EXPECT_FALSE(Exists(Out("LitColor.jpg"))); // Gouraud shading needs no ramp
    // A published archive is deflated: the method field of its first entry is 8.
    const std::string archive = readBytes(Out("house.zip"));
    ASSERT_GT(archive.size(), 10u);
    EXPECT_EQ(archive[8], 8);
    // The pane shows the published page; the preview's files stay listed for deletion.
    EXPECT_EQ(Browser().Location(), Q(Out("house.html")));
    EXPECT_EQ(form->Driver().Preview().Files(), previewFiles);
    EXPECT_EQ(ui.folderDialogs.at(0).InitialFolder, Q(models.folder()));
}

TEST_F(Publish, CopiesTheCartoonRampOnlyForCartoonShading) {
    form->SceneTab().ComboShade->setCurrentIndex(3);
    PublishInto(Q(out.folder()));
    EXPECT_EQ(readBytes(Out("LitColor.jpg")), "cartoon ramp");
    EXPECT_TRUE(Exists(Out("vtr.jar")));
}

TEST_F(Publish, CopiesTheImagesThePageNames) {
    TempDir pictures;
    writeBytes(models.path() / "sky.jpg", "background, but no image");
    writeBytes(pictures.path() / "rotate.gif", "GIF89a icon");
    writeBytes(out.path() / "logo.gif", "GIF89a already there");
    TSceneTab& tab = form->SceneTab();
    tab.EditBkimg->setText("sky.jpg"); // a bare name lies beside the model
    tab.EditRotIcon->setText(Q(pictures.file("rotate.gif")));
    tab.EditZomIcon->setText(Q(pictures.file("missing.gif")));
    tab.EditTitleLogoImage->setText(Q(out.file("logo.gif"))); // already in the output folder
    PublishInto(Q(out.folder()));
    // Under the message: what was left out as no image, and what came from outside the
    // model's folder, in the page's order.
    const auto note = [](const char* text, const std::string& path) {
        return u'\n' + QString::fromUtf8(text).arg(Q(path));
    };
    EXPECT_EQ(ui.Texts(), QStringList({QString::fromUtf8(ms::kMsgPublished) +
                                       note(ms::kNoteOutsideModelFolder, out.file("logo.gif")) +
                                       note(ms::kNoteNotAnImage, models.file("sky.jpg")) +
                                       note(ms::kNoteOutsideModelFolder,
                                            pictures.file("rotate.gif"))}));
    EXPECT_FALSE(Exists(Out("sky.jpg")));
    EXPECT_EQ(readBytes(Out("rotate.gif")), "GIF89a icon");
    EXPECT_EQ(readBytes(Out("logo.gif")), "GIF89a already there");
    EXPECT_FALSE(Exists(Out("missing.gif")));
}

TEST_F(Publish, IntoTheModelsFolderPutsThePackageBesideTheModel) {
    PublishInto(Q(models.folder()));
    EXPECT_TRUE(Exists(models.file("house.html")));
    EXPECT_TRUE(Exists(models.file("house.zip")));
    EXPECT_TRUE(Exists(models.file("house.mqo")));
    EXPECT_EQ(ui.Texts(), QStringList({QString::fromUtf8(ms::kMsgPublished)}));
}

TEST_F(Publish, ACancelledDialogWritesNothing) {
    form->MenuSaveVTR->trigger();
    EXPECT_EQ(ui.folderDialogs.size(), 1u);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

// A failed publish names what failed and why, under the message; the message alone when the
// scene fields are wrong.
TEST_F(Publish, FailuresShowTheirMessageAndReasonAndNoConfirmation) {
    const auto failure = [](const std::string& path, const char* reason) {
        return QStringList({Q(ms::kMsgBuildFailed) + u'\n' + Q(path) + u'\n' + Q(reason)});
    };
    form->SceneTab().EditOutputFile->setText("../escape");
    PublishInto(Q(out.folder()));
    EXPECT_EQ(ui.Texts(), failure("../escape", ms::kReasonBadPackageName));
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));

    ui.messages.clear();
    form->SceneTab().EditOutputFile->setText("house");
    form->SceneTab().EditRotIconX->setText("1.5");
    PublishInto(Q(out.folder()));
    EXPECT_EQ(ui.Texts(), QStringList({QString::fromUtf8(ms::kMsgBadSceneInput)}));
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));

    // A "folder" that is a file: nothing can be written under it.
    ui.messages.clear();
    form->SceneTab().EditRotIconX->setText("1");
    writeBytes(out.path() / "plain", "a file");
    PublishInto(Q(out.file("plain")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(Q(ms::kMsgBuildFailed) + u'\n'));
    EXPECT_TRUE(ui.messages[0].text.endsWith(u'\n' + Q(ms::kReasonNoFolder)))
        << ui.messages[0].text.toStdString();

    // An image named like the page would replace it: the package is not written.
    ui.messages.clear();
    std::filesystem::remove(out.path() / "plain");
    writeBytes(models.path() / "house.html", "an image");
    form->SceneTab().EditBkimg->setText("house.html");
    PublishInto(Q(out.folder()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.endsWith(u'\n' + Q(ms::kReasonImageNamedLikePackageFile)))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(std::filesystem::is_empty(out.path()));
}

} // namespace
} // namespace vantor::test
