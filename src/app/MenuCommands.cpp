// The menu commands beside opening and publishing: saving the model as MQO, saving and loading
// the scene settings file, the help page and the about box.

#include "app/About.h"
#include "app/BuildDriver.h"
#include "app/FailureText.h"
#include "app/Main.h"
#include "app/MainDialogs.h"
#include "app/MainStrings.h"
#include "app/SceneTab.h"
#include "app/SystemText.h"
#include "app/UiServices.h"
#include "platform/ProgramFolder.h"
#include "publish/PathHelpers.h"
#include "settings/SceneSettings.h"

#include <filesystem>

namespace vantor {

namespace ms = main_strings;

namespace {

constexpr char kHelpPage[] = "help/vtr_system.html";

} // namespace

// ---- Model ----------------------------------------------------------------------------------

namespace {

// The name the MQO save dialog proposes: the model's own file, or for a zipped model the text
// file beside it (the writer writes text).
QString ProposedModelFileName(const std::string& modelPath) {
    QString name = FromSystemText(modelPath);
    if (name.endsWith(QStringLiteral(".mqoz"), Qt::CaseInsensitive)) {
        name.chop(1);
    }
    return name;
}

} // namespace

void TFormMain::MenuSaveMQOClick() {
    SaveModel();
}

bool TFormMain::SaveModel() {
    TFileDialogSetup setup = SaveDlgSetup();
    // The dialog starts where the model came from, as the publish dialog does.
    setup.InitialDir =
        FromSystemText(folderOfPath(FModelPath, systemCodePage()).value_or(std::string()));
    setup.FileName = ProposedModelFileName(FModelPath);
    const std::optional<QString> chosen = FUi.ExecuteFileDialog(this, TFileDialogKind::Save, setup);
    if (!chosen) {
        return false;
    }
    const std::string path = SystemText(*chosen);
    bool saved = false;
    FileError error;
    {
        TBusyCursor busy(FUi);
        saved = FScene.SaveMQO(path, &error);
    }
    if (!saved) {
        ShowError(FileFailureText(ms::kMsgMqoSaveFailed, error));
        return false;
    }
    FModelPath = path;
    FModelModified = false;
    UpdateCaption();
    FUi.ShowMessage(this, TMessageKind::Information, Ui(ms::kCaptionSave), Ui(ms::kMsgMqoSaved));
    return true;
}

// ---- Scene settings file --------------------------------------------------------------------

void TFormMain::MenuSaveQLSClick() {
    SaveSceneSettings();
}

bool TFormMain::SaveSceneSettings() {
    QelParameter params;
    if (!FSceneTab->ReadSceneControls(params)) {
        ShowError(Ui(ms::kMsgBadSceneInput));
        return false;
    }
    const std::optional<QString> chosen =
        FUi.ExecuteFileDialog(this, TFileDialogKind::Save, SaveQLSDlgSetup());
    if (!chosen) {
        return false;
    }
    // A file that cannot be written stays as it was; the message names it and the cause.
    FileError error;
    if (!saveSceneSettings(params, SystemText(*chosen), &error)) {
        ShowError(FileFailureText(ms::kMsgSettingsSaveFailed, error));
        return false;
    }
    FSavedScene = params;
    return true;
}

void TFormMain::MenuLoadQLSClick() {
    if (!ConfirmSceneSaved()) {
        return;
    }
    QelParameter params;
    const std::optional<QString> chosen =
        FUi.ExecuteFileDialog(this, TFileDialogKind::Open, OpenQLSDlgSetup());
    if (!chosen) {
        return;
    }
    // Missing keys and malformed values keep the record's initial values.
    loadSceneSettings(params, SystemText(*chosen));
    FSceneTab->WriteSceneControls(params); // the colour boxes repaint with their new colours
    MarkSceneSaved();
    FCameraIsProgramChoice = false; // the file's camera is kept for the models opened next
}

// ---- Help -----------------------------------------------------------------------------------

void TFormMain::MenuHelpIndexClick() {
    // The shipped files of this window, or the program's.
    std::string folder = FDriver->ShippedFolder();
    if (folder.empty()) {
        folder = shippedFileFolder(kHelpPage).value_or(programFolder().value_or(std::string()));
    }
    const std::string page = folder + kHelpPage;
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_regular_file(page, error)) {
        ShowError(Ui(ms::kMsgHelpMissing) + u'\n' + FromSystemText(page));
        return;
    }
    if (!FUi.OpenDocument(FromSystemText(page))) {
        // Someone without a browser the desktop can start may still open the page by hand.
        ShowError(Ui(ms::kMsgHelpNoBrowser) + u'\n' + FromSystemText(page));
    }
}

void TFormMain::MenuAboutClick() {
    TDlgAbout about(this);
    FUi.ExecuteDialog(about);
}

} // namespace vantor
