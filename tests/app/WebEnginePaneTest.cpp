// The editor with its real browser pane, under an X server (xvfb-run): opening the sample
// previews it, and the viewer on the preview page reads the package beside the page and draws
// the model. Skipped, with the reason, without a display, without WebEngine, or without the
// viewer files that ship beside the program.
//
// With VANTOR_SCREENSHOT_DIR set, pictures of the window with the sample opened are saved there,
// one per settings tab (and the material tab with a coloured material), with the colour dialog
// and the about box.

#include "AppTestSupport.h"
#include "app/About.h"
#include "app/BuildDriver.h"
#include "app/Color.h"
#include "app/ColorBox.h"
#include "app/Main.h"
#include "app/MainStrings.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "controls/MaxNumberEdit.h"
#include "controls/MaxColorPanel.h"
#include "controls/MaxList.h"
#include "publish/CameraFit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <unistd.h>

#ifndef VANTOR_HAVE_WEBENGINE
TEST(RealBrowser, ShowsThePreviewOfTheSample) {
    GTEST_SKIP() << "built without WebEngine (VANTOR_WEBENGINE=OFF)";
}
#else
#include "browser/WebEngineBrowserPane.h"

#include <QMenu>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace vantor::test {
namespace {

// The state the viewer shows on its element: "loading", "ready" or "error", or "" while the
// page has no viewer yet.
QString ViewerState(QWebEngineView* view) {
    QString state;
    bool answered = false;
    view->page()->runJavaScript(
        "(() => { const v = document.querySelector('.qel-viewer');"
        " return v ? v.dataset.state + (v.dataset.error ? ':' + v.dataset.error : '') : ''; })()",
        [&](const QVariant& result) {
            state = result.toString();
            answered = true;
        });
    for (int waited = 0; !answered && waited < 5000; waited += 10) {
        QTest::qWait(10);
    }
    return state;
}

void SaveScreenPicture(QWidget& window, const QString& path) {
    QTest::qWait(300);
    const QRect frame = window.frameGeometry();
    window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(path);
}

// The dialogs are shown without their modal loop, long enough to be photographed.
void SaveDialogScreenshot(QDialog& dialog, const QString& path) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    SaveScreenPicture(dialog, path);
    dialog.close();
}

void SaveScreenshots(TFormMain& form) {
    const QString folder = qEnvironmentVariable("VANTOR_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    const char* names[] = {"editor-scene-tab.png", "editor-material-tab.png",
                           "editor-system-tab.png"};
    for (int tab = 0; tab < 3; ++tab) {
        form.PageControl->setCurrentIndex(tab);
        SaveScreenPicture(form, folder + "/" + names[tab]);
    }
    // The colour dialog as the roof's colour box opens it.
    form.PageControl->setCurrentIndex(1);
    form.MaterialTab().ListBoxMaterial->SetItemIndex(1);
    form.MaterialTab().ShowMaterial();
    SaveScreenPicture(form, folder + "/editor-material-tab-roof.png");
    TFormColor color(&form);
    color.ColorPanel->SetColor(form.MaterialTab().PaintMaterial->Color());
    SaveDialogScreenshot(color, folder + "/editor-color-dialog.png");
    TDlgAbout about(&form);
    SaveDialogScreenshot(about, folder + "/editor-about.png");
    // The question before unsaved changes would be lost, photographed inside its own loop.
    QTimer::singleShot(500, &form, [folder] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            SaveScreenPicture(*box, folder + "/editor-save-question.png");
            box->close(); // as キャンセル
        }
    });
    TDesktopUiServices desktop;
    desktop.AskSave(&form, Ui(main_strings::kCaptionSave), Ui(main_strings::kMsgAskSaveModel));
    form.MaterialTab().ListBoxMaterial->SetItemIndex(0);
    form.MaterialTab().ShowMaterial();
    form.PageControl->setCurrentIndex(0);
}

class RealBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") {
            GTEST_SKIP() << "needs an X display (run under xvfb-run); platform is "
                         << QGuiApplication::platformName().toStdString();
        }
        for (const char* shipped : {"template.html", "vtr.jar"}) {
            if (!std::filesystem::exists(std::filesystem::path(VANTOR_BIN_DIR) / shipped)) {
                GTEST_SKIP() << shipped << " is not built in " VANTOR_BIN_DIR " (VANTOR_WEB=OFF?)";
            }
        }
        const std::filesystem::path house =
            std::filesystem::path(VANTOR_SOURCE_DIR) / "examples/house";
        std::filesystem::copy_file(house / "house.mqo", models.path() / "house.mqo");
        std::filesystem::copy_file(house / "brick.jpg", models.path() / "brick.jpg");
        form = std::make_unique<TFormMain>(ui, BrowserKind::Default,
                                           std::string(VANTOR_BIN_DIR) + "/");
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        pane = dynamic_cast<TWebEngineBrowserPane*>(&form->Browser());
        ASSERT_NE(pane, nullptr);
    }

    // Waits until the viewer has read the package and drawn it, or says why not.
    void ExpectViewerReady() {
        QString state;
        for (int waited = 0; waited < 60000; waited += 250) {
            state = ViewerState(pane->View());
            if (state == "ready" || state.startsWith("error")) {
                break;
            }
            QTest::qWait(250);
        }
        EXPECT_EQ(state, "ready");
    }

    TestUi ui;
    TempDir models;
    std::unique_ptr<TFormMain> form;
    TWebEngineBrowserPane* pane = nullptr;
};

TEST_F(RealBrowser, ShowsThePreviewOfTheSample) {
    ASSERT_TRUE(form->OpenMQO(models.file("house.mqo")));
    ASSERT_TRUE(ui.messages.empty()) << ui.Texts().join('\n').toStdString();
    const QString page = Q(form->Driver().Preview().Path() + "house.html");
    EXPECT_EQ(pane->View()->url(), QUrl::fromLocalFile(page));
    ExpectViewerReady();
    SaveScreenshots(*form);

    // Publishing shows the published page, which reads the package beside it as well.
    TempDir out;
    ui.folderAnswers.push_back(Q(out.path().string()));
    form->MenuSaveVTR->trigger();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(pane->View()->url(), QUrl::fromLocalFile(Q(out.file("house.html"))));
    ExpectViewerReady();
}

TEST_F(RealBrowser, ThePaneOffersNoBrowserMenuAndNoWayBack) {
    QWebEngineView* view = pane->View();
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    ASSERT_TRUE(form->OpenMQO(models.file("house.mqo")));
    ASSERT_TRUE(loaded.wait(30000));
    // A preview under another name deletes the files of the first one.
    form->SceneTab().EditOutputFile->setText("second");
    form->BtnUpdateClick();
    ASSERT_TRUE(loaded.wait(30000));
    ExpectViewerReady();
    EXPECT_EQ(view->history()->count(), 1);
    EXPECT_FALSE(view->history()->canGoBack());

    // A right click on the page beside the viewer's canvas.
    QWidget* surface = view->focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseClick(surface, Qt::RightButton, {}, QPoint(surface->width() - 8, surface->height() - 8));
    QTest::qWait(1000);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    for (const QMenu* menu : view->findChildren<QMenu*>()) {
        EXPECT_FALSE(menu->isVisible());
    }
    EXPECT_EQ(ViewerState(view), "ready");
}

// Whether the page shown fits the pane, so that it has no scroll bar.
bool PageFitsPane(QWebEngineView* view) {
    bool fits = false;
    bool answered = false;
    view->page()->runJavaScript(
        "(() => { const r = document.documentElement;"
        " return r.scrollWidth <= innerWidth && r.scrollHeight <= innerHeight; })()",
        [&](const QVariant& result) {
            fits = result.toBool();
            answered = true;
        });
    for (int waited = 0; !answered && waited < 5000; waited += 10) {
        QTest::qWait(10);
    }
    return fits;
}

TEST_F(RealBrowser, TheSamplesSceneFitsThePaneAndALargerPageIsScaledDown) {
    QWebEngineView* view = pane->View();
    ui.fileAnswers.push_back(Q(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.vsn"));
    form->MenuLoadQLSClick(); // the sample's own scene: a 480 x 360 canvas
    ASSERT_TRUE(form->OpenMQO(models.file("house.mqo")));
    ExpectViewerReady();
    QTest::qWait(500); // the zoom follows the load
    EXPECT_EQ(view->zoomFactor(), 1.0);
    EXPECT_TRUE(PageFitsPane(view));
    const QString folder = qEnvironmentVariable("VANTOR_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        SaveScreenPicture(*form, folder + "/editor-sample-scene.png");
    }

    // A canvas larger than the pane: the page is scaled down to fit, the package is not.
    form->SceneTab().EditCanvasW->FSetPosition(900);
    form->SceneTab().EditCanvasH->FSetPosition(800);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    form->BtnUpdateClick();
    ASSERT_TRUE(loaded.wait(30000));
    ExpectViewerReady();
    for (int waited = 0; view->zoomFactor() == 1.0 && waited < 5000; waited += 50) {
        QTest::qWait(50);
    }
    EXPECT_LT(view->zoomFactor(), 0.75);
    EXPECT_GT(view->zoomFactor(), 0.5);
    EXPECT_TRUE(PageFitsPane(view));
    const std::string page = readBytes(form->Driver().Preview().Path() + "house.html");
    EXPECT_NE(page.find("width=\"900\""), std::string::npos);
    if (!folder.isEmpty()) {
        SaveScreenPicture(*form, folder + "/editor-large-canvas.png");
    }

    // A long package name wraps in the page's title instead of widening the page.
    form->SceneTab().EditCanvasW->FSetPosition(480);
    form->SceneTab().EditCanvasH->FSetPosition(360);
    form->SceneTab().EditOutputFile->setText(QString(120, u'n'));
    form->BtnUpdateClick();
    ASSERT_TRUE(loaded.wait(30000));
    ExpectViewerReady();
    QTest::qWait(500);
    EXPECT_EQ(view->zoomFactor(), 1.0);
    EXPECT_TRUE(PageFitsPane(view));
}

TEST_F(RealBrowser, TheLargestCorpusModelIsFramedAtStartUpSettings) {
    const std::filesystem::path model = std::filesystem::path(VANTOR_CORPUS_DIR) /
                                        "binzume__mqo-jsmacro-plugin__scripts__autocsg_sample.mqo";
    if (!std::filesystem::exists(model)) {
        GTEST_SKIP() << "the corpus is not at " VANTOR_CORPUS_DIR;
    }
    ASSERT_TRUE(form->OpenMQO(model.string()));
    ExpectViewerReady();
    QelParameter fields;
    ASSERT_TRUE(form->SceneTab().ReadSceneControls(fields));
    EXPECT_EQ(fields.ModelPosition, fitCameraPosition(form->Scene(), fields).value());
    const QString folder = qEnvironmentVariable("VANTOR_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        SaveScreenPicture(*form, folder + "/editor-corpus-model.png");
    }
}

TEST_F(RealBrowser, AFileDroppedOnThePreviewOpensAsAModel) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(models.file("house.mqo")))});
    const QPoint overPane = pane->mapTo(form.get(), pane->rect().center());
    QDragEnterEvent enter(overPane, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->windowHandle(), &enter);
    QDropEvent drop(overPane, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->windowHandle(), &drop);
    EXPECT_EQ(form->ModelPath(), models.file("house.mqo"));
    ExpectViewerReady();
}

} // namespace
} // namespace vantor::test
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The page's WebGL runs on the software renderer of the X server, which Chromium's GPU
    // blocklist would refuse; Chromium's sandbox cannot run as root.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--ignore-gpu-blocklist");
    }
    if (::geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // Without a display the tests skip themselves instead of Qt ending the program.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
