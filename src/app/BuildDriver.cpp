#include "app/BuildDriver.h"

#include "app/FailureText.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/SceneTab.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "browser/BrowserPane.h"
#include "platform/FileOps.h"
#include "platform/TempFolder.h"
#include "publish/BuildOutput.h"
#include "publish/PathHelpers.h"

namespace vantor {

namespace ms = main_strings;

namespace {

constexpr char kPreviewFolderName[] = "VTRTemp";
constexpr int kPreviewLevel = 0; // stored entries: a preview is written often and read once
constexpr int kPublishLevel = 9;

} // namespace

// ---- TPreviewFolder -------------------------------------------------------------------------

TPreviewFolder::TPreviewFolder() {
    if (const std::optional<std::string> temp = processTempFolder()) {
        FPath = *temp + kPreviewFolderName;
        makeFolder(FPath); // an existing folder is fine
        FPath += '/';
    }
}

TPreviewFolder::~TPreviewFolder() {
    DeleteFiles();
    if (!FPath.empty()) {
        removeEmptyFolder(FPath);
    }
}

void TPreviewFolder::DeleteFiles() {
    for (const std::string& name : FFiles) {
        removeFile(FPath + name);
    }
    FFiles.clear();
}

// ---- TBuildDriver ---------------------------------------------------------------------------

TBuildDriver::TBuildDriver(TBuildInputs inputs, TBrowserPane& browser, TUiServices& ui,
                           QWidget* owner, std::string shippedFolder)
    : FIn(inputs), FBrowser(browser), FUi(ui), FOwner(owner),
      FShippedFolder(std::move(shippedFolder)) {}

void TBuildDriver::ShowError(const char* message) {
    ShowError(Ui(message));
}

void TBuildDriver::ShowError(const QString& text) {
    FUi.ShowMessage(FOwner, TMessageKind::Error, Ui(ms::kCaptionError), text);
}

bool TBuildDriver::Build(const std::optional<std::string>& targetFolder) {
    QelParameter params;
    if (!FIn.SceneTab.ReadSceneControls(params)) {
        ShowError(ms::kMsgBadSceneInput);
        return false;
    }
    const bool preview = !targetFolder.has_value();
    if (preview) {
        FPreview.DeleteFiles();
        // Without its own folder a preview would fall back to the model's folder.
        if (FPreview.Path().empty()) {
            ShowError(ms::kMsgBuildFailed);
            return false;
        }
    }
    // Fails as the package writer fails before any model was read, so that a failed read never
    // publishes an empty package over a good one.
    if (!FIn.ModelLoaded) {
        ShowError(ms::kMsgBuildFailed);
        return false;
    }
    PackageRequest request;
    request.modelPath = FIn.ModelPath;
    request.outputFolder = preview ? FPreview.Path() : *targetFolder;
    const std::string name = SystemText(FIn.SceneTab.OutputFileName());
    if (!name.empty()) {
        request.packageName = name;
    }
    request.archiveName = kAppletArchiveName;
    if (!FShippedFolder.empty()) {
        request.templatePath = FShippedFolder + kPageTemplateName;
    }
    request.transform = true;
    request.level = preview ? kPreviewLevel : kPublishLevel;

    BuildOutputResult result;
    {
        TBusyCursor busy(FUi);
        result = buildOutput(FIn.Scene, params, request, FShippedFolder);
    }
    FImageNotes.clear();
    for (const ImageNotice& notice : result.package.imageNotices) {
        if (notice.problem != ImageProblem::Unreadable) {
            const char* note = notice.problem == ImageProblem::NotAnImage
                                   ? ms::kNoteNotAnImage
                                   : ms::kNoteOutsideModelFolder;
            FImageNotes += u'\n' + Ui(note).arg(FromSystemText(notice.path));
        }
    }
    if (!result.ok()) {
        ShowError(PackageFailureText(ms::kMsgBuildFailed, result.package));
        return false;
    }
    if (preview) {
        FPreview.Add(packageArchiveName(FIn.Scene));
        FPreview.Add(packagePageName(FIn.Scene));
        for (const std::string& copied : result.copiedFiles) {
            FPreview.Add(copied);
        }
    }
    FBrowser.Navigate(FromSystemText(result.pagePath));
    return true;
}

void TBuildDriver::MenuSaveVTRClick() {
    // The dialog starts at the model's folder; the process's current folder is left alone.
    const std::string modelFolder =
        folderOfPath(FIn.ModelPath, systemCodePage()).value_or(std::string());
    const std::optional<QString> chosen =
        FUi.ExecuteFolderDialog(FOwner, SaveFolderSetup(FromSystemText(modelFolder)));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    std::string folder = SystemText(*chosen);
    if (folder.back() != '/') {
        folder += '/';
    }
    if (Build(folder)) {
        FUi.ShowMessage(FOwner, TMessageKind::Information, Ui(ms::kCaptionSave),
                        Ui(ms::kMsgPublished) + FImageNotes);
    }
}

void TBuildDriver::ClearPreview() {
    FBrowser.Clear();
    FPreview.DeleteFiles();
}

} // namespace vantor
