#include "app/Main.h"

#include "app/Application.h"
#include "app/BuildDriver.h"
#include "app/FailureText.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "model/MqoReader.h"
#include "publish/CameraFit.h"
#include "publish/PathHelpers.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace vantor {

namespace ms = main_strings;

namespace {

// Wide enough for the preview pane to show the sample's 480 x 360 scene with its page around it.
constexpr int kWindowWidth = 940;
constexpr int kWindowHeight = 671;
constexpr int kSettingsColumnWidth = 390;
constexpr int kUpdateStripHeight = 41;
constexpr int kFontPixelSize = 12;

} // namespace

QFont EditorFont() {
    QFont font;
    QStringList families{Ui(ms::kFontFace)};
    for (const char* fallback : ms::kFontFallbacks) {
        families << Ui(fallback);
    }
    font.setFamilies(families);
    font.setPixelSize(kFontPixelSize);
    return font;
}

TFormMain::TFormMain(TUiServices& ui, BrowserKind browser, std::string shippedFolder,
                     QWidget* parent)
    : QMainWindow(parent), FUi(ui) {
    setFont(EditorFont());
    BuildMenu();
    FBrowser = createBrowserPane(browser, this).release();
    FBrowser->setObjectName("Browser");
    BuildLayout();
    FDriver = std::make_unique<TBuildDriver>(TBuildInputs{FScene, FModelPath, FModelLoaded, *FSceneTab},
                                             *FBrowser, FUi, this, std::move(shippedFolder));
    connect(FMaterialTab, &TMaterialTab::MaterialEdited, this, [this] { FModelModified = true; });
    connect(FSceneTab, &TSceneTab::CameraEdited, this, [this] { FCameraIsProgramChoice = false; });
    MarkSceneSaved();
    UpdateCaption();
    setAcceptDrops(true);
    resize(kWindowWidth, kWindowHeight);
    CentreOnScreen();
}

TFormMain::~TFormMain() = default;

// ---- Layout ---------------------------------------------------------------------------------

void TFormMain::BuildMenu() {
    QMenu* file = menuBar()->addMenu(Ui(ms::kMenuFile));
    const auto add = [this](QMenu* menu, const char* caption, const char* name,
                            void (TFormMain::*handler)()) {
        QAction* action = menu->addAction(Ui(caption));
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    MenuOpenMQO = add(file, ms::kMenuOpenMQO, "MenuOpenMQO", &TFormMain::MenuOpenMQOClick);
    MenuOpenMQO->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    MenuSaveMQO = add(file, ms::kMenuSaveMQO, "MenuSaveMQO", &TFormMain::MenuSaveMQOClick);
    MenuSaveVTR = add(file, ms::kMenuSaveVTR, "MenuSaveVTR", &TFormMain::MenuSaveVTRClick);
    MenuSaveVTR->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    MenuLoadQLS = add(file, ms::kMenuLoadQLS, "MenuLoadQLS", &TFormMain::MenuLoadQLSClick);
    MenuSaveQLS = add(file, ms::kMenuSaveQLS, "MenuSaveQLS", &TFormMain::MenuSaveQLSClick);
    file->addSeparator();
    MenuExit = add(file, ms::kMenuExit, "MenuExit", &TFormMain::MenuExitClick);
    QMenu* help = menuBar()->addMenu(Ui(ms::kMenuHelp));
    MenuHelpIndex = add(help, ms::kMenuHelpIndex, "MenuHelpIndex", &TFormMain::MenuHelpIndexClick);
    MenuAbout = add(help, ms::kMenuAbout, "MenuAbout", &TFormMain::MenuAboutClick);
}

void TFormMain::BuildLayout() {
    auto* client = new QWidget(this);
    setCentralWidget(client);

    PageControl = new QTabWidget(client);
    PageControl->setObjectName("PageControl");
    PageControl->setFixedWidth(kSettingsColumnWidth);
    TabScene = new QWidget;
    TabMaterial = new QWidget;
    TabSystem = new QWidget;
    PageControl->addTab(TabScene, Ui(ms::kTabScene));
    PageControl->addTab(TabMaterial, Ui(ms::kTabMaterial));
    PageControl->addTab(TabSystem, Ui(ms::kTabSystem));
    PageControl->setCurrentWidget(TabScene);
    FSceneTab = new TSceneTab(TabScene, TabSystem, FUi, this);
    FMaterialTab = new TMaterialTab(TabMaterial, FScene, FUi, this);

    // The preview on the right, with "更新" kept at the bottom-right corner of the strip below.
    auto* strip = new QWidget(client);
    strip->setFixedHeight(kUpdateStripHeight);
    BtnUpdate = new QPushButton(Ui(ms::kBtnUpdate), strip);
    BtnUpdate->setObjectName("BtnUpdate");
    BtnUpdate->setFixedSize(75, 25);
    connect(BtnUpdate, &QPushButton::clicked, this, &TFormMain::BtnUpdateClick);
    connect(FSceneTab->BtnFitCamera, &QPushButton::clicked, this, &TFormMain::BtnFitCameraClick);
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 8, 8);
    stripLayout->addStretch();
    stripLayout->addWidget(BtnUpdate, 0, Qt::AlignBottom);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    right->addWidget(FBrowser, 1);
    right->addWidget(strip);

    auto* columns = new QHBoxLayout(client);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    columns->addWidget(PageControl);
    columns->addLayout(right, 1);
}

void TFormMain::CentreOnScreen() {
    if (const QScreen* screen = this->screen()) {
        QRect area = rect();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
}

// ---- Caption --------------------------------------------------------------------------------

QString TFormMain::Caption() const {
    QString caption = Ui(ms::kApplicationTitle);
    if (!FModelPath.empty()) {
        caption += Ui(ms::kCaptionOpen) + FromSystemText(FModelPath) + Ui(ms::kCaptionClose);
    }
    return caption;
}

void TFormMain::UpdateCaption() {
    // Qt reads "[*]" in a title as the modified-marker; a path may hold it literally.
    setWindowTitle(Caption().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

// ---- Opening a model ------------------------------------------------------------------------

void TFormMain::ShowError(const QString& text) {
    FUi.ShowMessage(this, TMessageKind::Error, Ui(ms::kCaptionError), text);
}

bool TFormMain::OpenMQO(const std::string& path) {
    FScene.Clear();
    FModelLoaded = false;
    FModelModified = false;
    FModelPath = path;
    UpdateCaption();
    MqoReadResult read;
    {
        TBusyCursor busy(FUi);
        read = readMqoFile(FScene, path);
        FModelLoaded = read.ok();
    }
    if (!FModelLoaded) {
        // The scene holds only what the reader kept; no list item, no control and no preview
        // may stand for the model shown before.
        FMaterialTab->ClearMaterialList();
        FDriver->ClearPreview();
        ShowError(OpenFailureText(path, read));
        return false;
    }
    const std::optional<std::string> baseName = baseNameOfPath(path, systemCodePage());
    FSceneTab->SetOutputFileName(FromSystemText(baseName.value_or(std::string())));
    FMaterialTab->RefreshMaterialList();
    if (FCameraIsProgramChoice) {
        FitCameraForNewModel();
    }
    return FDriver->Build(std::nullopt);
}

void TFormMain::OpenDroppedFiles(const QList<QUrl>& urls) {
    const bool anyLocal = std::any_of(urls.begin(), urls.end(),
                                      [](const QUrl& url) { return url.isLocalFile(); });
    if (!anyLocal || !ConfirmModelSaved()) {
        return;
    }
    for (const QUrl& url : urls) {
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (path.isEmpty()) {
            continue; // nothing on this machine's disk to open
        }
        if (OpenMQO(SystemText(path))) {
            break;
        }
    }
}

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TFormMain::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    OpenDroppedFiles(urls);
}

// ---- Unsaved changes ------------------------------------------------------------------------

bool TFormMain::SceneModified() const {
    QelParameter current;
    return !FSceneTab->ReadSceneControls(current) || current != FSavedScene;
}

void TFormMain::MarkSceneSaved() {
    FSavedScene = QelParameter();
    FSceneTab->ReadSceneControls(FSavedScene);
}

namespace {

// Asks, and runs save for the answer 保存する. True when the caller may go on.
bool ConfirmSaved(TUiServices& ui, QWidget* owner, const char* question,
                  const std::function<bool()>& save) {
    switch (ui.AskSave(owner, Ui(ms::kCaptionSave), Ui(question))) {
    case TSaveAnswer::Save:
        return save(); // a cancelled or failed save keeps the changes and the window as it was
    case TSaveAnswer::Discard:
        return true;
    case TSaveAnswer::Cancel:
        break;
    }
    return false;
}

} // namespace

bool TFormMain::ConfirmModelSaved() {
    return !FModelModified ||
           ConfirmSaved(FUi, this, ms::kMsgAskSaveModel, [this] { return SaveModel(); });
}

bool TFormMain::ConfirmSceneSaved() {
    return !SceneModified() ||
           ConfirmSaved(FUi, this, ms::kMsgAskSaveScene, [this] { return SaveSceneSettings(); });
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (TVantorApplication::TerminationRequested() ||
        (ConfirmModelSaved() && ConfirmSceneSaved())) {
        event->accept();
    } else {
        event->ignore();
    }
}

// ---- Commands -------------------------------------------------------------------------------

void TFormMain::MenuOpenMQOClick() {
    if (!ConfirmModelSaved()) {
        return;
    }
    if (const std::optional<QString> path =
            FUi.ExecuteFileDialog(this, TFileDialogKind::Open, OpenDlgSetup())) {
        OpenMQO(SystemText(*path));
    }
}

void TFormMain::MenuSaveVTRClick() {
    FDriver->MenuSaveVTRClick();
}

void TFormMain::MenuExitClick() {
    close();
}

void TFormMain::BtnUpdateClick() {
    FDriver->Build(std::nullopt);
}

void TFormMain::BtnFitCameraClick() {
    if (FitCamera(true)) {
        FCameraIsProgramChoice = true; // the next model is framed too
    }
}

bool TFormMain::FitCamera(bool reportBadInput) {
    if (!FModelLoaded || !drawnBounds(FScene)) {
        return false; // no model, or one that draws nothing: there is nothing to frame
    }
    QelParameter params;
    if (!FSceneTab->ReadSceneControls(params)) {
        if (reportBadInput) {
            ShowError(Ui(ms::kMsgBadSceneInput));
        }
        return false;
    }
    const std::optional<QelFloat3> position = fitCameraPosition(FScene, params);
    if (!position) {
        return false;
    }
    FSceneTab->ShowFittedModelPosition(*position);
    return true;
}

void TFormMain::FitCameraForNewModel() {
    QelParameter before;
    if (!FSceneTab->ReadSceneControls(before)) {
        return; // the preview reports the fields that cannot be read
    }
    if (!FitCamera(false)) {
        return;
    }
    // The camera was the program's; as long as it was also the saved one, the fitted camera
    // takes its place there, so that opening a model leaves the settings unchanged.
    if (before.ModelPosition == FSavedScene.ModelPosition) {
        QelParameter after;
        if (FSceneTab->ReadSceneControls(after)) {
            FSavedScene.ModelPosition = after.ModelPosition;
        }
    }
}

} // namespace vantor
