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
    std::string pagePath;                 // the page's path, when the package was written
    StandaloneResult standalone;          // the single-file page, when the request asks for it
    bool ok() const { return package.ok(); }
};

// Writes the package (a request without a template path uses the shipped template) and, when
// that succeeded, copies the shipped files and the images. A file that is missing or cannot be
// copied is left out without failing the build (a shipped one is listed in failedCopies); a
// file that already lies in the output folder is not copied (and not listed). The shipped
// files are looked for beside the program, or in shippedFolder when one is given. Nothing is
// written when an image has the name of a package file (N.html, N.zip, the viewer, the ramp
// for cartoon shading), or when a file the build would write is the model file itself. A
// request for the single-file page gets it written once the package and its copies are
// complete (see StandalonePage.h).
BuildOutputResult buildOutput(QelScene& scene, const QelParameter& params, PackageRequest request,
                              const std::string& shippedFolder = {});

// One image name that a build reads: a map of a material, or an image of the page.
struct ImageReference {
    std::string owner;  // the material's name; empty for an image of the scene settings
    std::string field;  // "tex", "aplane", "bump", "env", or the settings key ("BackGroundImage")
    std::string stored; // the name as stored, in code page cp
    CodePage cp = CodePage::Utf8;
};

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
