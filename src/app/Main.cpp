#include "app/Main.h"

#include "app/BuildDriver.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/MaterialTab.h"
#include "app/SceneTab.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "model/MqoReader.h"
#include "publish/CameraFit.h"
#include "publish/PathHelpers.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vantor {

namespace ms = main_strings;

namespace {

constexpr int kWindowWidth = 762;
constexpr int kWindowHeight = 671;
constexpr int kSettingsColumnWidth = 390;
constexpr int kUpdateStripHeight = 41;
constexpr int kFontPixelSize = 12;

const char* MqoErrorMessage(std::int32_t code) {
    switch (code) {
    case kMqoCannotOpen:
        return ms::kMsgMqoCannotOpen;
    case kMqoTooManyVertices:
        return ms::kMsgMqoTooManyVertices;
    default:
        return ms::kMsgMqoReadFailed;
    }
}

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
    FModelPath = path;
    UpdateCaption();
    std::int32_t error = kMqoOk;
    {
        TBusyCursor busy(FUi);
        FModelLoaded = FScene.LoadMQO(path, &error);
    }
    if (!FModelLoaded) {
        // The scene holds only what the reader kept; no list item and no control may stand
        // for a material of the model shown before.
        FMaterialTab->ClearMaterialList();
        ShowError(Ui(MqoErrorMessage(error)));
        return false;
    }
    const std::optional<std::string> baseName = baseNameOfPath(path, systemCodePage());
    FSceneTab->SetOutputFileName(FromSystemText(baseName.value_or(std::string())));
    FMaterialTab->RefreshMaterialList();
    return FDriver->Build(std::nullopt);
}

void TFormMain::OpenDroppedFiles(const QList<QUrl>& urls) {
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

// ---- Commands -------------------------------------------------------------------------------

void TFormMain::MenuOpenMQOClick() {
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
    if (!FModelLoaded || !drawnBounds(FScene)) {
        return; // no model, or one that draws nothing: there is nothing to frame
    }
    QelParameter params;
    if (!FSceneTab->ReadSceneControls(params)) {
        ShowError(Ui(ms::kMsgBadSceneInput));
        return;
    }
    if (const std::optional<QelFloat3> position = fitCameraPosition(FScene, params)) {
        FSceneTab->ShowFittedModelPosition(*position);
    }
}

} // namespace vantor
