#pragma once
// Package assembly: one web package written into an output folder. The images of the materials
// become texture files and the scene the model file, in a work folder inside the process's
// private temporary folder; they are packed into the archive N.zip, and the page N.html is made
// from the template. The archive and the page are written under temporary names in the output
// folder and renamed over the old ones only when both are complete, so a failed publish leaves
// the previous package as it was, and nothing is ever written outside the output folder and the
// private temporary folder.

#include "model/QelScene.h"
#include "platform/StoredNames.h"
#include "publish/QelParameter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

struct PackageRequest {
    std::string modelPath;                   // the MQO file's path; empty when none is loaded
    std::optional<std::string> outputFolder; // nothing (or empty): the model's folder
    std::optional<std::string> packageName;  // nothing (or empty): the model's base name
    std::string archiveName = "vtr.jar";     // the viewer's applet archive, named in the page
    std::string templatePath;                // the page template
    bool transform = true;                   // key the model and texture streams
    int level = 9;                           // archive compression: 0 stored, 1 to 9 deflated
    // A fixed seed makes every file's key predictable, and a fixed entry time dates every
    // archive entry alike; with both, the same input gives a byte-identical package.
    std::optional<std::uint64_t> seed;
    std::optional<std::uint32_t> entryDosTime;
    std::string tempFolder; // the private temporary folder; empty: processTempFolder()
    bool singleFile = false; // buildOutput also writes N.standalone.html
};

enum class PackageError {
    None,
    NoOutputFolder,         // no output folder given and the model path has no folder
    NoSourceFolder,         // the model path has no folder
    BadPackageName,         // empty, ".", "..", with a separator or a control character
    PackageNameTooLong,     // longer than kMaxPackageNameBytes (kMaxSingleFilePackageNameBytes)
    TargetIsModel,          // path: a file the publish would write that is the model file
    TargetIsInput,          // path: a file the publish would write that it reads (an image
                            // of a material, the template)
    ImageNamedLikePackageFile, // path: the name of a page image that a package file has
    PageImagesShareName,    // path, otherPath: two page images whose copies would share a name
    BadLevel,               // not 0 to 9
    TemplateUnreadable,     // path: the template
    EmptyPage,              // the template expands to nothing
    NoTempFolder,           // the private temporary folder cannot be created
    CannotCreateWorkFolder, // path: the work folder
    ModelTooLarge,          // the model file's stream would exceed its 32-bit lengths
    CannotWriteTextureFile, // path: a texture file in the work folder
    CannotWriteModelFile,   // path: the model file in the work folder
    CannotWriteArchive,     // path: the archive
    CannotWritePage,        // path: the page
};

// One image name that a build reads: a map of a material, or an image of the page.
struct ImageReference {
    std::string owner;  // the material's name; empty for an image of the scene settings
    std::string field;  // "tex", "aplane", "bump", "env", or the settings key ("BackGroundImage")
    std::string stored; // the name as stored, in code page cp
    CodePage cp = CodePage::Utf8;
};

// What a build tells about an image it was to package, so that the user sees what it left out
// and what leaves the model's folder.
enum class ImageProblem {
    Unreadable,         // no file found, or it cannot be read: left out
    NotAnImage,         // path: a file of no kind the viewer shows: left out
    OutsideModelFolder, // path: an image packaged from outside the model's folder tree
};

struct ImageNotice {
    ImageProblem problem;
    ImageReference image;
    std::string path; // the file found for it (none when Unreadable)
};

struct PackageResult {
    PackageError error = PackageError::None;
    std::string path;                    // the file or folder the error concerns
    std::string otherPath;               // PageImagesShareName: the second image
    std::vector<std::string> entryNames; // the archive's entries, in order
    // Every image that was left out or taken from outside the model's folder: the materials'
    // maps in table order, then (buildOutput) the page's images.
    std::vector<ImageNotice> imageNotices;
    bool ok() const { return error == PackageError::None; }
};

// Where a request puts its package, as writePackage forms it: the output folder (ending in a
// separator), the model's folder and the package name. When the request names no folder, or
// a name that cannot be a file name of its own, error says so and path what it concerns.
struct PackageTarget {
    PackageError error = PackageError::None;
    std::string path;
    std::string outputFolder;
    std::string sourceFolder;
    std::string packageName;
};
PackageTarget packageTarget(const PackageRequest& request);

// Writes the package. Sets scene.outputFolder (ending in a separator), scene.packageName,
// scene.tempPath, scene.workFolder and scene.streamTransform, which keep their values after the
// call. Images that cannot be read, and files that are no image the viewer shows, are left out
// of the archive (the model file still names them) and listed in imageNotices, as is every
// image taken from outside the model's folder tree; everything else that fails makes the call
// fail. The stored names are found with resolver, whose base is the model's folder (the first
// form makes one of its own).
PackageResult writePackage(QelScene& scene, const QelParameter& params,
                           const PackageRequest& request);
PackageResult writePackage(QelScene& scene, const QelParameter& params,
                           const PackageRequest& request, StoredNameResolver& resolver);

// The package's file names after writePackage: N.zip, N.html, and the page's full path.
std::string packageArchiveName(const QelScene& scene);
std::string packagePageName(const QelScene& scene);
std::string packagePagePath(const QelScene& scene);

// Sets scene.tempPath to tempFolder and scene.workFolder to tempFolder + packageName + "/", and
// creates the work folder (an existing one is fine). False when it cannot be created.
bool prepareWorkFolder(QelScene& scene, const std::string& tempFolder);

// One archive entry: its stored name (with the designed backslash, "car\car.qel") and the
// file that holds its bytes.
struct ZipEntry {
    std::string name;
    std::string file;
};

// Writes the archive at archivePath, replacing a file of that name: the entries in order,
// stored at level 0 and deflated at levels 1 to 9, each dated with entryDosTime or else with
// its file's modification time. False when the archive cannot be created, an entry fails, or
// the entries add up to more than kMaxArchiveInputBytes.
bool zipEntries(const std::string& archivePath, const std::vector<ZipEntry>& entries, int level,
                std::optional<std::uint32_t> entryDosTime = std::nullopt);

} // namespace vantor
