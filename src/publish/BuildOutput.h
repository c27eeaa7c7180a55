#pragma once
// The part of the editor's build that needs no window: write the package, then copy the files
// the page needs into the output folder: the viewer's applet archive, the cartoon shading ramp
// (cartoon shading only) and the images the page names. The editor and the command-line tool
// share it; the editor keeps the list of copied files to delete them with its next preview.

#include "model/QelScene.h"
#include "publish/Package.h"
#include "publish/QelParameter.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

// The files that ship beside the program.
inline constexpr const char* kPageTemplateName = "template.html";
inline constexpr const char* kAppletArchiveName = "vtr.jar";
inline constexpr const char* kCartoonRampName = "LitColor.jpg";

enum class StandaloneStatus {
    NotAsked,
    Written,
    CannotReadFile, // path: the page, the model archive or the viewer, which it must carry
    CannotWrite,    // path: the single-file page
};

struct StandaloneResult {
    StandaloneStatus status = StandaloneStatus::NotAsked;
    std::string path;        // the single-file page when written, else what failed
    std::uint64_t bytes = 0; // its size when written
};

struct BuildOutputResult {
    PackageResult package;
    std::vector<std::string> copiedFiles; // names of the files copied into the output folder
    std::vector<std::string> failedCopies; // shipped files that are not in the output folder
    std::vector<std::string> placedImages; // the page's images beside the page, copied or found
    std::vector<std::string> failedImageCopies; // page images that could not be written there
    std::string pagePath;                 // the page's path, when the package was written
    StandaloneResult standalone;          // the single-file page, when the request asks for it
    bool ok() const { return package.ok(); }
};

// Writes the package (a request without a template path uses the shipped template) and, when
// that succeeded, copies the shipped files and the images. A file that is missing or cannot be
// copied is left out without failing the build (a shipped one is listed in failedCopies, an
// image in failedImageCopies); a file that already lies in the output folder is not copied
// (and not listed). Only images of a kind the viewer shows are packaged or copied (see
// ImageKind.h); package.imageNotices lists every image left out and every one taken from
// outside the model's folder tree. The shipped files are looked for beside the program, or in
// shippedFolder when one is given. Nothing is written when an image has the name of a package
// file (N.html, N.zip, the viewer, the ramp for cartoon shading), when two different images of
// the page have one name, or when a file the build would write is the model file itself or a
// file it reads (an image of a material, the template); names compare without ASCII letter
// case. A request for the single-file page gets it written once the package and its copies are
// complete (see StandalonePage.h).
BuildOutputResult buildOutput(QelScene& scene, const QelParameter& params, PackageRequest request,
                              const std::string& shippedFolder = {});

// The names of the files that a build with params and request writes into its output folder
// for the package packageName: the page, the archive, the single-file page when asked for, the
// shipped files and the copies of the page's images.
std::vector<std::string> outputFileNames(const QelParameter& params, const PackageRequest& request,
                                         const std::string& packageName);

// The names of the page's images as the settings hold them, in the page's order.
std::vector<std::string> pageImageNames(const QelParameter& params);

// Every image name the build of scene with params reads: the maps of each material in table
// order (texture, alpha plane, bump, environment), then the page's images in the page's order.
std::vector<ImageReference> imageReferences(const QelScene& scene, const QelParameter& params);

// The file an image name is read from, found beside the model as the build finds it, when it
// can be opened for reading. modelFolder ends in a separator, or is empty.
std::optional<std::string> readableImage(const ImageReference& image,
                                         const std::string& modelFolder);

// The shipped page template: in the program folder, or in the installed layout beside it.
std::string shippedTemplatePath();

// Copies sourceFolder + fileName to targetFolder + fileName, replacing an existing file. False
// when the two folders are the same text, or when the copy fails.
bool copyFileBetweenFolders(const std::string& sourceFolder, const std::string& targetFolder,
                            const std::string& fileName);

// Copies sourceFile to targetFolder + fileName. False when fileName is not a plain file name,
// when the target is the source file itself, or when the copy fails.
bool copyFileToFolder(const std::string& sourceFile, const std::string& targetFolder,
                      const std::string& fileName);

} // namespace vantor
