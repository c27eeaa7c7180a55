#include "publish/Package.h"

#include "platform/FileOps.h"
#include "platform/FileTimes.h"
#include "platform/Limits.h"
#include "platform/StoredNames.h"
#include "platform/TempFolder.h"
#include "publish/AppletPage.h"
#include "publish/KeyedStream.h"
#include "publish/ModelFile.h"
#include "publish/PathHelpers.h"
#include "publish/StandalonePage.h"
#include "publish/TextureFile.h"

#include <algorithm>
#include <cstdio>
#include <minizip/zip.h>
#include <sys/stat.h>

namespace vantor {

namespace {

constexpr std::size_t kCopyBufferBytes = 16384;
constexpr int kMemoryLevel = 8;

PackageResult failure(PackageError error, std::string path = {}) {
    PackageResult result;
    result.error = error;
    result.path = std::move(path);
    return result;
}

bool endsInSeparator(const std::string& folder) {
    return folder.ends_with('/') ||
           (folder.ends_with('\\') &&
            charPrev(systemCodePage(), folder, folder.size()) == folder.size() - 1);
}

std::string asFolder(std::string folder) {
    if (!endsInSeparator(folder)) {
        folder += '/';
    }
    return folder;
}

// The files written into the work folder; deleted, with the folder, however the call ends.
class WorkFiles {
public:
    explicit WorkFiles(std::string folder) : folder_(std::move(folder)) {}
    ~WorkFiles() {
        for (const std::string& file : written_) {
            removeFile(file);
        }
        removeEmptyFolder(folder_);
    }
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;

    // A file about to be written: it goes even when writing it fails part way.
    void writing(const std::string& file) { written_.push_back(file); }
    void addEntry(std::string name, std::string file) {
        names_.push_back(name);
        entries_.push_back({std::move(name), std::move(file)});
    }
    bool hasEntry(const std::string& name) const { return findEntryName(names_, name).has_value(); }
    const std::vector<std::string>& entryNames() const { return names_; }
    const std::vector<ZipEntry>& entries() const { return entries_; }

private:
    std::string folder_;
    std::vector<std::string> written_;
    std::vector<std::string> names_;
    std::vector<ZipEntry> entries_;
};

bool canBeRead(const std::string& path) {
    struct stat info {};
    return FileDescriptor(openRegularFile(path, info)).get() >= 0;
}

// The texture files of every image the materials name, in table order and within a material
// in the order texture, alpha plane, bump, environment. The first image that yields an entry
// name is the one written; an image that cannot be read, or a file that is no image, gives a
// later one its chance. Each reference that names nothing readable is noticed, and each file
// (once) that is left out as no image or packaged from outside the model's folder. Returns the
// texture file that could not be written, which fails the package.
std::optional<std::string> writeTextureFiles(QelScene& scene, StoredNameResolver& resolver,
                                             KeyGenerator& keys, WorkFiles& work,
                                             std::vector<ImageNotice>& notices) {
    const std::size_t materialCount =
        scene.materialCount <= 0
            ? 0
            : std::min(static_cast<std::size_t>(scene.materialCount), scene.materials.size());
    std::vector<std::string> noticed; // files already named in a notice
    const auto notice = [&](ImageProblem problem, ImageReference image, const std::string& path) {
        if (std::find(noticed.begin(), noticed.end(), path) == noticed.end()) {
            noticed.push_back(path);
            notices.push_back({problem, std::move(image), path});
        }
    };
    for (std::size_t i = 0; i < materialCount; ++i) {
        const QelMaterial& material = scene.materials[i];
        const std::pair<const char*, const std::string*> maps[] = {{"tex", &material.tex},
                                                                   {"aplane", &material.aplane},
                                                                   {"bump", &material.bump},
                                                                   {"env", &material.env}};
        for (const auto& [field, map] : maps) {
            if (map->empty()) {
                continue;
            }
            ImageReference reference{material.name, field, map->substr(0, map->find('\0')),
                                     scene.codePage};
            const std::optional<std::string> image =
                resolver.resolve(reference.stored, scene.codePage);
            if (!image || !canBeRead(*image)) {
                notices.push_back({ImageProblem::Unreadable, std::move(reference), {}});
                continue;
            }
            const std::optional<std::string> fileName =
                textureEntryName(reference.stored, scene.codePage);
            if (!fileName) {
                continue;
            }
            std::string entryName = scene.packageName + "\\" + *fileName;
            if (work.hasEntry(entryName)) {
                continue;
            }
            const std::string textureFile = scene.workFolder + *fileName;
            work.writing(textureFile);
            switch (writeTextureFile(scene, *image, textureFile, keys)) {
            case TextureFileStatus::Ok:
                work.addEntry(std::move(entryName), textureFile);
                if (resolver.liesOutsideBase(*image)) {
                    notice(ImageProblem::OutsideModelFolder, std::move(reference), *image);
                }
                break;
            case TextureFileStatus::NotAnImage:
                notice(ImageProblem::NotAnImage, std::move(reference), *image);
                break;
            case TextureFileStatus::CannotReadImage:
                notices.push_back({ImageProblem::Unreadable, std::move(reference), {}});
                break;
            case TextureFileStatus::CannotWrite:
                return textureFile;
            }
        }
    }
    return std::nullopt;
}

std::uint64_t fileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

// Copies one file into the open archive entry; ZIP_OK or a negative error.
int copyIntoEntry(zipFile zip, const std::string& file, std::vector<char>& buffer) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (in == nullptr) {
        return -1;
    }
    int error = ZIP_OK;
    std::size_t count = 0;
    do {
        count = std::fread(buffer.data(), 1, buffer.size(), in);
        if (count < buffer.size() && !std::feof(in)) {
            error = -1;
        }
        if (count > 0 && error == ZIP_OK) {
            error = zipWriteInFileInZip(zip, buffer.data(), static_cast<unsigned>(count));
        }
    } while (error == ZIP_OK && count > 0);
    std::fclose(in);
    return error;
}

} // namespace

bool zipEntries(const std::string& archivePath, const std::vector<ZipEntry>& entries, int level,
                std::optional<std::uint32_t> entryDosTime) {
    std::uint64_t totalBytes = 0;
    for (const ZipEntry& entry : entries) {
        totalBytes += fileSize(entry.file);
    }
    if (totalBytes > kMaxArchiveInputBytes) {
        return false;
    }
    std::vector<char> buffer(kCopyBufferBytes);
    zipFile zip = zipOpen(archivePath.c_str(), APPEND_STATUS_CREATE);
    if (zip == nullptr) {
        return false;
    }
    int error = ZIP_OK;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info{};
        info.dosDate = entryDosTime.value_or(fileDosTime(entry.file).value_or(0));
        error = zipOpenNewFileInZip3(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0,
                                     nullptr, level != 0 ? Z_DEFLATED : 0, level, 0, -MAX_WBITS,
                                     kMemoryLevel, Z_DEFAULT_STRATEGY, nullptr, 0);
        if (error == ZIP_OK) {
            error = copyIntoEntry(zip, entry.file, buffer);
        }
        if (error < 0) {
            error = -1;
            break;
        }
        error = zipCloseFileInZip(zip);
        if (error != ZIP_OK) {
            break;
        }
    }
    const int closed = zipClose(zip, nullptr);
    return error == ZIP_OK && closed == ZIP_OK;
}

bool prepareWorkFolder(QelScene& scene, const std::string& tempFolder) {
    scene.tempPath = tempFolder;
    scene.workFolder = tempFolder + scene.packageName + "/";
    return makeFolder(scene.workFolder);
}

std::string packageArchiveName(const QelScene& scene) {
    return scene.packageName + ".zip";
}
std::string packagePageName(const QelScene& scene) {
    return scene.packageName + ".html";
}
std::string packagePagePath(const QelScene& scene) {
    return scene.outputFolder + packagePageName(scene);
}

PackageTarget packageTarget(const PackageRequest& request) {
    PackageTarget target;
    const CodePage cp = systemCodePage();
    const std::optional<std::string> sourceFolder = folderOfPath(request.modelPath, cp);
    if (request.outputFolder && !request.outputFolder->empty()) {
        target.outputFolder = asFolder(*request.outputFolder);
    } else if (sourceFolder) {
        target.outputFolder = *sourceFolder;
    } else {
        target.error = PackageError::NoOutputFolder;
        target.path = request.modelPath;
        return target;
    }
    if (!sourceFolder) {
        target.error = PackageError::NoSourceFolder;
        target.path = request.modelPath;
        return target;
    }
    target.sourceFolder = *sourceFolder;
    std::optional<std::string> packageName = request.packageName;
    if (!packageName || packageName->empty()) {
        packageName = baseNameOfPath(request.modelPath, cp);
    }
    target.path = packageName.value_or("");
    if (!packageName || !isPlainFileName(*packageName, cp) || hasControlCharacter(*packageName)) {
        target.error = PackageError::BadPackageName;
    } else if (packageName->size() >
               (request.singleFile ? kMaxSingleFilePackageNameBytes : kMaxPackageNameBytes)) {
        target.error = PackageError::PackageNameTooLong;
    } else {
        target.packageName = std::move(*packageName);
        target.path.clear();
    }
    return target;
}

PackageResult writePackage(QelScene& scene, const QelParameter& params,
                           const PackageRequest& request) {
    StoredNameResolver resolver(packageTarget(request).sourceFolder);
    return writePackage(scene, params, request, resolver);
}

PackageResult writePackage(QelScene& scene, const QelParameter& params,
                           const PackageRequest& request, StoredNameResolver& resolver) {
    PackageTarget target = packageTarget(request);
    if (target.error != PackageError::None) {
        return failure(target.error, target.path);
    }
    if (request.level < 0 || request.level > 9) {
        return failure(PackageError::BadLevel);
    }
    const std::string& outputFolder = target.outputFolder;
    scene.outputFolder = outputFolder;
    scene.packageName = std::move(target.packageName);
    // Replacing the model with its own package would lose it: publishing d/car.zip (a zipped
    // model) or a model named car.html is refused.
    std::vector<std::string> written{outputFolder + packageArchiveName(scene),
                                     packagePagePath(scene)};
    if (request.singleFile) {
        written.push_back(outputFolder + standalonePageName(scene.packageName));
    }
    for (const std::string& file : written) {
        if (sameFile(file, request.modelPath)) {
            return failure(PackageError::TargetIsModel, file);
        }
    }

    // Everything that can fail without writing anything comes first.
    const AppletPage page =
        makeAppletPage(request.templatePath, scene.packageName, request.archiveName, params);
    if (page.status == PageStatus::TemplateUnreadable) {
        return failure(PackageError::TemplateUnreadable, request.templatePath);
    }
    if (page.status == PageStatus::EmptyPage) {
        return failure(PackageError::EmptyPage, request.templatePath);
    }
    std::optional<std::string> tempFolder = request.tempFolder;
    if (tempFolder->empty()) {
        tempFolder = processTempFolder();
        if (!tempFolder) {
            return failure(PackageError::NoTempFolder);
        }
    }
    SiblingTempFile archive(outputFolder + packageArchiveName(scene));
    if (!archive.ok()) {
        return failure(PackageError::CannotWriteArchive, archive.target());
    }
    SiblingTempFile pageFile(packagePagePath(scene));
    if (!pageFile.ok()) {
        return failure(PackageError::CannotWritePage, pageFile.target());
    }
    if (!prepareWorkFolder(scene, asFolder(*tempFolder))) {
        return failure(PackageError::CannotCreateWorkFolder, scene.workFolder);
    }
    scene.streamTransform = request.transform ? 1 : 0;
    KeyGenerator keys = request.seed ? KeyGenerator(*request.seed) : KeyGenerator::unpredictable();

    WorkFiles work(scene.workFolder);
    std::vector<ImageNotice> notices;
    if (const auto failed = writeTextureFiles(scene, resolver, keys, work, notices)) {
        return failure(PackageError::CannotWriteTextureFile, *failed);
    }
    const std::string modelFile = scene.workFolder + scene.packageName + ".qel";
    work.writing(modelFile);
    switch (writeModelFile(scene, modelFile, keys)) {
    case ModelFileStatus::Ok:
        break;
    case ModelFileStatus::TooLarge:
        return failure(PackageError::ModelTooLarge);
    case ModelFileStatus::CannotWrite:
        return failure(PackageError::CannotWriteModelFile, modelFile);
    }
    work.addEntry(scene.packageName + "\\" + scene.packageName + ".qel", modelFile);
    if (!zipEntries(archive.path(), work.entries(), request.level, request.entryDosTime)) {
        return failure(PackageError::CannotWriteArchive, archive.target());
    }
    PackageResult result;
    result.entryNames = work.entryNames();
    result.imageNotices = std::move(notices);
    if (!writeWholeFile(pageFile.path(), page.bytes)) {
        return failure(PackageError::CannotWritePage, pageFile.target());
    }
    if (!archive.commit()) {
        return failure(PackageError::CannotWriteArchive, archive.target());
    }
    if (!pageFile.commit()) {
        return failure(PackageError::CannotWritePage, pageFile.target());
    }
    return result;
}

} // namespace vantor
