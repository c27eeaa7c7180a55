// vantor-cli publish: the editor's publish without a window. Reads a model, fills the viewer
// parameters, writes the package into a folder and copies the files its page needs.

#include "cli/Commands.h"
#include "model/MqoReader.h"
#include "platform/FileOps.h"
#include "platform/FileTimes.h"
#include "platform/Limits.h"
#include "platform/StoredNames.h"
#include "publish/BuildOutput.h"
#include "publish/CameraFit.h"
#include "publish/PathHelpers.h"
#include "settings/SceneSettings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <vector>

namespace vantor::cli {

namespace {

struct PublishOptions {
    std::vector<std::string> modelPaths;
    std::optional<std::string> outputFolder;
    std::optional<std::string> packageName;
    std::optional<std::string> templatePath;
    std::optional<std::string> settingsPath;
    int level = 9;
    std::optional<std::uint64_t> seed;
    bool fit = false;
    bool singleFile = false;
};

template <typename Number> bool parseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

// The options, or the reason they are wrong.
std::optional<PublishOptions> parseOptions(const Arguments& args, std::string& problem) {
    PublishOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            if (arg.empty()) {
                problem = "a model file name is empty";
                return std::nullopt;
            }
            options.modelPaths.push_back(arg);
            continue;
        }
        if (arg == "--fit" || arg == "--single-file") {
            (arg == "--fit" ? options.fit : options.singleFile) = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = arg + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (arg == "--out") {
            options.outputFolder = value;
        } else if (arg == "--name") {
            options.packageName = value;
        } else if (arg == "--template") {
            options.templatePath = value;
        } else if (arg == "--settings") {
            options.settingsPath = value;
        } else if (arg == "--level") {
            if (!parseNumber(value, options.level) || options.level < 0 || options.level > 9) {
                problem = "--level takes a number from 0 to 9";
                return std::nullopt;
            }
        } else if (arg == "--seed") {
            std::uint64_t seed = 0;
            if (!parseNumber(value, seed)) {
                problem = "--seed takes a non-negative whole number";
                return std::nullopt;
            }
            options.seed = seed;
        } else {
            problem = "unknown option " + arg;
            return std::nullopt;
        }
    }
    if (options.modelPaths.empty()) {
        problem = "a model file is needed";
        return std::nullopt;
    }
    if (options.packageName && options.modelPaths.size() > 1) {
        problem = "--name names one package; several models take their own base names";
        return std::nullopt;
    }
    return options;
}

// The viewer parameters of the build: the editor's start-up state, or a settings file loaded
// as the editor loads one (keys it lacks take the values a new record starts with), with the
// values the editor shows in number fields clamped to those fields' ranges.
std::optional<QelParameter> publishParameters(const PublishOptions& options, std::string& problem) {
    if (!options.settingsPath) {
        return editorStartupParameters();
    }
    QelParameter parameters;
    if (!loadSceneSettings(parameters, *options.settingsPath)) {
        problem = "cannot read the settings file " + *options.settingsPath;
        return std::nullopt;
    }
    clampToEditorRanges(parameters);
    return parameters;
}

// --fit: the camera where the whole model shows, after the settings file had its say.
void fitCamera(const QelScene& scene, QelParameter& parameters) {
    if (const std::optional<QelFloat3> position = fitCameraPosition(scene, parameters)) {
        parameters.ModelPosition = *position;
    } else {
        reportWarning("--fit: the model draws nothing; the camera stays where it was set");
    }
}

// A name for a one-line message: control characters are shown as "?".
std::string printable(std::string text) {
    std::replace_if(text.begin(), text.end(), isControlCharacter, '?');
    return text;
}

std::string describe(const PackageResult& result) {
    switch (result.error) {
    case PackageError::None:
        return "no error";
    case PackageError::NoOutputFolder:
    case PackageError::NoSourceFolder:
        return "the model path " + result.path + " names no folder";
    case PackageError::BadPackageName:
        return "the package name \"" + printable(result.path) +
               "\" is not a plain file name (no separator, no control character)";
    case PackageError::PackageNameTooLong:
        return "the package name is longer than " + std::to_string(kMaxPackageNameBytes) +
               " bytes (" + std::to_string(kMaxSingleFilePackageNameBytes) +
               " with --single-file)";
    case PackageError::TargetIsModel:
        return "the publish would replace the model itself: " + result.path;
    case PackageError::TargetIsInput:
        return "the publish would replace a file it reads: " + result.path;
    case PackageError::ImageNamedLikePackageFile:
        return "an image of the settings is named " + printable(result.path) +
               ", like a file of the package";
    case PackageError::PageImagesShareName:
        return "two images of the settings would be copied beside the page under one name: " +
               printable(result.path) + " and " + printable(result.otherPath);
    case PackageError::BadLevel:
        return "the archive level must be 0 to 9";
    case PackageError::TemplateUnreadable:
        return "cannot read the page template " + result.path;
    case PackageError::EmptyPage:
        return "the page template " + result.path + " gives an empty page";
    case PackageError::NoTempFolder:
        return "cannot create a private temporary folder";
    case PackageError::CannotCreateWorkFolder:
        return "cannot create the work folder " + result.path;
    case PackageError::ModelTooLarge:
        return "the model is too large for a model file (more than 2 GiB)";
    case PackageError::CannotWriteTextureFile:
        return "cannot write the texture file " + result.path;
    case PackageError::CannotWriteModelFile:
        return "cannot write the model file " + result.path;
    case PackageError::CannotWriteArchive:
        return "cannot write the archive " + result.path;
    case PackageError::CannotWritePage:
        return "cannot write the page " + result.path;
    }
    return "unknown error";
}

// One warning for each image that a material or the settings name and that cannot be read,
// or that is no image and was left out (the package is still written, without it), and for
// each image taken from outside the model's folder tree, so that the user sees what leaves
// the disk.
void warnAboutImages(const std::vector<ImageNotice>& notices, const std::string& modelPath) {
    for (const ImageNotice& notice : notices) {
        const ImageReference& image = notice.image;
        const std::string owner = image.owner.empty()
                                      ? std::string("the settings")
                                      : "material \"" + decodeToUtf8(image.cp, image.owner) + "\"";
        const std::string prefix = modelPath + ": " + owner + " " + image.field + ": ";
        std::string stored = decodeToUtf8(image.cp, image.stored);
        stored.insert(stored.begin(), '"');
        stored += '"';
        switch (notice.problem) {
        case ImageProblem::Unreadable:
            reportWarning(prefix + "cannot read the image " + stored);
            break;
        case ImageProblem::NotAnImage:
            reportWarning(prefix + stored + " is no image the viewer shows (" +
                          printable(notice.path) + "); it is left out of the package");
            break;
        case ImageProblem::OutsideModelFolder:
            reportWarning(prefix + "the image " + stored +
                          " is taken from outside the model's folder: " + printable(notice.path));
            break;
        }
    }
}

std::string describeSize(std::uint64_t bytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f MB, %llu bytes", static_cast<double>(bytes) / 1e6,
                  static_cast<unsigned long long>(bytes));
    return text;
}

// The line for the single-file page: its path and size, or the problem.
std::optional<std::string> reportStandalonePage(const StandaloneResult& page) {
    switch (page.status) {
    case StandaloneStatus::NotAsked:
        return std::nullopt;
    case StandaloneStatus::Written:
        std::printf("%s (%s)\n", page.path.c_str(), describeSize(page.bytes).c_str());
        return std::nullopt;
    case StandaloneStatus::CannotReadFile:
        return "cannot read " + page.path + " to put it into the single-file page";
    case StandaloneStatus::CannotWrite:
        return "cannot write the single-file page " + page.path;
    }
    return std::nullopt;
}

// Publishes one model; returns its problem, or nothing when the package was written.
std::optional<std::string> publishModel(const PublishOptions& options, const std::string& model,
                                        QelParameter parameters) {
    QelScene scene;
    const MqoReadResult read = readMqoFile(scene, model);
    if (!read.ok()) {
        return modelFailureMessage(model, read);
    }
    if (options.fit) {
        fitCamera(scene, parameters);
    }

    PackageRequest request;
    request.modelPath = model;
    if (!folderOfPath(request.modelPath, systemCodePage())) {
        request.modelPath = "./" + request.modelPath; // a bare name lies in the current folder
    }
    if (options.outputFolder) {
        // Made only for a model that could be read.
        std::error_code error;
        std::filesystem::create_directories(*options.outputFolder, error);
        if (error) {
            return "cannot create the folder " + *options.outputFolder + ": " + error.message();
        }
        request.outputFolder = *options.outputFolder;
    }
    request.packageName = options.packageName;
    request.templatePath = options.templatePath.value_or("");
    request.level = options.level;
    request.singleFile = options.singleFile;
    if (options.seed) {
        request.seed = options.seed;
        request.entryDosTime = kEarliestDosTime;
    }
    const BuildOutputResult result = buildOutput(scene, parameters, request);
    warnAboutImages(result.package.imageNotices, request.modelPath);
    for (const std::string& image : result.failedImageCopies) {
        reportWarning(request.modelPath + ": cannot copy the image " + printable(image) +
                      " into " + scene.outputFolder);
    }
    if (!result.ok()) {
        return describe(result.package);
    }
    // Without the viewer (or the ramp cartoon shading needs) the package shows nothing.
    if (!result.failedCopies.empty()) {
        return "the package was written, but " + result.failedCopies.front() +
               " could not be copied into " + scene.outputFolder;
    }
    std::printf("%s\n", result.pagePath.c_str());
    return reportStandalonePage(result.standalone);
}

// A key that every spelling of one file or folder shares (through links, "..", hard links):
// its device and inode when it exists, else its absolute path with the links of the part that
// exists resolved.
std::string identityOf(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }
    std::error_code error;
    const std::filesystem::path full = std::filesystem::weakly_canonical(path, error);
    return error ? path : full.string();
}

std::string foldedAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c;
    });
    return text;
}

// A folder and a file name joined with one separator.
std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// Where one model of a run publishes.
struct PlannedPackage {
    std::string folder;     // the output folder as given or formed
    std::string name;       // the package name
    std::string identity;   // the same for every spelling of one package (folder and name)
};

PlannedPackage planPackage(const PublishOptions& options, const std::string& model) {
    PlannedPackage plan;
    plan.folder = options.outputFolder.value_or(
        folderOfPath(model, systemCodePage()).value_or("./"));
    plan.name = options.packageName.value_or(baseNameOfPath(model, systemCodePage()).value_or(""));
    // Names compare without letter case: on a folder that ignores case they are one file.
    plan.identity = identityOf(plan.folder) + "/" + foldedAscii(plan.name);
    return plan;
}

// A file that a run reads, and what it is to the user.
struct RunInput {
    std::string path;
    std::string what;
    std::size_t model; // the model whose own input it is (its model file and images)
};

// Why the run must not start: a file that one model's publish would write is a file the run
// reads (another model, its page images, the settings file or the page template), which would
// be gone, or changed, before it is read. A model's package over its own model is left to
// the build, which refuses that model alone.
std::optional<std::string> inputOverwritten(const PublishOptions& options,
                                            const QelParameter& parameters,
                                            const std::vector<PlannedPackage>& plans) {
    constexpr std::size_t kAnyModel = static_cast<std::size_t>(-1);
    std::vector<RunInput> inputs;
    for (std::size_t k = 0; k < options.modelPaths.size(); ++k) {
        const std::string& model = options.modelPaths[k];
        inputs.push_back({model, "the model " + model, k});
        const std::string folder = folderOfPath(model, systemCodePage()).value_or("./");
        StoredNameResolver resolver(folder);
        for (const std::string& image : pageImageNames(parameters)) {
            if (const auto source = resolver.resolve(image, systemCodePage())) {
                inputs.push_back({*source, "the page image " + *source + " of " + model, k});
            }
        }
        // The images of the other models are read after earlier packages are written; a
        // model's own are its build's to guard. So each model is read once more here, when
        // there are others (one that cannot be read fails in its turn).
        QelScene scene;
        if (options.modelPaths.size() > 1 && readMqoFile(scene, model).ok()) {
            for (const ImageReference& image : imageReferences(scene, QelParameter{})) {
                if (const auto source = resolver.resolve(image.stored, image.cp)) {
                    inputs.push_back({*source, "the image " + *source + " of " + model, k});
                }
            }
        }
    }
    if (options.settingsPath) {
        inputs.push_back({*options.settingsPath, "the settings file " + *options.settingsPath,
                          kAnyModel});
    }
    if (options.templatePath) {
        inputs.push_back({*options.templatePath, "the page template " + *options.templatePath,
                          kAnyModel});
    }
    PackageRequest request;
    request.singleFile = options.singleFile;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        for (const std::string& name : outputFileNames(parameters, request, plans[k].name)) {
            const std::string file = joined(plans[k].folder, name);
            for (const RunInput& input : inputs) {
                if (input.model != k && sameFile(file, input.path)) {
                    return "nothing is published: the package of " + options.modelPaths[k] +
                           " would write " + printable(file) + ", which is " +
                           printable(input.what) + " of this run";
                }
            }
        }
    }
    return std::nullopt;
}

int runPublish(const Arguments& args) {
    if (handleHelp(kPublishCommand, args)) {
        return kExitOk;
    }
    std::string problem;
    const std::optional<PublishOptions> options = parseOptions(args, problem);
    if (!options) {
        return reportUsage(kPublishCommand, problem);
    }
    const std::optional<QelParameter> parameters = publishParameters(*options, problem);
    if (!parameters) {
        return reportFailure(problem);
    }
    // Planned before anything is written: folders compare by identity, so a second spelling
    // of one folder (a link, "..", an absolute path) is the same folder.
    std::vector<PlannedPackage> plans;
    for (const std::string& model : options->modelPaths) {
        plans.push_back(planPackage(*options, model));
    }
    if (const std::optional<std::string> refusal = inputOverwritten(*options, *parameters, plans)) {
        return reportFailure(*refusal);
    }
    // Each model is tried, whatever became of the ones before it; a second model of the same
    // package would replace the first one's package, so it is refused.
    int status = kExitOk;
    std::set<std::string> written;
    for (std::size_t k = 0; k < plans.size(); ++k) {
        const std::string& model = options->modelPaths[k];
        std::optional<std::string> failure;
        if (written.count(plans[k].identity) != 0) {
            failure = model + ": an earlier model of this run has the same package, " +
                      joined(plans[k].folder, plans[k].name) + "; its package is kept";
        } else if (!(failure = publishModel(*options, model, *parameters))) {
            written.insert(plans[k].identity);
        }
        if (failure) {
            status = reportFailure(*failure);
        }
    }
    return status;
}

} // namespace

const Command kPublishCommand{
    "publish",
    "write the web package of a model, as the editor's publish does",
    "usage: vantor-cli publish MODEL.mqo... [--out DIR] [--name NAME] [--settings FILE]\n"
    "                          [--level 0-9] [--seed N] [--template FILE] [--fit]\n"
    "                          [--single-file]\n"
    "\n"
    "Reads MODEL and writes its web package with the editor's start-up settings (or those of\n"
    "a settings file): NAME.zip (the keyed model file and one texture file per image) and\n"
    "NAME.html (the page), then copies vtr.jar, LitColor.jpg (cartoon shading only) and the\n"
    "images the page names beside them. Prints the page's path. Several models give one\n"
    "package each, named after each model; a model that fails is reported and the others are\n"
    "still published. An image that a material or the settings name and that cannot be read,\n"
    "or a file that is no image the viewer shows (JPEG, PNG, GIF, BMP, WebP, TGA, DDS, PSD),\n"
    "is reported as a warning, and the package is written without it; each image taken from\n"
    "outside the model's folder is named in a warning too.\n"
    "\n"
    "  --out DIR        the output folder, created when missing (default: the model's folder)\n"
    "  --name NAME      the package name, a plain file name of at most 250 bytes without\n"
    "                   control characters (default: the model's base name)\n"
    "  --settings FILE  the scene settings of a settings file (.vsn) instead of the editor's\n"
    "                   start-up settings; keys it lacks take their initial values, and\n"
    "                   canvas size, field of view, edge power and progress-bar position are\n"
    "                   clamped to the ranges of the editor's fields\n"
    "  --level N        the archive's compression level, 0 (stored) to 9 (default 9)\n"
    "  --seed N         draw the files' keys from seed N and date every archive entry\n"
    "                   1980-01-01 00:00, so that the same input gives the same bytes\n"
    "  --template FILE  the page template (default: template.html beside the program)\n"
    "  --fit            place the camera where the whole model shows, centred and filling\n"
    "                   most of the canvas, for the canvas size, field of view and initial\n"
    "                   angles in force (after --settings)\n"
    "  --single-file    also write NAME.standalone.html, the page with the viewer, the model\n"
    "                   and its images inside it, which shows the model when opened straight\n"
    "                   from disk; prints its path and size\n"
    "\n"
    "A failed publish leaves an earlier package of that name as it was. The publish is refused\n"
    "before anything is written when an image is named like a package file (NAME.html,\n"
    "NAME.zip, vtr.jar, LitColor.jpg for cartoon shading; in any letter case), when two\n"
    "different page images have one name, or when a file it would write is the model itself;\n"
    "a run of several models is refused when a package would replace one of its inputs (a\n"
    "model, a page image, the settings file, the template). Exit status 0 on success, 1 when\n"
    "a package cannot be written or vtr.jar (LitColor.jpg for cartoon shading) cannot be\n"
    "copied beside it, 2 for wrong arguments (--name with several models among them).\n",
    runPublish,
};

} // namespace vantor::cli
