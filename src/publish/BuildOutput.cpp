#include "publish/BuildOutput.h"

#include "platform/FileOps.h"
#include "platform/ProgramFolder.h"
#include "platform/StoredNames.h"
#include "publish/ModelFile.h"
#include "publish/PathHelpers.h"

#include <algorithm>
#include <array>

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

// The images of the page, in the page's order, under their settings keys.
std::array<std::pair<const char*, const std::string*>, 6> pageImageFields(const QelParameter& p) {
    return {{{"TitleLogoImage", &p.TitleLogoImage},
             {"BackGroundImage", &p.BackGroundImage},
             {"RotCtrlIcon", &p.RotCtrlIcon.Image},
             {"ZomCtrlIcon", &p.ZomCtrlIcon.Image},
             {"PanCtrlIcon", &p.PanCtrlIcon.Image},
             {"RstCtrlIcon", &p.RstCtrlIcon.Image}}};
}

// The images the page names, in the page's order. A bare name is looked for in the model's
// folder; the copy takes the name the page uses.
void copyPageImages(const QelParameter& params, const std::string& modelFolder,
                    const std::string& outputFolder, std::vector<std::string>& copied) {
    const CodePage cp = systemCodePage();
    for (const auto& [key, stored] : pageImageFields(params)) {
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

std::vector<ImageReference> imageReferences(const QelScene& scene, const QelParameter& params) {
    std::vector<ImageReference> images;
    const std::size_t materialCount = writtenCount(scene.materialCount, scene.materials.size());
    for (std::size_t i = 0; i < materialCount; ++i) {
        const QelMaterial& m = scene.materials[i];
        const std::pair<const char*, const std::string*> maps[] = {
            {"tex", &m.tex}, {"aplane", &m.aplane}, {"bump", &m.bump}, {"env", &m.env}};
        for (const auto& [field, stored] : maps) {
            if (!stored->empty()) {
                images.push_back({m.name, field, stored->substr(0, stored->find('\0')),
                                  scene.codePage});
            }
        }
    }
    for (const auto& [key, stored] : pageImageFields(params)) {
        if (!stored->empty()) {
            images.push_back({std::string(), key, *stored, systemCodePage()});
        }
    }
    return images;
}

std::optional<std::string> readableImage(const ImageReference& image,
                                         const std::string& modelFolder) {
    std::optional<std::string> path = resolveStoredName(image.stored, image.cp, modelFolder);
    if (path && !canOpenForReading(*path)) {
        path.reset();
    }
    return path;
}

std::vector<std::string> pageFileNames(const QelScene& scene, const QelParameter& params,
                                       const std::string& archiveName) {
    std::vector<std::string> names{packageArchiveName(scene), archiveName};
    if (params.ShadingMode == kShadeCartoon) {
        names.emplace_back(kCartoonRampName);
    }
    for (const auto& [key, stored] : pageImageFields(params)) {
        if (stored->empty()) {
            continue;
        }
        const std::optional<std::string> name = fileNameOfPath(*stored, systemCodePage());
        if (name && std::find(names.begin(), names.end(), *name) == names.end()) {
            names.push_back(*name);
        }
    }
    return names;
}

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
