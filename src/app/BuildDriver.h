#pragma once
// The build-output driver: turns the current model and the settings of the window into a web
// package and shows its page in the browser pane. A preview goes into the window's private
// preview folder with a stored (uncompressed) archive, and every file it puts there is listed
// so that the next preview and the window's end delete it. Publishing goes into a folder the
// user picks, with the archive compressed at the highest level, and is not listed.

#include <QString>
#include <optional>
#include <string>
#include <vector>

class QWidget;
class TBrowserPane;

namespace vantor {

struct QelScene;
class TSceneTab;
class TUiServices;

// The folder "VTRTemp" inside the process's private temporary folder, and the names of the
// files that the last preview placed in it.
class TPreviewFolder {
public:
    // Creates the folder; a failure is not reported (a preview then fails to write).
    TPreviewFolder();
    // Deletes the listed files and removes the folder; failures are ignored.
    ~TPreviewFolder();
    TPreviewFolder(const TPreviewFolder&) = delete;
    TPreviewFolder& operator=(const TPreviewFolder&) = delete;

    // The folder, ending in "/"; empty when the private temporary folder could not be made.
    const std::string& Path() const { return FPath; }
    const std::vector<std::string>& Files() const { return FFiles; }
    void Add(const std::string& name) { FFiles.push_back(name); }
    // Deletes every listed file (failures ignored) and empties the list.
    void DeleteFiles();

private:
    std::string FPath;
    std::vector<std::string> FFiles;
};

// What the driver reads from the window for a build.
struct TBuildInputs {
    QelScene& Scene;
    const std::string& ModelPath; // the model path; empty when none
    // False until a model is read, and again from a read that fails: the scene then holds
    // nothing or the remains of that file, and no package may be made from it.
    const bool& ModelLoaded;
    TSceneTab& SceneTab;          // the settings controls and the output name
};

class TBuildDriver {
public:
    // shippedFolder holds template.html, vtr.jar and LitColor.jpg; empty: the program folder
    // (or the installed layout beside it).
    TBuildDriver(TBuildInputs inputs, TBrowserPane& browser, TUiServices& ui, QWidget* owner,
                 std::string shippedFolder = {});

    // Preview (no target) or publish into targetFolder (ending in "/"). True when the package
    // was written and the browser pane was sent to its page; a failure has shown its message.
    // Without a loaded model nothing is written and the build fails.
    bool Build(const std::optional<std::string>& targetFolder);

    // The publish command: asks for a folder, starting at the model's folder, publishes into
    // it and confirms the success.
    void MenuSaveVTRClick();

    // Deletes the files of the last preview and empties the browser pane.
    void ClearPreview();

    TPreviewFolder& Preview() { return FPreview; }
    const std::string& ShippedFolder() const { return FShippedFolder; }

private:
    void ShowError(const char* message);
    void ShowError(const QString& text);

    TBuildInputs FIn;
    TBrowserPane& FBrowser;
    TUiServices& FUi;
    QWidget* FOwner;
    std::string FShippedFolder;
    TPreviewFolder FPreview;
    // The files the last build left out as no image or took from outside the model's folder,
    // one line each, for the message of a publish.
    QString FImageNotes;
};

} // namespace vantor
