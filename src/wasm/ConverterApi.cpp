// What the converter page calls: the core's reader, fit rule, settings file and package
// writer, over files the page lays into the module's in-memory file system (MEMFS). One model
// is loaded at a time. Settings travel as the text of a settings file (.vsn), so that every
// key means what it means in the editor and the page needs no second list of them.

#include "model/MqoReader.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "publish/BuildOutput.h"
#include "publish/CameraFit.h"
#include "publish/PathHelpers.h"
#include "settings/SceneSettings.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdlib>

using emscripten::val;

namespace vantor {

namespace {

QelScene& loadedScene() {
    static QelScene scene;
    return scene;
}

std::string& loadedModelPath() {
    static std::string path;
    return path;
}

// The settings of a settings file's text; keys it lacks keep the editor's start-up values,
// and the fields the editor shows in number fields are clamped to their ranges.
QelParameter parametersOf(const std::string& settingsText) {
    QelParameter parameters = editorStartupParameters();
    readSceneSettings(parameters, ProfileFile::parse(settingsText));
    clampToEditorRanges(parameters);
    return parameters;
}

std::string settingsTextOf(const QelParameter& parameters) {
    ProfileFile profile = ProfileFile::parse("");
    writeSceneSettings(parameters, profile);
    return profile.text();
}

std::string modelFolder() {
    return folderOfPath(loadedModelPath(), systemCodePage()).value_or("");
}

// The page words each refusal by this name, so that its table cannot slip out of step with
// the order of the errors.
const char* packageErrorName(PackageError error) {
    switch (error) {
    case PackageError::None: return "None";
    case PackageError::NoOutputFolder: return "NoOutputFolder";
    case PackageError::NoSourceFolder: return "NoSourceFolder";
    case PackageError::BadPackageName: return "BadPackageName";
    case PackageError::PackageNameTooLong: return "PackageNameTooLong";
    case PackageError::TargetIsModel: return "TargetIsModel";
    case PackageError::TargetIsInput: return "TargetIsInput";
    case PackageError::ImageNamedLikePackageFile: return "ImageNamedLikePackageFile";
    case PackageError::PageImagesShareName: return "PageImagesShareName";
    case PackageError::BadLevel: return "BadLevel";
    case PackageError::TemplateUnreadable: return "TemplateUnreadable";
    case PackageError::EmptyPage: return "EmptyPage";
    case PackageError::NoTempFolder: return "NoTempFolder";
    case PackageError::CannotCreateWorkFolder: return "CannotCreateWorkFolder";
    case PackageError::ModelTooLarge: return "ModelTooLarge";
    case PackageError::CannotWriteTextureFile: return "CannotWriteTextureFile";
    case PackageError::CannotWriteModelFile: return "CannotWriteModelFile";
    case PackageError::CannotWriteArchive: return "CannotWriteArchive";
    case PackageError::CannotWritePage: return "CannotWritePage";
    }
    return "Unknown";
}

// What the build left out as no image, and what it took from outside the model's folder; the
// images it could not find the page lists from imageList already.
val imageNoticesOf(const std::vector<ImageNotice>& notices) {
    val list = val::array();
    for (const ImageNotice& notice : notices) {
        if (notice.problem == ImageProblem::Unreadable) {
            continue;
        }
        val item = val::object();
        item.set("notAnImage", notice.problem == ImageProblem::NotAnImage);
        item.set("stored", decodeToUtf8(notice.image.cp, notice.image.stored));
        item.set("path", notice.path);
        list.call<void>("push", item);
    }
    return list;
}

} // namespace

// Reads the model whose bytes the page put at address (size bytes, allocated with malloc,
// freed here once read): the file is read straight into the module's memory, never held in the
// in-memory file system too. path is where the model lies among the files laid out with it,
// for finding its images and naming its package. code: 0, or the reader's error code (1
// cannot open, 2 too many vertices, 3 malformed) with line and an English message.
val readModel(const std::string& path, std::uintptr_t address, std::size_t size) {
    QelScene& scene = loadedScene();
    scene = QelScene{};
    loadedModelPath() = path;
    char* const bytes = reinterpret_cast<char*>(address);
    const MqoReadResult result = readMqoBytes(scene, std::string_view(bytes, size));
    std::free(bytes);
    val out = val::object();
    out.set("code", result.code);
    out.set("line", result.line);
    out.set("message", result.message);
    out.set("codePage", std::string(codePageName(scene.codePage)));
    std::uint64_t vertices = 0;
    std::uint64_t faces = 0;
    for (int i = 0; i < scene.objectCount && i < static_cast<int>(scene.objects.size()); ++i) {
        vertices += static_cast<std::uint64_t>(scene.objects[i].vertexCount);
        faces += static_cast<std::uint64_t>(scene.objects[i].faceCount);
    }
    out.set("objects", scene.objectCount);
    out.set("materials", scene.materialCount);
    out.set("vertices", static_cast<double>(vertices));
    out.set("faces", static_cast<double>(faces));
    if (!result.ok()) {
        scene = QelScene{};
        loadedModelPath().clear();
    }
    return out;
}

// Every image the build would read, with whether it is found beside the model (by the same
// rules as every other build) and the file it is found as.
val imageList(const std::string& settingsText) {
    val list = val::array();
    const QelParameter parameters = parametersOf(settingsText);
    const std::string folder = modelFolder();
    for (const ImageReference& image : imageReferences(loadedScene(), parameters)) {
        val item = val::object();
        item.set("owner", decodeToUtf8(image.cp, image.owner));
        item.set("field", image.field);
        item.set("stored", decodeToUtf8(image.cp, image.stored));
        const std::optional<std::string> file = readableImage(image, folder);
        item.set("found", file.has_value());
        item.set("file", file.value_or(""));
        list.call<void>("push", item);
    }
    return list;
}

std::string startupSettings() { return settingsTextOf(editorStartupParameters()); }

// A settings file's text as the editor would save it after loading it.
std::string normalizedSettings(const std::string& settingsText) {
    return settingsTextOf(parametersOf(settingsText));
}

// The settings with the camera placed where the whole model shows (合わせる), or nothing
// (an empty text) when the model draws nothing.
std::string fitCamera(const std::string& settingsText) {
    QelParameter parameters = parametersOf(settingsText);
    const std::optional<QelFloat3> position = fitCameraPosition(loadedScene(), parameters);
    if (!position) {
        return {};
    }
    parameters.ModelPosition = *position;
    return settingsTextOf(parameters);
}

// Writes the package of the loaded model into outputFolder (MEMFS), as vantor-cli publish
// does, the single-file page too when asked. error: the PackageError's name ("None": written).
val publish(const std::string& settingsText, const std::string& outputFolder,
            const std::string& packageName, bool singleFile) {
    PackageRequest request;
    request.modelPath = loadedModelPath();
    request.outputFolder = outputFolder;
    if (!packageName.empty()) {
        request.packageName = packageName;
    }
    request.singleFile = singleFile;
    QelScene& scene = loadedScene();
    const BuildOutputResult result = buildOutput(scene, parametersOf(settingsText), request);
    val out = val::object();
    out.set("error", std::string(packageErrorName(result.package.error)));
    out.set("path", result.package.path);
    out.set("otherPath", result.package.otherPath);
    out.set("imageNotices", imageNoticesOf(result.package.imageNotices));
    out.set("pagePath", result.pagePath);
    out.set("outputFolder", scene.outputFolder);
    val copied = val::array();
    for (const std::string& name : result.copiedFiles) {
        copied.call<void>("push", name);
    }
    out.set("copiedFiles", copied);
    val failed = val::array();
    for (const std::string& name : result.failedCopies) {
        failed.call<void>("push", name);
    }
    out.set("failedCopies", failed);
    out.set("standaloneStatus", static_cast<int>(result.standalone.status));
    out.set("standalonePath", result.standalone.path);
    return out;
}

} // namespace vantor

EMSCRIPTEN_BINDINGS(vantor_converter) {
    emscripten::function("readModel", &vantor::readModel);
    emscripten::function("imageList", &vantor::imageList);
    emscripten::function("startupSettings", &vantor::startupSettings);
    emscripten::function("normalizedSettings", &vantor::normalizedSettings);
    emscripten::function("fitCamera", &vantor::fitCamera);
    emscripten::function("publish", &vantor::publish);
}
