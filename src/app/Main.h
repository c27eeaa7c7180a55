#pragma once
// TFormMain, the editor's one window. It owns the scene, the path of the model file, the
// settings tabs, the browser pane that shows the preview, and the build driver with its private
// preview folder. Every command runs to completion on the window's thread.

#include "browser/BrowserPane.h"
#include "model/QelScene.h"
#include "publish/QelParameter.h"

#include <QFont>
#include <QMainWindow>
#include <QUrl>
#include <memory>
#include <string>

class QAction;
class QPushButton;
class QTabWidget;

namespace vantor {

class TBuildDriver;
class TMaterialTab;
class TSceneTab;
class TUiServices;

// The font of the editor's windows, with the fonts that stand in for it.
QFont EditorFont();

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // ui shows messages and dialogs and sets the busy cursor, and must outlive the window.
    // shippedFolder holds template.html, vtr.jar and LitColor.jpg; empty: the program folder.
    explicit TFormMain(TUiServices& ui, BrowserKind browser = BrowserKind::Default,
                       std::string shippedFolder = {}, QWidget* parent = nullptr);
    // Deletes the files of the last preview and removes the preview folder.
    ~TFormMain() override;

    // Empties the scene, makes path the model path (also when the read then fails), reads the
    // model and builds its first preview. A camera the program chose (the start-up one or a
    // fitted one) is first put where the new model shows whole; one the user typed or loaded
    // is kept. A failed read shows its message with the reason, empties the material editor
    // and the preview pane and leaves the window without a loaded model until a read
    // succeeds. True when the model was read and previewed. Asks nothing: the commands that
    // open a model ask about unsaved changes first.
    bool OpenMQO(const std::string& path);
    // "Vantor Converter", followed by " [path]" when a model path is set.
    QString Caption() const;
    void UpdateCaption();
    // Opens the dropped local files in order until one opens, after asking about unsaved
    // changes of the model.
    void OpenDroppedFiles(const QList<QUrl>& urls);

    // Whether the model's materials were edited since it was opened or saved, and whether the
    // scene settings differ from those at start-up or last loaded or saved.
    bool ModelModified() const { return FModelModified; }
    bool SceneModified() const;
    // Before changes would be lost: asks whether to save them (保存する, 保存しない,
    // キャンセル) and saves when told to. True when the caller may go on: nothing was changed,
    // the changes were saved or the user let them go.
    bool ConfirmModelSaved();
    bool ConfirmSceneSaved();
    void MenuOpenMQOClick();
    void MenuSaveMQOClick();
    void MenuSaveVTRClick();
    void MenuLoadQLSClick();
    void MenuSaveQLSClick();
    void MenuExitClick();
    void MenuHelpIndexClick();
    void MenuAboutClick();
    void BtnUpdateClick();
    // 合わせる: puts the camera where the loaded model shows whole, for the canvas size, view
    // angle and initial angles in the fields. Builds no preview; does nothing without a model.
    void BtnFitCameraClick();

    QelScene& Scene() { return FScene; }
    const std::string& ModelPath() const { return FModelPath; }
    bool ModelLoaded() const { return FModelLoaded; }
    TSceneTab& SceneTab() { return *FSceneTab; }
    TMaterialTab& MaterialTab() { return *FMaterialTab; }
    TBuildDriver& Driver() { return *FDriver; }
    TBrowserPane& Browser() { return *FBrowser; }

    QTabWidget* PageControl = nullptr;
    QWidget* TabScene = nullptr;
    QWidget* TabMaterial = nullptr;
    QWidget* TabSystem = nullptr;
    QPushButton* BtnUpdate = nullptr;
    QAction* MenuOpenMQO = nullptr;
    QAction* MenuSaveMQO = nullptr;
    QAction* MenuSaveVTR = nullptr;
    QAction* MenuLoadQLS = nullptr;
    QAction* MenuSaveQLS = nullptr;
    QAction* MenuExit = nullptr;
    QAction* MenuHelpIndex = nullptr;
    QAction* MenuAbout = nullptr;

protected:
    // Closing asks about unsaved changes of the model and of the scene settings, and stays
    // open on キャンセル; a termination request closes without asking.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    void BuildLayout();
    void CentreOnScreen();
    void ShowError(const QString& text);
    // The save commands; true when the file was written.
    bool SaveModel();
    bool SaveSceneSettings();
    // The scene settings as they stand now count as unchanged.
    void MarkSceneSaved();
    // Puts the camera where the loaded model shows whole; false (nothing changed) without a
    // model to frame or with unreadable fields.
    bool FitCamera(bool reportBadInput);
    // A change of the camera that the program made is no change of the settings.
    void FitCameraForNewModel();

    TUiServices& FUi;
    QelScene FScene;
    std::string FModelPath;
    bool FModelLoaded = false;
    bool FModelModified = false;
    QelParameter FSavedScene;      // the scene settings that count as unchanged
    bool FCameraIsProgramChoice = true; // the start-up camera or a fitted one
    TSceneTab* FSceneTab = nullptr;
    TMaterialTab* FMaterialTab = nullptr;
    TBrowserPane* FBrowser = nullptr;
    std::unique_ptr<TBuildDriver> FDriver;
};

} // namespace vantor
