// vantor-cli info, mqo and settings, and publish with a settings file.

#include "CliTestSupport.h"
#include "VantorVersion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vantor {
namespace {

using test::runCli;

TEST(InfoCommand, PrintsTheSceneAsJsonWithTextsInUtf8) {
    const test::CliRun run = runCli({"info", test::houseModel()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("{\"codePage\":\"cp932\",\"materials\":[{\"name\":\"\xE3\x83\xAC\xE3\x83\xB3"
                            "\xE3\x82\xAC\",\"col\":[1,1,1,1],\"dif\":0.8,",
                            0),
              0u)
        << run.out;
    EXPECT_NE(run.out.find("\"tex\":\"brick.jpg\""), std::string::npos);
    // The roof: its right half, mirrored across X.
    EXPECT_NE(run.out.find("\"visible\":15,\"facet\":30,\"mirror\":1,\"mirrorAxis\":1,\"vertices\":8,"
                           "\"faces\":5,\"corners\":20,\"uvFaces\":0}"),
              std::string::npos);
    EXPECT_EQ(run.out.back(), '\n');
}

TEST(InfoCommand, FailuresPrintTheCodeAndOneLine) {
    test::TempDir dir;
    const test::CliRun missing = runCli({"info", dir.file("none.mqo")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "{\"error\":1}\n");
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

    test::writeBytes(dir.file("big.mqo"), "Metasequoia Document\nObject \"o\" {\n\tvertex 70000 {\n");
    const test::CliRun big = runCli({"info", dir.file("big.mqo")});
    EXPECT_EQ(big.status, 1);
    EXPECT_EQ(big.out, "{\"error\":2}\n");
    EXPECT_NE(big.err.find("line 3"), std::string::npos) << big.err;

    test::writeBytes(dir.file("notes.txt"), "shopping list\n");
    EXPECT_EQ(runCli({"info", dir.file("notes.txt")}).out, "{\"error\":3}\n");
    EXPECT_EQ(runCli({"info"}).status, 2);
    EXPECT_EQ(runCli({"info", "a.mqo", "b.mqo"}).status, 2);
    EXPECT_EQ(runCli({"info", "--help"}).status, 0);
}

TEST(MqoCommand, RewritesAModelThatReadsBackTheSame) {
    test::TempDir dir;
    const std::string out = dir.file("house.mqo");
    const test::CliRun run = runCli({"mqo", test::houseModel(), out});
    ASSERT_EQ(run.status, 0) << run.err;
    // The same materials; every face now carries UVs (the writer gives each face its group).
    const std::string original = runCli({"info", test::houseModel()}).out;
    std::string rewritten = runCli({"info", out}).out;
    // The texture is not beside the rewritten model.
    const std::string found = "\"texFound\":\"" + std::string(VANTOR_SOURCE_DIR) +
                              "/examples/house/brick.jpg\"";
    ASSERT_NE(original.find(found), std::string::npos) << original;
    rewritten.replace(rewritten.find("\"texFound\":null"), 15, found);
    EXPECT_EQ(original.substr(0, original.find("\"objects\"")),
              rewritten.substr(0, rewritten.find("\"objects\"")));
    EXPECT_NE(rewritten.find("\"mirror\":1,\"mirrorAxis\":1,\"vertices\":8,\"faces\":5,\"corners\":20,"
                             "\"uvFaces\":5}"),
              std::string::npos);
    // Rewriting the rewritten file changes nothing at all.
    ASSERT_EQ(runCli({"mqo", out, dir.file("again.mqo")}).status, 0);
    EXPECT_EQ(test::readBytes(out), test::readBytes(dir.file("again.mqo")));

    EXPECT_EQ(runCli({"mqo", dir.file("none.mqo"), out}).status, 1);
    EXPECT_EQ(runCli({"mqo", test::houseModel(), dir.file("no/folder.mqo")}).status, 1);
    EXPECT_EQ(runCli({"mqo", test::houseModel()}).status, 2);
}

TEST(SettingsCommand, DefaultsFileAndItsReport) {
    test::TempDir dir;
    const std::string path = dir.file("start.vsn");
    ASSERT_EQ(runCli({"settings", "--defaults", path}).status, 0);
    EXPECT_EQ(test::readBytes(path), test::readBytes(test::testDataFile("expected/startup-settings.vsn")));
    const test::CliRun report = runCli({"settings", path});
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_EQ(report.out.rfind("{\"Width\":200,\"Height\":200,\"BackGroundImage\":\"\",\"BackGroundColor\":"
                               "8355711,",
                               0),
              0u);
    EXPECT_NE(report.out.find("\"SpecularEnable\":false,"), std::string::npos);
    EXPECT_NE(report.out.find("\"BumpIntensity\":0.2,"), std::string::npos);
    EXPECT_NE(report.out.find("\"RstCtrlIconY\":0}"), std::string::npos);

    // Keys a file lacks show the values a new record starts with.
    test::writeBytes(dir.file("width.vsn"), "[QelScene]\nWidth=640\n");
    const test::CliRun partial = runCli({"settings", dir.file("width.vsn")});
    EXPECT_NE(partial.out.find("{\"Width\":640,\"Height\":200,"), std::string::npos);
    EXPECT_NE(partial.out.find("\"TexFiltering\":1,"), std::string::npos);
    EXPECT_NE(partial.out.find("\"RotCtrlIconX\":10,"), std::string::npos);

    EXPECT_EQ(runCli({"settings", dir.file("none.vsn")}).status, 1);
    EXPECT_EQ(runCli({"settings", "--defaults", dir.file("no/folder.vsn")}).status, 1);
    EXPECT_EQ(runCli({"settings"}).status, 2);
}

TEST(PublishCommand, SettingsFileDrivesThePageAndIsClamped) {
    test::TempDir dir;
    test::writeBytes(dir.file("scene.vsn"), "[QelScene]\r\nWidth=20000\r\nHeight=0x12C\r\n"
                                            "BackGroundColor=255\r\nShadingMode=0\r\nFieldOfView=120\r\n");
    const test::CliRun run =
        runCli({"publish", test::houseModel(), "--out", dir.file("web"), "--settings",
                dir.file("scene.vsn"), "--template", test::testDataFile("publish/template.html")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = test::readBytes(dir.file("web/house.html"));
    EXPECT_NE(page.find("archive=\"vtr.jar\" width=\"9999\" height=\"300\">\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("<param name=\"BackColor\" value=\"0000ff\">\r\n"), std::string::npos);
    EXPECT_NE(page.find("<param name=\"ShadingMode\" value=\"FLAT\">\r\n"), std::string::npos);
    EXPECT_NE(page.find("<param name=\"FieldOfView\" value=\"89\">\r\n"), std::string::npos);
    // Keys the file lacks take the record's initial values, not the editor's start-up ones.
    EXPECT_NE(page.find("<param name=\"TexFiltering\" value=\"bilinear\">\r\n"), std::string::npos);
    EXPECT_NE(page.find("<param name=\"InitRotAngle\" value=\"0,-10,-10\">\r\n"), std::string::npos);

    const test::CliRun missing = runCli({"publish", test::houseModel(), "--out", dir.file("web2"),
                                         "--settings", dir.file("none.vsn")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("web2/house.html")));
}

TEST(VersionOption, BothProgramsPrintTheirNameAndVersion) {
    const std::string line = std::string(" (Vantor Converter) ") + kProgramVersion + "\n";
    const test::CliRun cli = runCli({"--version"});
    EXPECT_EQ(cli.status, 0);
    EXPECT_EQ(cli.out, "vantor-cli" + line);
    if (!std::filesystem::exists(std::string(VANTOR_BIN_DIR) + "/vantor")) {
        GTEST_SKIP() << "the editor is not built (VANTOR_GUI=OFF)";
    }
    // The editor answers without a display.
    const test::CliRun editor = runCli({"--version"}, "", "vantor");
    EXPECT_EQ(editor.status, 0);
    EXPECT_EQ(editor.out, "vantor" + line);
}

// Reading a FIFO that no program writes to would wait for ever: every command that reads a
// file refuses it at once, and a device too.
TEST(Commands, FifosAndDevicesAreRefusedAtOnce) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const auto before = test::snapshot(dir.path());
    for (const std::string& file : {dir.file("pipe"), std::string("/dev/zero")}) {
        for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
                 {"info", file},
                 {"settings", file},
                 {"inspect", file},
                 {"publish", test::houseModel(), "--out", dir.file("out"), "--settings", file},
                 {"publish", file, "--out", dir.file("out")}}) {
            const test::CliRun run = runCli(args, test::timeLimit(20));
            EXPECT_EQ(run.status, 1) << args[0] << " " << file;
        }
    }
    EXPECT_EQ(test::snapshot(dir.path()), before);
}

} // namespace
} // namespace vantor
