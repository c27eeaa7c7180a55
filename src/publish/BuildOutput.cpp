#include "publish/BuildOutput.h"

#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/Limits.h"
#include "platform/ProgramFolder.h"
#include "platform/StoredNames.h"
#include "publish/ImageKind.h"
#include "publish/ModelFile.h"
#include "publish/PathHelpers.h"
#include "publish/StandalonePage.h"

#include <algorithm>
#include <sys/stat.h>

namespace vantor {

namespace {

// Copies a shipped file into the output folder. One that cannot be copied is listed as failed,
// unless it already lies there (publishing into the program folder).
void copyShippedFile(const std::string& name, const std::string& shippedFolder,
                     const std::string& outputFolder, BuildOutputResult& result) {
    const std::optional<std::string> folder =
        shippedFolder.empty() ? shippedFileFolder(name) : std::optional<std::string>(shippedFolder);
    if (folder && copyFileBetweenFolders(*folder, outputFolder, name)) {
        result.copiedFiles.push_back(name);
    } else if (!folder || !sameFile(*folder + name, outputFolder + name)) {
        result.failedCopies.push_back(name);
    }
}

// The shipped files copied beside the package: the viewer, and the ramp for cartoon shading.
std::vector<std::string> shippedFileNames(const QelParameter& params,
                                          const PackageRequest& request) {
    std::vector<std::string> names{request.archiveName};
    if (params.ShadingMode == kShadeCartoon) {
        names.push_back(kCartoonRampName);
    }
    return names;
}

struct PageImage {
    const char* key;           // the settings key of the image
    const std::string* stored; // the image's name as the settings hold it
    std::string name;          // the name of its copy beside the page
};

// The images the page names, in the page's order.
std::vector<PageImage> pageImages(const QelParameter& params) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"TitleLogoImage", &params.TitleLogoImage}, {"BackGroundImage", &params.BackGroundImage},
        {"RotCtrlIcon", &params.RotCtrlIcon.Image}, {"ZomCtrlIcon", &params.ZomCtrlIcon.Image},
        {"PanCtrlIcon", &params.PanCtrlIcon.Image}, {"RstCtrlIcon", &params.RstCtrlIcon.Image}};
    std::vector<PageImage> images;
    for (const auto& [key, stored] : fields) {
        if (stored->empty()) {
            continue;
        }
        if (std::optional<std::string> name = fileNameOfPath(*stored, systemCodePage())) {
            images.push_back({key, stored, std::move(*name)});
        }
    }
    return images;
}

// Equal without regard to the case of ASCII letters: a folder that ignores case (a memory
// stick, Windows, macOS) holds one file for both, and the viewer finds page files so.
bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
        };
        return lower(x) == lower(y);
    });
}

bool containsName(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& other) { return sameNameIgnoringCase(other, name); });
}

// Copies the page's images beside the page under the names the page uses, each checked to be
// an image of a kind the viewer shows; the bytes checked are the bytes written. A bare name is
// looked for in the model's folder. Every image that is left out, or taken from outside the
// model's folder tree, is noticed; placed lists the images that lie beside the page now.
void copyPageImages(const QelParameter& params, StoredNameResolver& resolver,
                    const std::string& outputFolder, BuildOutputResult& result) {
    for (const PageImage& image : pageImages(params)) {
        if (containsName(result.placedImages, image.name)) {
            continue; // the same file for two images of the page (checked in copyConflict)
        }
        ImageReference reference{std::string(), image.key, *image.stored, systemCodePage()};
        std::vector<ImageNotice>& notices = result.package.imageNotices;
        const std::optional<std::string> source = resolver.resolve(*image.stored, systemCodePage());
        const ImageFile file = source ? readImageFile(*source) : ImageFile{};
        if (file.status != ImageFileStatus::Ok) {
            const bool unreadable = file.status == ImageFileStatus::Unreadable;
            notices.push_back({unreadable ? ImageProblem::Unreadable : ImageProblem::NotAnImage,
                               std::move(reference), unreadable ? std::string() : *source});
            continue;
        }
        const std::string target = outputFolder + image.name;
        if (!sameFile(*source, target)) {
            if (!writeFileReplacing(target, file.bytes)) {
                result.failedImageCopies.push_back(image.name);
                continue;
            }
            result.copiedFiles.push_back(image.name);
        }
        result.placedImages.push_back(image.name);
        if (resolver.liesOutsideBase(*source)) {
            notices.push_back({ImageProblem::OutsideModelFolder, std::move(reference), *source});
        }
    }
}

// Why the copies beside the package cannot be made without destroying what the publish
// writes or reads: an image named like a package file would replace it (or be replaced by
// it), two different images of one name would leave one of them, and a copy onto the model
// file would lose the model. Names compare without ASCII letter case. Nothing when they can.
std::optional<PackageResult> copyConflict(const QelParameter& params, const PackageRequest& request,
                                          const PackageTarget& target,
                                          StoredNameResolver& resolver) {
    std::vector<std::string> packageFiles = shippedFileNames(params, request);
    packageFiles.push_back(target.packageName + ".zip");
    packageFiles.push_back(target.packageName + ".html");
    if (request.singleFile) {
        packageFiles.push_back(standalonePageName(target.packageName));
    }
    std::vector<std::string> copies = shippedFileNames(params, request);
    const std::vector<PageImage> images = pageImages(params);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const PageImage& image = images[i];
        if (containsName(packageFiles, image.name)) {
            return PackageResult{PackageError::ImageNamedLikePackageFile, image.name, {}, {}, {}};
        }
        for (std::size_t k = 0; k < i; ++k) {
            if (sameNameIgnoringCase(images[k].name, image.name) &&
                *images[k].stored != *image.stored) {
                const auto first = resolver.resolve(*images[k].stored, systemCodePage());
                const auto second = resolver.resolve(*image.stored, systemCodePage());
                if (first && second && !sameFile(*first, *second)) {
                    return PackageResult{PackageError::PageImagesShareName,
                                         *images[k].stored,
                                         *image.stored,
                                         {},
                                         {}};
                }
            }
        }
        copies.push_back(image.name);
    }
    for (const std::string& name : copies) {
        if (sameFile(target.outputFolder + name, request.modelPath)) {
            return PackageResult{
                PackageError::TargetIsModel, target.outputFolder + name, {}, {}, {}};
        }
    }
    return std::nullopt;
}

// A file the build would write that it also reads, which would be lost: the template, or the
// image of a material (the package is made from it first, but the user's file would be gone).
// A page image copied onto itself is no such file: it is left as it is.
std::optional<PackageResult> inputConflict(const QelScene& scene, const QelParameter& params,
                                           const PackageRequest& request,
                                           const PackageTarget& target,
                                           StoredNameResolver& resolver) {
    std::vector<std::string> inputs{request.templatePath};
    for (const ImageReference& image : imageReferences(scene, params)) {
        if (image.owner.empty()) {
            continue; // a page image: copied onto itself it stays as it is
        }
        if (std::optional<std::string> source = resolver.resolve(image.stored, image.cp)) {
            inputs.push_back(std::move(*source));
        }
    }
    // The page images that lie where their copies would go.
    std::vector<std::string> inPlace;
    for (const PageImage& image : pageImages(params)) {
        const auto source = resolver.resolve(*image.stored, systemCodePage());
        if (source && sameFile(*source, target.outputFolder + image.name)) {
            inPlace.push_back(image.name);
        }
    }
    for (const std::string& name : outputFileNames(params, request, target.packageName)) {
        const std::string file = target.outputFolder + name;
        if (containsName(inPlace, name)) {
            continue;
        }
        for (const std::string& input : inputs) {
            if (sameFile(file, input)) {
                return PackageResult{PackageError::TargetIsInput, file, {}, {}, {}};
            }
        }
    }
    return std::nullopt;
}

// The files beside a published page that it loads: the archive, the applet archive, the
// cartoon ramp (cartoon shading only) and the page's images that the build placed there.
std::vector<std::string> pageFileNames(const QelScene& scene, const QelParameter& params,
                                       const std::string& archiveName,
                                       const std::vector<std::string>& placedImages) {
    PackageRequest request;
    request.archiveName = archiveName;
    std::vector<std::string> names = shippedFileNames(params, request);
    names.insert(names.begin(), packageArchiveName(scene));
    for (const std::string& image : placedImages) {
        if (!containsName(names, image)) {
            names.push_back(image);
        }
    }
    return names;
}

// The single-file page: the page with every file it loads beside it carried inside it.
void writeStandalonePage(const QelScene& scene, const QelParameter& params,
                         const std::string& archiveName, BuildOutputResult& result) {
    StandaloneResult& out = result.standalone;
    const FileContents page = readFile(result.pagePath, kMaxArchiveBytes);
    if (!page.ok()) {
        out = {StandaloneStatus::CannotReadFile, result.pagePath, 0};
        return;
    }
    std::vector<EmbeddedFile> files;
    for (const std::string& name : pageFileNames(scene, params, archiveName, result.placedImages)) {
        const bool image = containsName(result.placedImages, name);
        FileContents file = readFile(scene.outputFolder + name, kMaxArchiveBytes);
        if (file.ok() && (!image || imageKindOf(file.bytes) != ImageKind::None)) {
            files.push_back({name, std::move(file.bytes)});
        } else if (name == archiveName || name == packageArchiveName(scene)) {
            // Without the viewer or the model the page would show nothing; a missing image
            // is left out, as the served page would lack it too.
            out = {StandaloneStatus::CannotReadFile, scene.outputFolder + name, 0};
            return;
        }
    }
    const std::string path = scene.outputFolder + standalonePageName(scene.packageName);
    const std::string bytes = buildStandalonePage(page.bytes, files);
    if (!writeFileReplacing(path, bytes)) {
        out = {StandaloneStatus::CannotWrite, path, 0};
        return;
    }
    out = {StandaloneStatus::Written, path, bytes.size()};
}

} // namespace

std::vector<std::string> outputFileNames(const QelParameter& params, const PackageRequest& request,
                                         const std::string& packageName) {
    std::vector<std::string> names{packageName + ".html", packageName + ".zip"};
    if (request.singleFile) {
        names.push_back(standalonePageName(packageName));
    }
    for (std::string& name : shippedFileNames(params, request)) {
        names.push_back(std::move(name));
    }
    for (PageImage& image : pageImages(params)) {
        names.push_back(std::move(image.name));
    }
    return names;
}

std::vector<std::string> pageImageNames(const QelParameter& params) {
    std::vector<std::string> names;
    for (const PageImage& image : pageImages(params)) {
        names.push_back(*image.stored);
    }
    return names;
}

std::vector<ImageReference> imageReferences(const QelScene& scene, const QelParameter& params) {
    std::vector<ImageReference> images;
    const std::size_t materialCount = writtenCount(scene.materialCount, scene.materials.size());
    for (std::size_t i = 0; i < materialCount; ++i) {
        const QelMaterial& m = scene.materials[i];
        const std::pair<const char*, const std::string*> maps[] = {
            {"tex", &m.tex}, {"aplane", &m.aplane}, {"bump", &m.bump}, {"env", &m.env}};
        for (const auto& [field, stored] : maps) {
            if (!stored->empty()) {
                images.push_back(
                    {m.name, field, stored->substr(0, stored->find('\0')), scene.codePage});
            }
        }
    }
    for (const PageImage& image : pageImages(params)) {
        images.push_back({std::string(), image.key, *image.stored, systemCodePage()});
    }
    return images;
}

std::optional<std::string> readableImage(const ImageReference& image,
                                         const std::string& modelFolder) {
    std::optional<std::string> path = resolveStoredName(image.stored, image.cp, modelFolder);
    if (path) {
        struct stat info {};
        const FileDescriptor file(openRegularFile(*path, info));
        if (file.get() < 0) {
            path.reset();
        }
    }
    return path;
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
    const PackageTarget target = packageTarget(request);
    StoredNameResolver resolver(target.sourceFolder);
    if (target.error == PackageError::None) {
        std::optional<PackageResult> conflict = copyConflict(params, request, target, resolver);
        if (!conflict) {
            conflict = inputConflict(scene, params, request, target, resolver);
        }
        if (conflict) {
            result.package = std::move(*conflict);
            return result;
        }
    }
    result.package = writePackage(scene, params, request, resolver);
    if (!result.ok()) {
        return result;
    }
    result.pagePath = packagePagePath(scene);
    for (const std::string& name : shippedFileNames(params, request)) {
        copyShippedFile(name, shippedFolder, scene.outputFolder, result);
    }
    copyPageImages(params, resolver, scene.outputFolder, result);
    if (request.singleFile && result.failedCopies.empty()) {
        writeStandalonePage(scene, params, request.archiveName, result);
    }
    return result;
}

} // namespace vantor
