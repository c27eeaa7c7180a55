// The main window as a user meets it: its start-up state, opening models from the menu and by
// dropping files, the messages of failed reads, previews in the private folder and their
// clean-up.

#include "AppTestSupport.h"
#include "app/BuildDriver.h"
#include "app/CommandLine.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxGroup.h"
#include "controls/MaxList.h"
#include "platform/TempFolder.h"
#include "publish/CameraFit.h"
#include "publish/QelParameter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <sys/stat.h>

namespace vantor::test {
namespace {

namespace ms = main_strings;

QString U(const char* text) {
    return QString::fromUtf8(text);
}

QStringList ListItems(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) {
        items << list->item(i)->text();
    }
    return items;
}

// Drops the files on the window as the desktop would: the drag enters the window, then the
// files are let go over it.
void DropOn(QWidget* window, const QList<QUrl>& urls) {
    window->show();
    QMimeData data;
    data.setUrls(urls);
    const QPoint point(window->width() - 20, window->height() / 2);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &drop);
}

// The model of the sample house with more vertices declared than one object may have.
constexpr std::string_view kTooManyVertices = "Metasequoia Document\nFormat Text Ver 1.0\n"
                                              "Object \"big\" {\n\tvertex 65537 {\n";

using MainWindow = EditorTest;

TEST_F(MainWindow, StartsWithItsDesignState) {
    EXPECT_EQ(form->windowTitle(), "Vantor Converter");
    EXPECT_EQ(form->size(), QSize(940, 671));
    EXPECT_EQ(form->font().families().value(0), U(ms::kFontFace));
    EXPECT_TRUE(form->font().families().contains("IPAPGothic"));
    EXPECT_EQ(form->font().pixelSize(), 12);
    EXPECT_TRUE(form->acceptDrops());

    ASSERT_EQ(form->PageControl->count(), 3);
    EXPECT_EQ(form->PageControl->tabText(0), U(ms::kTabScene));
    EXPECT_EQ(form->PageControl->tabText(1), U(ms::kTabMaterial));
    EXPECT_EQ(form->PageControl->tabText(2), U(ms::kTabSystem));
    EXPECT_EQ(form->PageControl->currentIndex(), 0);
    EXPECT_EQ(form->PageControl->width(), 390);
    EXPECT_EQ(form->BtnUpdate->text(), U(ms::kBtnUpdate));
    EXPECT_EQ(form->BtnUpdate->size(), QSize(75, 25));

    TSceneTab& tab = form->SceneTab();
    EXPECT_EQ(tab.ComboShade->currentIndex(), 1);
    EXPECT_FALSE(tab.EditEdgePower->isEnabled());
    EXPECT_FALSE(tab.LabelEdgePower->isEnabled());
    EXPECT_TRUE(tab.EditTitleLogoImage->text().isEmpty());
    QelParameter read;
    ASSERT_TRUE(tab.ReadSceneControls(read));
    EXPECT_EQ(read, editorStartupParameters());

    EXPECT_EQ(form->MaterialTab().ListBoxMaterial->count(), 0);
    EXPECT_EQ(form->MaterialTab().ListBoxMaterial->width(), 121);
    const std::string& preview = form->Driver().Preview().Path();
    EXPECT_EQ(preview, processTempFolder().value() + "VTRTemp/");
    EXPECT_TRUE(std::filesystem::is_directory(preview));
    EXPECT_TRUE(Browser().history.isEmpty());
}

TEST_F(MainWindow, GroupBoxesStayExpandedWhenTheirTitleIsClicked) {
    form->show();
    TSceneTab& tab = form->SceneTab();
    const struct {
        TMaxGroupBox* group;
        int height;
    } groups[] = {{tab.GroupScene, 201}, {tab.GroupRendering, 145}, {tab.GroupLighting, 140},
                  {tab.GroupShadow, 73}, {tab.GroupSystem, 209},    {tab.GroupIcon, 145}};
    for (const auto& [group, height] : groups) {
        EXPECT_EQ(group->Style(), mgbAlias);
        EXPECT_FALSE(group->EnableMinimized());
        EXPECT_EQ(group->height(), height) << group->Caption().toStdString();
    }
    QTest::mouseClick(tab.GroupScene, Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_FALSE(tab.GroupScene->Minimized());
    EXPECT_EQ(tab.GroupScene->height(), 201);
    // The chain keeps the groups 8 pixels apart, top to bottom.
    EXPECT_EQ(tab.GroupRendering->y(), tab.GroupScene->geometry().bottom() + 1 + 8);
    EXPECT_EQ(tab.GroupShadow->y(), tab.GroupLighting->geometry().bottom() + 1 + 8);
    EXPECT_EQ(tab.GroupIcon->y(), tab.GroupSystem->geometry().bottom() + 1 + 8);
}

TEST_F(MainWindow, MenuHasItsCaptionsAndShortcuts) {
    const struct {
        QAction* action;
        const char* caption;
        QKeySequence shortcut;
    } items[] = {
        {form->MenuOpenMQO, ms::kMenuOpenMQO, QKeySequence("Ctrl+O")},
        {form->MenuSaveMQO, ms::kMenuSaveMQO, {}},
        {form->MenuSaveVTR, ms::kMenuSaveVTR, QKeySequence("Ctrl+S")},
        {form->MenuLoadQLS, ms::kMenuLoadQLS, {}},
        {form->MenuSaveQLS, ms::kMenuSaveQLS, {}},
        {form->MenuExit, ms::kMenuExit, {}},
        {form->MenuHelpIndex, ms::kMenuHelpIndex, {}},
        {form->MenuAbout, ms::kMenuAbout, {}},
    };
    for (const auto& item : items) {
        EXPECT_EQ(item.action->text(), U(item.caption));
        EXPECT_EQ(item.action->shortcut(), item.shortcut) << item.caption;
        EXPECT_TRUE(item.action->isEnabled());
    }
}

TEST_F(MainWindow, OpeningTheSampleShowsItsPathNameMaterialsAndPreview) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    EXPECT_TRUE(ui.messages.empty()) << ui.Texts().join('\n').toStdString();
    EXPECT_EQ(form->windowTitle(), "Vantor Converter [" + Q(Sample()) + "]");
    EXPECT_EQ(form->SceneTab().EditOutputFile->text(), "house");
    QListWidget* list = form->MaterialTab().ListBoxMaterial;
    EXPECT_EQ(ListItems(list),
              QStringList({U("レンガ"), U("屋根"), U("扉"), U("窓ガラス"), U("芝生")}));
    EXPECT_EQ(list->currentRow(), 0);

    const TPreviewFolder& preview = form->Driver().Preview();
    EXPECT_EQ(preview.Files(), (std::vector<std::string>{"house.zip", "house.html", "vtr.jar"}));
    for (const std::string& name : preview.Files()) {
        EXPECT_TRUE(Exists(preview.Path() + name)) << name;
    }
    EXPECT_FALSE(Exists(preview.Path() + "LitColor.jpg"));
    // A preview archive is stored, not deflated: the method field of its first entry is 0.
    const std::string archive = readBytes(preview.Path() + "house.zip");
    ASSERT_GT(archive.size(), 10u);
    EXPECT_EQ(archive[8], 0);
    EXPECT_EQ(Browser().history, QStringList({Q(preview.Path() + "house.html")}));
    // The cursor showed busy for the read and for the build, and is back to normal.
    EXPECT_EQ(ui.busyCount, 2);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MainWindow, AFailedReadNamesItsCauseAndLeavesAnEmptyPane) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const std::string fifo = models.file("pipe.mqo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        const char* message;
        QString reason; // empty: the message is the reason
    } cases[] = {
        {models.file("missing.mqo"), ms::kMsgMqoCannotOpen, U(ms::kReasonNoSuchFile)},
        {models.folder(), ms::kMsgMqoCannotOpen, U(ms::kReasonIsFolder)},
        {fifo, ms::kMsgMqoCannotOpen, U(ms::kReasonNotRegularFile)},
        {WriteModel("big.mqo", kTooManyVertices), ms::kMsgMqoTooManyVertices, {}},
        {WriteModel("notes.mqo", "not a model at all\n"), ms::kMsgMqoReadFailed,
         U(ms::kReasonNotAModel)},
        {WriteModel("empty.mqoz", "PK\x05\x06" + std::string(18, '\0')), ms::kMsgMqoReadFailed,
         U(ms::kReasonNotAModel)},
        // The face chunk of line 9 declares two faces, and the file ends after one.
        {WriteModel("cut.mqo", "Metasequoia Document\nFormat Text Ver 1.0\nObject \"a\" {\n"
                               "\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n"
                               "\tface 2 {\n\t\t3 V(0 1 2)\n"),
         ms::kMsgMqoReadFailed, U(ms::kReasonDamagedAtLine).arg(9)},
    };
    for (const auto& c : cases) {
        // Each failure after a model that previewed: nothing of that model may stay in view.
        ASSERT_TRUE(form->OpenMQO(Sample()));
        ui.messages.clear();
        EXPECT_FALSE(form->OpenMQO(c.path));
        ASSERT_EQ(ui.messages.size(), 1u) << c.path;
        EXPECT_EQ(ui.messages[0].kind, TMessageKind::Error);
        EXPECT_EQ(ui.messages[0].caption, "ERROR");
        QString expected = U(c.message) + "\n" + Q(c.path);
        if (!c.reason.isEmpty()) {
            expected += "\n" + c.reason;
        }
        EXPECT_EQ(ui.messages[0].text.toStdString(), expected.toStdString());
        // The caption names the file that failed; the pane and the material list are empty.
        EXPECT_EQ(form->windowTitle(), "Vantor Converter [" + Q(c.path) + "]");
        EXPECT_EQ(form->ModelPath(), c.path);
        EXPECT_EQ(form->SceneTab().EditOutputFile->text(), "house");
        EXPECT_EQ(form->MaterialTab().ListBoxMaterial->count(), 0);
        EXPECT_TRUE(Browser().Location().isEmpty());
        EXPECT_TRUE(form->Driver().Preview().Files().empty());
        EXPECT_FALSE(Exists(form->Driver().Preview().Path() + "house.html"));
        EXPECT_EQ(ui.busyDepth, 0);
    }
}

TEST_F(MainWindow, DroppedFilesOpenInOrderUntilOneSucceeds) {
    const std::string third = WriteModel("third.mqo", readBytes(Sample()));
    DropOn(form.get(), {QUrl("http://example.com/remote.mqo"),
                        QUrl::fromLocalFile(Q(models.file("missing.mqo"))),
                        QUrl::fromLocalFile(Q(Sample())), QUrl::fromLocalFile(Q(third))});
    // The remote file is skipped, the missing one reports, the sample opens, the third waits.
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith(U(ms::kMsgMqoCannotOpen)));
    EXPECT_EQ(form->ModelPath(), Sample());
    EXPECT_EQ(form->SceneTab().EditOutputFile->text(), "house");
    EXPECT_EQ(Browser().history.size(), 1);
}

TEST_F(MainWindow, DroppingAFileThatIsNoModelShowsItsPathAndTheMessage) {
    const std::string text = WriteModel("notes.txt", "shopping list\n");
    DropOn(form.get(), {QUrl::fromLocalFile(Q(text))});
    EXPECT_EQ(ui.Texts(), QStringList({U(ms::kMsgMqoReadFailed) + "\n" + Q(text) + "\n" +
                                       U(ms::kReasonNotAModel)}));
    EXPECT_EQ(form->windowTitle(), "Vantor Converter [" + Q(text) + "]");
}

TEST_F(MainWindow, TheNextPreviewDeletesTheFilesOfTheLastOne) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const std::string folder = form->Driver().Preview().Path();
    form->SceneTab().EditOutputFile->setText("second");
    QTest::mouseClick(form->BtnUpdate, Qt::LeftButton);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(Exists(folder + "house.zip"));
    EXPECT_FALSE(Exists(folder + "house.html"));
    EXPECT_TRUE(Exists(folder + "second.zip"));
    EXPECT_TRUE(Exists(folder + "second.html"));
    EXPECT_EQ(form->Driver().Preview().Files(),
              (std::vector<std::string>{"second.zip", "second.html", "vtr.jar"}));
    EXPECT_EQ(Browser().Location(), Q(folder + "second.html"));
}

TEST_F(MainWindow, ClosingDeletesThePreviewFilesAndTheirFolder) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const std::string folder = form->Driver().Preview().Path();
    form.reset();
    EXPECT_FALSE(Exists(folder));
}

TEST_F(MainWindow, ClosingKeepsFilesThatNoPreviewPutThere) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const std::string folder = form->Driver().Preview().Path();
    writeBytes(folder + "keep.txt", "not ours");
    form.reset();
    EXPECT_TRUE(Exists(folder + "keep.txt"));
    EXPECT_FALSE(Exists(folder + "house.zip"));
    std::filesystem::remove_all(folder);
}

TEST_F(MainWindow, UpdateWithoutAModelReportsTheFailedBuild) {
    QTest::mouseClick(form->BtnUpdate, Qt::LeftButton);
    EXPECT_EQ(ui.Texts(), QStringList({U(ms::kMsgBuildFailed)}));
    EXPECT_TRUE(Browser().history.isEmpty());
    EXPECT_TRUE(form->Driver().Preview().Files().empty());
}

TEST_F(MainWindow, UnreadableSettingsStopTheUpdateBeforeAnythingIsDeleted) {
    ASSERT_TRUE(form->OpenMQO(Sample()));
    const std::vector<std::string> files = form->Driver().Preview().Files();
    form->SceneTab().EditLightX->setText("abc");
    form->BtnUpdateClick();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "ERROR");
    EXPECT_EQ(ui.messages[0].text, U(ms::kMsgBadSceneInput));
    EXPECT_EQ(form->Driver().Preview().Files(), files);
    EXPECT_TRUE(Exists(form->Driver().Preview().Path() + "house.zip"));
    EXPECT_EQ(Browser().history.size(), 1);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MainWindow, TheFitButtonPutsTheCameraWhereTheModelShowsWholeWithoutAPreview) {
    TSceneTab& tab = form->SceneTab();
    const auto position = [&] {
        return QStringList{tab.EditModelPosX->text(), tab.EditModelPosY->text(),
                           tab.EditModelPosZ->text()};
    };
    EXPECT_EQ(tab.BtnFitCamera->text(), U(ms::kBtnFitCamera));
    EXPECT_EQ(tab.BtnFitCamera->toolTip(), U(ms::kTipFitCamera));
    QTest::mouseClick(tab.BtnFitCamera, Qt::LeftButton);
    EXPECT_EQ(position(), QStringList({"0", "0", "500"})) << "no model: nothing changes";
    EXPECT_TRUE(ui.messages.empty());

    ASSERT_TRUE(form->OpenMQO(Sample()));
    tab.EditModelPosX->setText("12");
    tab.EditFieldOfView->SetPosition(20);
    tab.EditCanvasW->SetPosition(400);
    QTest::mouseClick(tab.BtnFitCamera, Qt::LeftButton);
    QelParameter fields;
    ASSERT_TRUE(tab.ReadSceneControls(fields));
    const std::optional<QelFloat3> fitted = fitCameraPosition(form->Scene(), fields);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fields.ModelPosition, *fitted);
    EXPECT_GT(fields.ModelPosition[2], 500.0f) << "a narrower view angle needs more distance";
    EXPECT_LE(tab.EditModelPosZ->text().size(), 4) << "shown in the digits it was rounded to";
    EXPECT_EQ(Browser().history.size(), 1) << "the fit builds no preview by itself";

    // What a failed open leaves behind is no model to frame.
    writeBytes(models.path() / "half.mqo", "Metasequoia Document\r\nFormat Text Ver 1.0\r\n"
               "Object \"a\" {\r\n\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t9 0 0\r\n\t\t0 9 0\r\n"
               "\t}\r\n\tface 1 {\r\n\t\t3 V(0 1 2)\r\n\t}\r\n}\r\nObject \"b\" {\r\n\tvertex 70000 {\r\n");
    EXPECT_FALSE(form->OpenMQO(models.file("half.mqo")));
    ui.messages.clear();
    tab.ShowModelPosition({0, 0, 500});
    QTest::mouseClick(tab.BtnFitCamera, Qt::LeftButton);
    EXPECT_EQ(position(), QStringList({"0", "0", "500"}));
    ASSERT_TRUE(form->OpenMQO(Sample()));

    tab.EditInitRowYaw->setText("abc");
    QTest::mouseClick(tab.BtnFitCamera, Qt::LeftButton);
    EXPECT_EQ(ui.Texts(), QStringList({U(ms::kMsgBadSceneInput)}));
}

TEST_F(MainWindow, ShortcutsOpenTheModelAndFolderDialogs) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));

    ui.fileAnswers.push_back(Q(Sample()));
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(ui.fileDialogs[0].first, TFileDialogKind::Open);
    EXPECT_EQ(ui.fileDialogs[0].second.Filters,
              QStringList({U(ms::kMqoOpenFilters[0]), U(ms::kMqoOpenFilters[1])}));
    EXPECT_EQ(ui.fileDialogs[0].second.DefaultExt, "*.mqo");
    EXPECT_TRUE(ui.fileDialogs[0].second.FileMustExist);
    EXPECT_EQ(form->ModelPath(), Sample());

    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier); // cancelled
    ASSERT_EQ(ui.folderDialogs.size(), 1u);
    EXPECT_EQ(ui.folderDialogs[0].Title, U(ms::kSaveFolderTitle));
    EXPECT_EQ(ui.folderDialogs[0].InitialFolder, Q(models.folder()));
    EXPECT_TRUE(ui.folderDialogs[0].NewFolder);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindow, ExitClosesTheWindow) {
    form->show();
    ASSERT_TRUE(form->isVisible());
    form->MenuExit->trigger();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainWindow, AnOpenedModelIsFramedUnlessTheCameraWasChosen) {
    TSceneTab& tab = form->SceneTab();
    const auto camera = [&] {
        QelParameter fields;
        EXPECT_TRUE(tab.ReadSceneControls(fields));
        return fields.ModelPosition;
    };
    const auto framed = [&] {
        QelParameter fields;
        EXPECT_TRUE(tab.ReadSceneControls(fields));
        return fitCameraPosition(form->Scene(), fields).value();
    };
    // The start-up camera gives way to the fitted one before the first preview.
    const std::string small = WriteModel(
        "small.mqo", "Metasequoia Document\nFormat Text Ver 1.0\nObject \"a\" {\n"
                     "\tvertex 3 {\n\t\t0 0 0\n\t\t2 0 0\n\t\t0 2 0\n\t}\n"
                     "\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\nEof\n");
    ASSERT_TRUE(form->OpenMQO(small));
    EXPECT_EQ(camera(), framed());
    EXPECT_LT(camera()[2], 50.0f) << "a speck at the start-up distance";
    const std::string page = readBytes(Browser().Location().toStdString());
    EXPECT_NE(page.find("\"ModelPosition\""), std::string::npos) << "the page has it";
    EXPECT_FALSE(form->SceneModified()) << "the program's framing is no change of the settings";

    // A fitted camera is the program's too: the next model is framed for itself.
    ASSERT_TRUE(form->OpenMQO(Sample()));
    EXPECT_EQ(camera(), framed());
    EXPECT_GT(camera()[2], 50.0f);

    // A typed camera is kept, for this model and the next.
    QTest::keyClick(tab.EditModelPosZ, Qt::Key_End);
    QTest::keyClicks(tab.EditModelPosZ, "0");
    const QelFloat3 typed = camera();
    ASSERT_TRUE(form->OpenMQO(Sample()));
    EXPECT_EQ(camera(), typed);
    // 合わせる gives the choice back to the program.
    QTest::mouseClick(tab.BtnFitCamera, Qt::LeftButton);
    ASSERT_TRUE(form->OpenMQO(small));
    EXPECT_EQ(camera(), framed());

    // A loaded camera is kept.
    ui.fileAnswers.push_back(Q(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.vsn"));
    form->MenuLoadQLSClick();
    const QelFloat3 loaded = camera();
    ASSERT_TRUE(form->OpenMQO(Sample()));
    EXPECT_EQ(camera(), loaded);
    EXPECT_FALSE(form->SceneModified());
}

TEST(CommandLine, TakesFilesHelpAndVersionAndRefusesOtherOptions) {
    const struct {
        QStringList arguments;
        TCommandAction action;
        QStringList files;
        QString refused;
    } cases[] = {
        {{}, TCommandAction::Run, {}, {}},
        {{"a.mqo", "b.mqoz"}, TCommandAction::Run, {"a.mqo", "b.mqoz"}, {}},
        {{"--help"}, TCommandAction::Help, {}, {}},
        {{"a.mqo", "-h"}, TCommandAction::Help, {}, {}},
        {{"--version"}, TCommandAction::Version, {}, {}},
        {{"--bogus", "--help"}, TCommandAction::Refuse, {}, "--bogus"},
        {{"a.mqo", "-x"}, TCommandAction::Refuse, {}, "-x"},
        {{"--", "-odd.mqo", "--help"}, TCommandAction::Run, {"-odd.mqo", "--help"}, {}},
        {{"-"}, TCommandAction::Run, {"-"}, {}},
    };
    for (const auto& c : cases) {
        const TCommandLine line = ParseCommandLine(c.arguments);
        EXPECT_EQ(line.Action, c.action) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(line.Files, c.files);
        EXPECT_EQ(line.Refused, c.refused);
    }
    // The program itself: the usage line on standard output, or with the refusal on standard
    // error and status 2; neither opens a window.
    const QString program = QStringLiteral(VANTOR_BIN_DIR "/vantor");
    QProcess help;
    help.start(program, {"--help"});
    ASSERT_TRUE(help.waitForFinished(20000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(help.readAllStandardOutput()), EditorUsage() + "\n");
    QProcess refused;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    refused.setProcessEnvironment(environment);
    refused.start(program, {"--bogus"});
    ASSERT_TRUE(refused.waitForFinished(20000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_TRUE(refused.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(QString::fromLocal8Bit(refused.readAllStandardError())
                    .contains("unknown option --bogus\n" + EditorUsage()));
}

} // namespace
} // namespace vantor::test
