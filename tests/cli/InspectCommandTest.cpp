#include "CliTestSupport.h"
#include "publish/ModelFile.h"
#include "publish/Package.h"
#include "publish/TextureFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::runCli;

TEST(InspectCommand, ModelFileShowsKeyMaterialsAndMeshes) {
    const test::CliRun run = runCli({"inspect", test::testDataFile("golden/example-model.qel")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(R"("kind":"model","key":[90,195,15,150],"size":256)"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(R"("name":"m","col":[0.5,0.25,0.125,1])"), std::string::npos);
    EXPECT_NE(
        run.out.find(R"("meshes":[{"material":0,"vertices":3,"faces":1,"corners":3,"uv":false}])"),
        std::string::npos);
}

TEST(InspectCommand, ExtractWritesTheDecodedFiles) {
    test::TempDir dir;
    ASSERT_EQ(runCli({"publish", test::houseModel(), "--out", dir.folder(), "--template",
                      test::testDataFile("publish/template.html")})
                  .status,
              0);
    const test::CliRun run = runCli({"inspect", dir.file("house.zip"), "--extract", dir.file("x")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(R"("image":"jpeg")"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir.file("x/house/brick.jpx")),
              test::readBytes(std::string(VANTOR_SOURCE_DIR) + "/examples/house/brick.jpg"));
    EXPECT_EQ(test::readBytes(dir.file("x/house/house.qel")).substr(0, 4), "Qel1");

    // A texture file on its own.
    test::writeBytes(dir.file("t.jpx"), buildTextureFile("GIF89a...", {1, 2, 3, 4}, true));
    const test::CliRun texture = runCli({"inspect", dir.file("t.jpx"), "--extract", dir.file("y")});
    ASSERT_EQ(texture.status, 0) << texture.err;
    EXPECT_EQ(texture.out, R"({"kind":"texture","key":[1,2,3,4],"size":9,"image":"gif"})"
                           "\n");
    EXPECT_EQ(test::readBytes(dir.file("y/t.jpx")), "GIF89a...");
}

TEST(InspectCommand, KeyedFileWhoseKeyLooksLikeAnArchiveIsDecoded) {
    // The four key bytes are random: one model file in 2^32 starts with the zip signature.
    test::TempDir dir;
    const StreamKey zipLike{'P', 'K', 3, 4};
    test::writeBytes(dir.file("m.qel"), *buildModelFile(QelScene{}, zipLike, true));
    const test::CliRun run = runCli({"inspect", dir.file("m.qel")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(R"("kind":"model","key":[80,75,3,4],"size":8)"), std::string::npos)
        << run.out;
}

TEST(InspectCommand, DamagedFilesAndEscapingEntriesFail) {
    test::TempDir dir;
    std::string model = test::readBytes(test::testDataFile("golden/example-model.qel"));
    test::writeBytes(dir.file("cut.qel"), model.substr(0, 200));
    const test::CliRun cut = runCli({"inspect", dir.file("cut.qel")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.out.find(R"("error":)"), std::string::npos);

    test::writeBytes(dir.file("evil.jpx"), "keyed bytes");
    ASSERT_TRUE(zipEntries(dir.file("evil.zip"), {{"..\\evil.jpx", dir.file("evil.jpx")}}, 0));
    const test::CliRun evil = runCli({"inspect", dir.file("evil.zip"), "--extract", dir.file("x")});
    EXPECT_EQ(evil.status, 1);
    EXPECT_EQ(test::readBytes(dir.file("evil.jpx")), "keyed bytes");
    EXPECT_TRUE(fs::is_empty(dir.path() / "x"));

    EXPECT_EQ(runCli({"inspect"}).status, 2);
    EXPECT_EQ(runCli({"inspect", dir.file("none.zip")}).status, 1);
}

} // namespace
} // namespace vantor
