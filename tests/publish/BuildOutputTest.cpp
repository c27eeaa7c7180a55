#include "publish/BuildOutput.h"

#include "PublishTestSupport.h"
#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;

// What a GIF file starts with: enough for the build to take a file for an image.
const std::string kGif = "GIF89a";

class BuildOutputTest : public ::testing::Test {
protected:
    BuildOutputTest() {
        test::writeBytes(shipped.file("template.html"), "<body>%1</body>");
        test::writeBytes(shipped.file("vtr.jar"), "viewer archive");
        test::writeBytes(shipped.file("LitColor.jpg"), "ramp");
        fs::create_directory(models.path() / "icons");
        test::writeBytes(models.file("car.mqo"), "");
        test::writeBytes(models.file("back.jpg"), kGif + "background");
        test::writeBytes(models.file("icons/rot.gif"), kGif + "rotate icon");
        test::writeBytes(models.file("icons/pan.gif"), kGif + "pan icon");
    }

    BuildOutputResult build() {
        PackageRequest request;
        request.modelPath = models.file("car.mqo");
        request.outputFolder = out.folder();
        request.tempFolder = temp.folder();
        return buildOutput(scene, params, request, shipped.folder());
    }

    test::TempDir shipped;
    test::TempDir models;
    test::TempDir out;
    test::TempDir temp;
    QelScene scene;
    QelParameter params = editorStartupParameters();
};

TEST_F(BuildOutputTest, CopiesTheViewerAndOnlyForCartoonShadingTheRamp) {
    for (const int shading : {kShadeFlat, kShadeGouraud, kShadePhong}) {
        params.ShadingMode = shading;
        const BuildOutputResult result = build();
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.copiedFiles, std::vector<std::string>{"vtr.jar"});
        EXPECT_FALSE(fs::exists(out.path() / "LitColor.jpg"));
    }
    params.ShadingMode = kShadeCartoon;
    const BuildOutputResult result = build();
    EXPECT_EQ(result.copiedFiles, (std::vector<std::string>{"vtr.jar", "LitColor.jpg"}));
    EXPECT_EQ(test::readBytes(out.file("vtr.jar")), "viewer archive");
    EXPECT_EQ(test::readBytes(out.file("LitColor.jpg")), "ramp");
    EXPECT_EQ(result.pagePath, out.folder() + "car.html");
    EXPECT_EQ(test::readBytes(out.file("car.html")).substr(0, 14), "<body><applet ");
}

TEST_F(BuildOutputTest, CopiesThePageImagesInTheirOrderUnderThePageNames) {
    params.BackGroundImage = "back.jpg";                  // bare name: the model's folder
    params.TitleLogoImage = models.file("icons/pan.gif"); // full path
    params.RotCtrlIcon.Image = "icons\\ROT.gif";          // stored on another system
    params.ZomCtrlIcon.Image = "";                        // no icon
    params.PanCtrlIcon.Image = "missing.gif";             // not found: left out
    params.RstCtrlIcon.Image = "icons/";                  // names no file
    const BuildOutputResult result = build();
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.copiedFiles,
              (std::vector<std::string>{"vtr.jar", "pan.gif", "back.jpg", "ROT.gif"}));
    EXPECT_EQ(test::readBytes(out.file("ROT.gif")), kGif + "rotate icon");
    EXPECT_EQ(test::readBytes(out.file("back.jpg")), kGif + "background");
}

TEST_F(BuildOutputTest, FilesAlreadyInTheOutputFolderAreNeitherCopiedNorListed) {
    test::writeBytes(out.file("title.gif"), kGif + "already here");
    // The program's own folder as the output folder: its shipped files stay as they are.
    test::writeBytes(out.file("template.html"), "%1");
    test::writeBytes(out.file("vtr.jar"), "viewer archive");
    params.TitleLogoImage = out.file("title.gif");
    PackageRequest request;
    request.modelPath = models.file("car.mqo");
    request.outputFolder = out.folder();
    request.tempFolder = temp.folder();
    const BuildOutputResult result = buildOutput(scene, params, request, out.folder());
    ASSERT_TRUE(result.ok()) << result.package.path;
    EXPECT_TRUE(result.copiedFiles.empty());
    EXPECT_TRUE(result.failedCopies.empty()); // the viewer is there already
    EXPECT_EQ(test::readBytes(out.file("title.gif")), kGif + "already here");

    // Publishing beside the model: the model's own images stay as they are.
    params.TitleLogoImage = "back.jpg";
    request.outputFolder.reset();
    const BuildOutputResult beside = buildOutput(scene, params, request, shipped.folder());
    ASSERT_TRUE(beside.ok());
    EXPECT_EQ(beside.copiedFiles, std::vector<std::string>{"vtr.jar"});
    EXPECT_EQ(test::readBytes(models.file("back.jpg")), kGif + "background");
}

TEST_F(BuildOutputTest, FailedPackageCopiesNothing) {
    fs::remove(shipped.path() / "template.html");
    params.BackGroundImage = "back.jpg";
    const BuildOutputResult result = build();
    EXPECT_EQ(result.package.error, PackageError::TemplateUnreadable);
    EXPECT_TRUE(result.copiedFiles.empty());
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(BuildOutputTest, MissingViewerIsListedAsAFailedCopy) {
    params.ShadingMode = kShadeCartoon;
    fs::remove(shipped.path() / "vtr.jar");
    const BuildOutputResult result = build();
    ASSERT_TRUE(result.ok()); // the editor keeps its silence; the command line fails
    EXPECT_EQ(result.copiedFiles, std::vector<std::string>{"LitColor.jpg"});
    EXPECT_EQ(result.failedCopies, std::vector<std::string>{"vtr.jar"});
}

// An image named like a file of the package would replace it or be replaced by it; the build
// fails before anything is written, as the editor reports a failed package.
TEST_F(BuildOutputTest, ImageNamedLikeAPackageFileFailsTheBuildAndWritesNothing) {
    test::writeBytes(out.file("car.html"), "earlier page");
    params.ShadingMode = kShadeCartoon;
    // Names compare without letter case: a folder that ignores it holds one file for both.
    for (const char* name : {"car.html", "car.zip", "vtr.jar", "LitColor.jpg", "CAR.ZIP",
                             "Vtr.Jar", "litcolor.JPG", "car.HTML"}) {
        test::writeBytes(models.file(name), kGif + "an image");
        params.RotCtrlIcon.Image = name;
        const BuildOutputResult result = build();
        EXPECT_EQ(result.package.error, PackageError::ImageNamedLikePackageFile) << name;
        EXPECT_EQ(result.package.path, name);
        EXPECT_EQ(std::distance(fs::directory_iterator(out.path()), fs::directory_iterator()), 1);
        EXPECT_EQ(test::readBytes(out.file("car.html")), "earlier page");
    }
    params.ShadingMode = kShadeGouraud; // without cartoon shading the ramp is no package file
    params.RotCtrlIcon.Image = "litcolor.JPG";
    EXPECT_TRUE(build().ok());
}

// Only images leave the disk: a text that a material or the settings name, even through a name
// that climbs out of the model's folder, stays behind and is named; an image from outside the
// folder goes along and is named too, in the archive, beside the page and in the single-file
// page alike.
TEST_F(BuildOutputTest, OnlyImagesArePackagedAndWhatLeavesTheModelsFolderIsNamed) {
    test::TempDir elsewhere;
    test::writeBytes(elsewhere.file("passwd"), "root:x:0:0:root:/root:/bin/bash\n");
    test::writeBytes(elsewhere.file("logo.gif"), kGif + "logo");
    std::string climb = fs::relative(elsewhere.path(), models.path()).string() + "/passwd";
    std::replace(climb.begin(), climb.end(), '/', '\\');
    QelMaterial m = test::material("m");
    m.tex = climb;
    m.bump = elsewhere.file("logo.gif");
    m.env = "icons/rot.gif";
    test::addMaterial(scene, m);
    params.TitleLogoImage = elsewhere.file("logo.gif");
    params.BackGroundImage = elsewhere.file("passwd");
    PackageRequest request;
    request.modelPath = models.file("car.mqo");
    request.outputFolder = out.folder();
    request.tempFolder = temp.folder();
    request.singleFile = true;
    const BuildOutputResult result = buildOutput(scene, params, request, shipped.folder());
    ASSERT_TRUE(result.ok()) << result.package.path;
    EXPECT_EQ(result.package.entryNames,
              (std::vector<std::string>{"car\\logo.jpx", "car\\rot.jpx", "car\\car.qel"}));
    EXPECT_EQ(result.copiedFiles, (std::vector<std::string>{"vtr.jar", "logo.gif"}));
    EXPECT_FALSE(fs::exists(out.path() / "passwd"));
    std::vector<std::string> notices;
    for (const ImageNotice& notice : result.package.imageNotices) {
        EXPECT_TRUE(fs::equivalent(notice.path, elsewhere.file(notice.path.ends_with("passwd")
                                                                   ? "passwd"
                                                                   : "logo.gif")));
        notices.push_back(notice.image.field + (notice.problem == ImageProblem::NotAnImage
                                                    ? " no image"
                                                    : " outside"));
    }
    EXPECT_EQ(notices, (std::vector<std::string>{"tex no image", "bump outside",
                                                 "TitleLogoImage outside",
                                                 "BackGroundImage no image"}));
    const std::string page = test::readBytes(out.file("car.standalone.html"));
    EXPECT_NE(page.find("data-name=\"logo.gif\""), std::string::npos);
    EXPECT_EQ(page.find("data-name=\"passwd\""), std::string::npos); // the page names it only
}

// Two page images of one name would leave one copy beside the page, which the page shows for
// both: two different files are refused by name, one file named twice is copied once.
TEST_F(BuildOutputTest, PageImagesOfOneNameMustBeOneFile) {
    fs::create_directories(models.path() / "a");
    test::writeBytes(models.file("a/PAN.gif"), kGif + "another pan");
    params.TitleLogoImage = "icons/pan.gif";
    params.PanCtrlIcon.Image = "a/PAN.gif";
    const BuildOutputResult clash = build();
    EXPECT_EQ(clash.package.error, PackageError::PageImagesShareName);
    EXPECT_EQ(clash.package.path, "icons/pan.gif");
    EXPECT_EQ(clash.package.otherPath, "a/PAN.gif");
    EXPECT_TRUE(fs::is_empty(out.path()));

    params.PanCtrlIcon.Image = models.file("ICONS/Pan.GIF"); // the same file, spelt otherwise
    const BuildOutputResult same = build();
    ASSERT_TRUE(same.ok());
    EXPECT_EQ(same.copiedFiles, (std::vector<std::string>{"vtr.jar", "pan.gif"}));
}

// Publishing beside the model, a page image copied under the name of one of the model's own
// images (or of the template) would replace that file: refused before anything is written.
TEST_F(BuildOutputTest, CopiesNeverReplaceAFileTheBuildReads) {
    QelMaterial m = test::material("m");
    m.tex = "pan.gif";
    test::writeBytes(models.file("pan.gif"), kGif + "the model's own pan");
    test::addMaterial(scene, m);
    params.PanCtrlIcon.Image = "icons/pan.gif";
    PackageRequest request;
    request.modelPath = models.file("car.mqo");
    request.tempFolder = temp.folder();
    const BuildOutputResult result = buildOutput(scene, params, request, shipped.folder());
    EXPECT_EQ(result.package.error, PackageError::TargetIsInput);
    EXPECT_EQ(result.package.path, models.file("pan.gif"));
    EXPECT_EQ(test::readBytes(models.file("pan.gif")), kGif + "the model's own pan");
    EXPECT_FALSE(fs::exists(models.path() / "car.html"));

    params.PanCtrlIcon.Image = "pan.gif"; // the model's image itself: left where it is
    test::writeBytes(models.file("template.html"), "<p>%1</p>");
    request.templatePath = models.file("template.html");
    params.BackGroundImage = "icons/template.html";
    test::writeBytes(models.file("icons/template.html"), kGif + "an image");
    EXPECT_EQ(buildOutput(scene, params, request, shipped.folder()).package.path,
              models.file("template.html"));
    params.BackGroundImage.clear();
    EXPECT_TRUE(buildOutput(scene, params, request, shipped.folder()).ok());
}

TEST(CopyFileBetweenFolders, SameFolderTextCopiesNothing) {
    test::TempDir a;
    test::TempDir b;
    test::writeBytes(a.file("f.txt"), "content");
    EXPECT_FALSE(copyFileBetweenFolders(a.folder(), a.folder(), "f.txt"));
    EXPECT_FALSE(copyFileBetweenFolders(a.folder(), a.path().string() + "/./", "f.txt"));
    EXPECT_EQ(test::readBytes(a.file("f.txt")), "content");
    EXPECT_TRUE(copyFileBetweenFolders(a.folder(), b.folder(), "f.txt"));
    test::writeBytes(a.file("f.txt"), "newer");
    EXPECT_TRUE(copyFileBetweenFolders(a.folder(), b.folder(), "f.txt"));
    EXPECT_EQ(test::readBytes(b.file("f.txt")), "newer");
    EXPECT_FALSE(copyFileBetweenFolders(a.folder(), b.folder(), "missing.txt"));
    EXPECT_FALSE(copyFileToFolder(a.file("f.txt"), b.folder(), "../escape.txt"));
}

} // namespace
} // namespace vantor
