#include "CliTestSupport.h"

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
    const std::size_t at = page.find("<param name=\"ModelPosition\" value=\"0.00,0.00,");
    ASSERT_NE(at, std::string::npos) << page;
    EXPECT_EQ(page.find("0.00,0.00,520.00"), std::string::npos) << "the settings' camera stays";

    test::writeBytes(dir.path() / "empty.mqo", "Metasequoia Document\r\nFormat Text Ver 1.0\r\nEof\r\n");
    const test::CliRun empty = runCli({"publish", dir.file("empty.mqo"), "--fit"});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_NE(empty.err.find("warning: --fit"), std::string::npos) << empty.err;
    EXPECT_TRUE(fs::exists(dir.path() / "empty.html"));
}

TEST(PublishCommand, WrongArgumentsExitWithTwo) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"publish"},
             {"publish", test::houseModel(), "--level", "10"},
             {"publish", test::houseModel(), "--level", "x"},
             {"publish", test::houseModel(), "--seed", "-1"},
             {"publish", test::houseModel(), "--out"},
             {"publish", test::houseModel(), "--colour", "red"},
             {"publish", test::houseModel(), test::houseModel()}}) {
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

} // namespace
} // namespace vantor
