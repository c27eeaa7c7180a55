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

void TFormMain::MenuSaveMQOClick() {
    TFileDialogSetup setup = SaveDlgSetup();
    // The dialog starts where the model came from, as the publish dialog does.
    setup.InitialDir =
        FromSystemText(folderOfPath(FModelPath, systemCodePage()).value_or(std::string()));
    const std::optional<QString> chosen = FUi.ExecuteFileDialog(this, TFileDialogKind::Save, setup);
    if (!chosen) {
        return;
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
        return;
    }
    FModelPath = path;
    UpdateCaption();
    FUi.ShowMessage(this, TMessageKind::Information, Ui(ms::kCaptionSave), Ui(ms::kMsgMqoSaved));
}

// ---- Scene settings file --------------------------------------------------------------------

void TFormMain::MenuSaveQLSClick() {
    QelParameter params;
    if (!FSceneTab->ReadSceneControls(params)) {
        ShowError(Ui(ms::kMsgBadSceneInput));
        return;
    }
    const std::optional<QString> chosen =
        FUi.ExecuteFileDialog(this, TFileDialogKind::Save, SaveQLSDlgSetup());
    if (!chosen) {
        return;
    }
    // A file that cannot be written stays as it was; the message names it and the cause.
    FileError error;
    if (!saveSceneSettings(params, SystemText(*chosen), &error)) {
        ShowError(FileFailureText(ms::kMsgSettingsSaveFailed, error));
    }
}

void TFormMain::MenuLoadQLSClick() {
    QelParameter params;
    const std::optional<QString> chosen =
        FUi.ExecuteFileDialog(this, TFileDialogKind::Open, OpenQLSDlgSetup());
    if (!chosen) {
        return;
    }
    // Missing keys and malformed values keep the record's initial values.
    loadSceneSettings(params, SystemText(*chosen));
    FSceneTab->WriteSceneControls(params); // the colour boxes repaint with their new colours
}

// ---- Help -----------------------------------------------------------------------------------

void TFormMain::MenuHelpIndexClick() {
    // The shipped files of this window, or the program's; a missing page opens nothing.
    std::string folder = FDriver->ShippedFolder();
    if (folder.empty()) {
        folder = shippedFileFolder(kHelpPage).value_or(std::string());
    }
    const std::string page = folder + kHelpPage;
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_regular_file(page, error)) {
        return;
    }
    FUi.OpenDocument(FromSystemText(page));
}

void TFormMain::MenuAboutClick() {
    TDlgAbout about(this);
    FUi.ExecuteDialog(about);
}

} // namespace vantor
