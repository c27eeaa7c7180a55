#include "CliTestSupport.h"
#include "HandMadeZip.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::runCli;

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(PublishCommand, SeededPublishIsByteIdenticalAndPrintsThePagePath) {
    test::TempDir a;
    test::TempDir b;
    const std::string pattern = test::testDataFile("publish/template.html");
    for (const test::TempDir* dir : {&a, &b}) {
        const test::CliRun run = runCli({"publish", test::houseModel(), "--out", dir->file("web"),
                                         "--seed", "12", "--template", pattern});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, dir->file("web") + "/house.html\n");
    }
    EXPECT_EQ(test::readBytes(a.file("web/house.zip")), test::readBytes(b.file("web/house.zip")));
    EXPECT_EQ(test::readBytes(a.file("web/house.html")), test::readBytes(b.file("web/house.html")));
}

TEST(PublishCommand, NameLevelAndTheShippedTemplate) {
    test::TempDir dir;
    const test::CliRun run = runCli(
        {"publish", test::houseModel(), "--out", dir.folder(), "--name", "haus", "--level", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir.path() / "haus.zip"));
    const std::string page = test::readBytes(dir.file("haus.html"));
    EXPECT_NE(page.find("<param name=\"Model\" value=\"./haus.zip\">\r\n"), std::string::npos);
    const test::CliRun inspect = runCli({"inspect", dir.file("haus.zip")});
    ASSERT_EQ(inspect.status, 0) << inspect.err;
    EXPECT_NE(inspect.out.find(R"("name":"haus\\haus.qel","method":"stored")"), std::string::npos)
        << inspect.out;
}

TEST(PublishCommand, FitPlacesTheCameraAfterTheSettingsOrWarnsWhenNothingShows) {
    test::TempDir dir;
    const std::string settings = std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.vsn";
    const test::CliRun run = runCli({"publish", test::houseModel(), "--out", dir.folder(),
                                     "--settings", settings, "--fit"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = test::readBytes(dir.file("house.html"));
    // X and Y may move off 0 to centre the picture.
    const std::size_t at = page.find("<param name=\"ModelPosition\" value=\"");
    ASSERT_NE(at, std::string::npos) << page;
    EXPECT_EQ(page.find("0.00,0.00,520.00"), std::string::npos) << "the settings' camera stays";

    test::writeBytes(dir.path() / "empty.mqo", "Metasequoia Document\r\nFormat Text Ver 1.0\r\nEof\r\n");
    const test::CliRun empty = runCli({"publish", dir.file("empty.mqo"), "--fit"});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_NE(empty.err.find("warning: --fit"), std::string::npos) << empty.err;
    EXPECT_TRUE(fs::exists(dir.path() / "empty.html"));
}

TEST(PublishCommand, SeveralModelsGiveOnePackageEachAndAFailedOneStopsNoOther) {
    test::TempDir dir;
    const std::string model = test::readBytes(test::houseModel());
    fs::create_directories(dir.path() / "other");
    for (const char* name : {"a.mqo", "c.mqo", "other/a.mqo"}) {
        test::writeBytes(dir.path() / name, model);
    }
    test::writeBytes(dir.path() / "b.mqo", "no model");
    const test::CliRun run = runCli({"publish", dir.file("a.mqo"), dir.file("b.mqo"),
                                     dir.file("c.mqo"), dir.file("other/a.mqo"), "--out",
                                     dir.file("web")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, dir.file("web") + "/a.html\n" + dir.file("web") + "/c.html\n");
    EXPECT_NE(run.err.find("b.mqo"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("other/a.mqo: an earlier model"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2 + 2) << run.err; // + brick.jpg
    EXPECT_TRUE(fs::exists(dir.path() / "web/c.zip"));

    // A model that failed leaves its name to the next one.
    fs::create_directories(dir.path() / "broken");
    test::writeBytes(dir.path() / "broken/a.mqo", "no model");
    const test::CliRun after = runCli({"publish", dir.file("broken/a.mqo"), dir.file("a.mqo"),
                                       "--out", dir.file("again")});
    EXPECT_EQ(after.out, dir.file("again") + "/a.html\n") << after.err;

    const test::CliRun named =
        runCli({"publish", dir.file("a.mqo"), dir.file("c.mqo"), "--name", "x"});
    EXPECT_EQ(named.status, 2);
}

TEST(PublishCommand, UnreadableImagesAreWarnedAboutAndThePackageIsStillWritten) {
    test::TempDir dir;
    test::writeBytes(dir.path() / "tex1.png", test::readBytes(std::string(VANTOR_SOURCE_DIR) +
                                                              "/examples/house/brick.jpg"));
    test::writeBytes(dir.path() / "m.mqo",
                     "Metasequoia Document\r\nFormat Text Ver 1.0\r\nMaterial 3 {\r\n"
                     "\t\"lost\" col(1 1 1 1) tex(\"missing.png\")\r\n"
                     "\t\"moved\" col(1 1 1 1) tex(\"C:\\Users\\me\\tex1.png\")\r\n"
                     "\t\"gone\" col(1 1 1 1) aplane(\"C:\\Users\\me\\gone.png\")\r\n}\r\n"
                     "Object \"o\" {\r\n\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t1 0 0\r\n\t\t0 1 0\r\n"
                     "\t}\r\n\tface 1 {\r\n\t\t3 V(0 1 2) M(1)\r\n\t}\r\n}\r\nEof\r\n");
    test::writeBytes(dir.path() / "s.vsn", "[QelScene]\r\nBackGroundImage=nothere.jpg\r\n");
    const test::CliRun run = runCli({"publish", dir.file("m.mqo"), "--settings",
                                     dir.file("s.vsn"), "--out", dir.file("web")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir.path() / "web/m.zip"));
    const std::string prefix = "vantor-cli: warning: " + dir.file("m.mqo") + ": ";
    EXPECT_EQ(run.err, prefix + "material \"lost\" tex: cannot read the image \"missing.png\"\n" +
                           prefix + "material \"gone\" aplane: cannot read the image " +
                           "\"C:\\Users\\me\\gone.png\"\n" + prefix +
                           "the settings BackGroundImage: cannot read the image \"nothere.jpg\"\n");

    const test::CliRun info = runCli({"info", dir.file("m.mqo")});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("\"texFound\":null"), std::string::npos);
    EXPECT_NE(info.out.find("\"texFound\":\"" + dir.file("tex1.png") + "\""), std::string::npos)
        << info.out;
}

// A model from elsewhere may name any file of the disk: what is no image stays where it is and
// is named; an image from outside the model's folder goes into the package and is named too.
TEST(PublishCommand, FilesThatAreNoImagesStayOnTheDisk) {
    test::TempDir dir;
    fs::create_directories(dir.path() / "a/b");
    test::writeBytes(dir.file("secret.txt"), "my password");
    test::writeBytes(dir.file("wood.jpg"), test::readBytes(std::string(VANTOR_SOURCE_DIR) +
                                                           "/examples/house/brick.jpg"));
    test::writeBytes(dir.file("a/b/m.mqo"),
                     "Metasequoia Document\r\nFormat Text Ver 1.0\r\nMaterial 2 {\r\n"
                     "\t\"s\" col(1 1 1 1) tex(\"..\\..\\secret.txt\")\r\n"
                     "\t\"w\" col(1 1 1 1) tex(\"..\\..\\wood.jpg\")\r\n}\r\nEof\r\n");
    test::writeBytes(dir.file("s.vsn"), "[QelScene]\r\nTitleLogoImage=" + dir.file("secret.txt") +
                                            "\r\n");
    const test::CliRun run = runCli({"publish", dir.file("a/b/m.mqo"), "--settings",
                                     dir.file("s.vsn"), "--out", dir.file("web"),
                                     "--single-file"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string prefix = "vantor-cli: warning: " + dir.file("a/b/m.mqo") + ": ";
    const std::string climbed = dir.file("a/b/") + "../../";
    EXPECT_EQ(run.err, prefix + "material \"s\" tex: \"..\\..\\secret.txt\" is no image the "
                                "viewer shows (" + climbed + "secret.txt); it is left out of the "
                                "package\n" +
                           prefix + "material \"w\" tex: the image \"..\\..\\wood.jpg\" is taken "
                                    "from outside the model's folder: " + climbed + "wood.jpg\n" +
                           prefix + "the settings TitleLogoImage: \"" + dir.file("secret.txt") +
                           "\" is no image the viewer shows (" + dir.file("secret.txt") +
                           "); it is left out of the package\n");
    const test::CliRun inspect = runCli({"inspect", dir.file("web/m.zip")});
    EXPECT_EQ(inspect.out.find(R"("name":"m\\secret)"), std::string::npos) << inspect.out;
    EXPECT_NE(inspect.out.find("wood.jpx"), std::string::npos) << inspect.out;
    EXPECT_FALSE(fs::exists(dir.path() / "web/secret.txt"));
    EXPECT_EQ(test::readBytes(dir.file("web/m.standalone.html")).find(
                  "data-name=\"secret.txt\""), std::string::npos);
}

// Packages compare by identity: another spelling of a folder (a link, an absolute path, a
// letter case) is the same package, refused for the later model with the package's name; and
// a run in which one package would replace a file the run reads is refused before anything is
// written.
TEST(PublishCommand, BatchRunsNeverReplaceWhatTheyWereGiven) {
    test::TempDir dir;
    const std::string model = test::readBytes(test::houseModel());
    fs::create_directories(dir.path() / "a");
    test::writeBytes(dir.file("a/m.mqo"), model);
    test::writeBytes(dir.file("a/M.mqo"), model);
    test::writeBytes(dir.file("a/m.mqoz"), test::handMadeZip({test::deflatedEntry("m.mqo", model)}));
    fs::create_directory_symlink(dir.file("a"), dir.file("link"));
    for (const std::string& second : {dir.file("a/m.mqoz"), dir.file("link/m.mqoz"),
                                      dir.file("link/../a/M.mqo")}) {
        const test::CliRun run = runCli({"publish", dir.file("a/") + "m.mqo", second});
        EXPECT_EQ(run.status, 1) << second;
        EXPECT_EQ(run.out, dir.file("a/m.html\n"));
        EXPECT_NE(run.err.find(second + ": an earlier model of this run has the same package, "),
                  std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("//"), std::string::npos) << run.err;
    }

    // out/m.html is a model of the run, which the package of src/m.mqo would replace; and a
    // template or a settings file that a package would replace.
    fs::create_directories(dir.path() / "src");
    fs::create_directories(dir.path() / "out");
    test::writeBytes(dir.file("src/m.mqo"), model);
    test::writeBytes(dir.file("out/m.html"), model);
    test::writeBytes(dir.file("out/vtr.jar"), "<p>%1</p>");
    // out/n.mqo's texture out/x.gif, which the page image copy of src/m.mqo's package replaces.
    test::writeBytes(dir.file("src/x.gif"), "GIF89a the page's");
    test::writeBytes(dir.file("out/x.gif"), "GIF89a the texture");
    test::writeBytes(dir.file("out/n.mqo"), "Metasequoia Document\r\nFormat Text Ver 1.0\r\n"
                                            "Material 1 {\r\n\t\"t\" tex(\"x.gif\")\r\n}\r\nEof\r\n");
    test::writeBytes(dir.file("s.vsn"), "[QelScene]\r\nTitleLogoImage=" + dir.file("src/x.gif"));
    const auto before = test::snapshot(dir.path());
    const std::vector<std::vector<std::string>> refused{
        {"publish", dir.file("src/m.mqo"), dir.file("out/n.mqo"), "--out", dir.file("out"),
         "--settings", dir.file("s.vsn")},
        {"publish", dir.file("src/m.mqo"), dir.file("out/m.html"), "--out", dir.file("out")},
        {"publish", dir.file("src/m.mqo"), "--out", dir.file("out"), "--template",
         dir.file("out/vtr.jar")},
        {"publish", dir.file("src/m.mqo"), "--out", dir.file("link/../out"), "--settings",
         dir.file("out/m.html")},
    };
    for (const auto& args : refused) {
        const test::CliRun run = runCli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("nothing is published: the package of " + dir.file("src/m.mqo") +
                               " would write "),
                  std::string::npos) << run.err;
        EXPECT_EQ(test::snapshot(dir.path()), before);
    }
}

TEST(PublishCommand, WrongArgumentsExitWithTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"publish"},
             {"publish", test::houseModel(), "--level", "10"},
             {"publish", test::houseModel(), "--level", "x"},
             {"publish", test::houseModel(), "--seed", "-1"},
             {"publish", test::houseModel(), "--out"},
             {"publish", test::houseModel(), "--colour", "red"},
             {"publish", test::houseModel(), "--name", "x", test::houseModel()}}) {
        const test::CliRun run = runCli(args);
        EXPECT_EQ(run.status, 2) << args.back();
        EXPECT_TRUE(run.out.empty());
    }
}

TEST(PublishCommand, FailuresExitWithOneAndOneLineAndWriteNothing) {
    test::TempDir dir;
    const std::string out = dir.file("out");
    const std::vector<std::vector<std::string>> failing{
        {"publish", dir.file("missing.mqo"), "--out", out},
        {"publish", test::houseModel(), "--out", out, "--name", "../escape"},
        {"publish", test::houseModel(), "--out", out, "--template", dir.file("none.html")},
    };
    for (const auto& args : failing) {
        const test::CliRun run = runCli(args);
        EXPECT_EQ(run.status, 1) << args[3];
        EXPECT_TRUE(run.err.starts_with("vantor-cli: ")) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(!fs::exists(out) || filesIn(out) == 0);
    EXPECT_FALSE(fs::exists(dir.path() / "escape.zip"));
}

// A folder beside the test's output folder with an earlier package published into it.
class PublishOverTest : public ::testing::Test {
protected:
    PublishOverTest() {
        const test::CliRun earlier = runCli({"publish", test::houseModel(), "--out", dir.file("out")});
        EXPECT_EQ(earlier.status, 0) << earlier.err;
    }
    test::TempDir dir;
};

// An image named like a file of the package would replace the page, the archive or the viewer
// (or be replaced by it): the publish is refused before anything is written.
TEST_F(PublishOverTest, ImagesNamedLikePackageFilesFailThePublish) {
    fs::create_directory(dir.path() / "images");
    const auto before = test::snapshot(dir.path());
    for (const char* name : {"house.html", "house.zip", "vtr.jar", "LitColor.jpg"}) {
        test::writeBytes(dir.file("images/") + name, "an image");
        test::writeBytes(dir.file("scene.vsn"), std::string("[QelScene]\r\nShadingMode=3\r\n") +
                                                    "BackGroundImage=" + dir.file("images/") + name +
                                                    "\r\n");
        const auto withImage = test::snapshot(dir.path());
        const test::CliRun run = runCli({"publish", test::houseModel(), "--out", dir.file("out"),
                                         "--settings", dir.file("scene.vsn")});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find(std::string("is named ") + name + ", like a file of the package"),
                  std::string::npos) << run.err;
        EXPECT_EQ(test::snapshot(dir.path()), withImage) << name;
        fs::remove(dir.path() / "images" / name);
        fs::remove(dir.path() / "scene.vsn");
    }
    EXPECT_EQ(test::snapshot(dir.path()), before);
}

// A model named like a file its publish writes: a zipped model named like the archive, a model
// named like the page, a zipped model named like the viewer it would receive.
TEST_F(PublishOverTest, PublishNeverReplacesItsOwnModel) {
    const std::string text = test::readBytes(test::houseModel());
    test::writeBytes(dir.file("out/house.zip"), test::handMadeZip({test::deflatedEntry("house.mqo", text)}));
    test::writeBytes(dir.file("out/house.html"), text);
    test::writeBytes(dir.file("out/vtr.jar"), test::handMadeZip({test::storedEntry("vtr.mqo", text)}));
    test::writeBytes(dir.file("out/house.standalone.html"), text);
    const auto before = test::snapshot(dir.path());
    for (const char* model : {"house.zip", "house.html", "vtr.jar", "house.standalone.html"}) {
        const test::CliRun run =
            runCli({"publish", dir.file("out/") + model, "--name", "house", "--single-file"});
        EXPECT_EQ(run.status, 1) << model;
        EXPECT_NE(run.err.find("would replace the model itself: " + dir.file("out/") + model),
                  std::string::npos) << run.err;
    }
    EXPECT_EQ(test::snapshot(dir.path()), before);
}

// The disk fills up after the archive and the page: without its viewer the package shows
// nothing, so the publish fails, and the earlier viewer stays as it was.
TEST_F(PublishOverTest, ViewerThatCannotBeCopiedFailsThePublish) {
    test::writeBytes(dir.file("out/vtr.jar"), "an earlier viewer");
    const test::CliRun run = runCli({"publish", test::houseModel(), "--out", dir.file("out")},
                                    test::fileSizeLimit(128 * 1024));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the package was written, but vtr.jar could not be copied"),
              std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(test::readBytes(dir.file("out/vtr.jar")), "an earlier viewer");
    EXPECT_EQ(filesIn(dir.path() / "out"), 3u); // house.html, house.zip, vtr.jar: no remnants
}

TEST(PublishCommand, NamesAtTheirLimitsAndInThePage) {
    test::TempDir dir;
    const std::string out = dir.file("out");
    const test::CliRun longest = runCli({"publish", test::houseModel(), "--out", out, "--name",
                                         std::string(250, 'n')});
    EXPECT_EQ(longest.status, 0) << longest.err;
    const test::CliRun tooLong = runCli({"publish", test::houseModel(), "--out", out, "--name",
                                         std::string(251, 'n')});
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("longer than 250 bytes"), std::string::npos) << tooLong.err;
    // The single-file page's longer name must fit too, so that check comes before writing.
    const test::CliRun single = runCli({"publish", test::houseModel(), "--out", dir.file("single"),
                                        "--name", std::string(240, 'n'), "--single-file"});
    EXPECT_EQ(single.status, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "single" / (std::string(240, 'n') + ".zip")));
    const test::CliRun control = runCli({"publish", test::houseModel(), "--out", out, "--name", "a\nb"});
    EXPECT_EQ(control.status, 1);
    EXPECT_EQ(std::count(control.err.begin(), control.err.end(), '\n'), 1) << control.err;
    EXPECT_EQ(filesIn(out), 3u); // the longest name's package and the viewer

    const test::CliRun markup = runCli({"publish", test::houseModel(), "--out", out, "--name", "<b>&"});
    ASSERT_EQ(markup.status, 0) << markup.err;
    const std::string page = test::readBytes(dir.file("out/<b>&.html"));
    EXPECT_NE(page.find("<title>&lt;b&gt;&amp;</title>"), std::string::npos);
    EXPECT_NE(page.find(">&lt;b&gt;&amp;</h1>"), std::string::npos);
}

} // namespace
} // namespace vantor
