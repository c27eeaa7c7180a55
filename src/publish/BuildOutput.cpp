#include "publish/BuildOutput.h"

#include "platform/FileOps.h"
#include "platform/ProgramFolder.h"
#include "platform/StoredNames.h"
#include "publish/PathHelpers.h"

namespace vantor {

namespace {

void copyShippedFile(const std::string& name, const std::string& shippedFolder,
                     const std::string& outputFolder, std::vector<std::string>& copied) {
    const std::optional<std::string> folder =
        shippedFolder.empty() ? shippedFileFolder(name) : std::optional<std::string>(shippedFolder);
    if (folder && copyFileBetweenFolders(*folder, outputFolder, name)) {
        copied.push_back(name);
    }
}

// The images the page names, in the page's order. A bare name is looked for in the model's
// folder; the copy takes the name the page uses.
void copyPageImages(const QelParameter& params, const std::string& modelFolder,
                    const std::string& outputFolder, std::vector<std::string>& copied) {
    const CodePage cp = systemCodePage();
    for (const std::string* stored :
         {&params.TitleLogoImage, &params.BackGroundImage, &params.RotCtrlIcon.Image,
          &params.ZomCtrlIcon.Image, &params.PanCtrlIcon.Image, &params.RstCtrlIcon.Image}) {
        if (stored->empty()) {
            continue;
        }
        const std::optional<std::string> name = fileNameOfPath(*stored, cp);
        if (!name) {
            continue;
        }
        const std::optional<std::string> source = resolveStoredName(*stored, cp, modelFolder);
        if (source && copyFileToFolder(*source, outputFolder, *name)) {
            copied.push_back(*name);
        }
    }
}

} // namespace

std::string shippedTemplatePath() {
    if (const auto folder = shippedFileFolder(kPageTemplateName)) {
        return *folder + kPageTemplateName;
    }
    return programFolder().value_or("") + kPageTemplateName;
}

bool copyFileToFolder(const std::string& sourceFile, const std::string& targetFolder,
                      const std::string& fileName) {
    if (!isPlainFileName(fileName, systemCodePage())) {
        return false;
    }
    const std::string target = targetFolder + fileName;
    if (sameFile(sourceFile, target)) {
        return false; // copying a file onto itself would only risk it
    }
    return copyFileReplacing(sourceFile, target);
}

bool copyFileBetweenFolders(const std::string& sourceFolder, const std::string& targetFolder,
                            const std::string& fileName) {
    if (sourceFolder == targetFolder) {
        return false;
    }
    return copyFileToFolder(sourceFolder + fileName, targetFolder, fileName);
}

BuildOutputResult buildOutput(QelScene& scene, const QelParameter& params, PackageRequest request,
                              const std::string& shippedFolder) {
    BuildOutputResult result;
    if (request.templatePath.empty()) {
        request.templatePath =
            shippedFolder.empty() ? shippedTemplatePath() : shippedFolder + kPageTemplateName;
    }
    result.package = writePackage(scene, params, request);
    if (!result.ok()) {
        return result;
    }
    result.pagePath = packagePagePath(scene);
    copyShippedFile(request.archiveName, shippedFolder, scene.outputFolder, result.copiedFiles);
    if (params.ShadingMode == kShadeCartoon) {
        copyShippedFile(kCartoonRampName, shippedFolder, scene.outputFolder, result.copiedFiles);
    }
    const std::string modelFolder =
        folderOfPath(request.modelPath, systemCodePage()).value_or(std::string());
    copyPageImages(params, modelFolder, scene.outputFolder, result.copiedFiles);
    return result;
}

} // namespace vantor
