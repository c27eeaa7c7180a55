#include "CliTestSupport.h"
#include "HandMadeZip.h"
#include "publish/ModelFile.h"
#include "publish/Package.h"
#include "publish/TextureFile.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

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

    // An archive without entries is an archive.
    test::writeBytes(dir.file("empty.zip"), test::handMadeZip({}));
    const test::CliRun empty = runCli({"inspect", dir.file("empty.zip")});
    EXPECT_EQ(empty.status, 0) << empty.err;
    EXPECT_EQ(empty.out, "{\"kind\":\"archive\",\"entries\":[]}\n");
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

// Archives made to inflate without end are refused before they fill memory: one megabyte of
// zeros listed 4000 times, four entries of a gibibyte of zeros each in four megabytes, and one
// entry that inflates far beyond what an archive of its size holds.
TEST(InspectCommand, ArchivesMadeToInflateWithoutEndAreRefused) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "x");
    test::writeBytes(dir.file("x/earlier.txt"), "an earlier file");
    std::vector<test::RawZipEntry> gibibytes;
    for (const char* name : {"a.bin", "b.bin", "c.bin", "d.bin"}) {
        gibibytes.push_back(test::deflatedZeros(name, 1024));
    }
    const std::pair<std::string, const char*> bombs[] = {
        {test::handMadeZip({test::deflatedZeros("z.qel", 1)}, 4000),
         "entries z.qel0000 and z.qel0001 share their data"},
        {test::handMadeZip(gibibytes), "the entries claim to inflate to 4294967296 bytes"},
        // 256 MiB from a quarter of a megabyte: more than any package of that size holds.
        {test::handMadeZip({test::deflatedZeros("one.qel", 256)}),
         "the entries claim to inflate to 268435456 bytes, more than the 67108864"},
    };
    for (const auto& [bytes, message] : bombs) {
        test::writeBytes(dir.file("bomb.zip"), bytes);
        const auto before = test::snapshot(dir.path());
        const test::CliRun run = runCli({"inspect", dir.file("bomb.zip"), "--extract", dir.file("x")});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(test::snapshot(dir.path()), before);
    }
    EXPECT_LT(test::commandsPeakKilobytes(), 64 * 1024);
}

// Extraction writes into its folder and nowhere else: a symbolic link named like an entry is
// replaced, one on an entry's path stops the extraction, and so do an entry name given twice
// and a write that fails, with a message that says how far it came.
TEST(InspectCommand, ExtractionNeverFollowsSymbolicLinks) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "outside");
    fs::create_directory(dir.path() / "x");
    test::writeBytes(dir.file("outside/victim.txt"), "victim");
    test::writeBytes(dir.file("x/earlier.txt"), "an earlier file");
    fs::create_symlink("../outside/victim.txt", dir.path() / "x/t.jpx");
    fs::create_symlink("../outside", dir.path() / "x/sub");
    const auto outside = test::snapshot(dir.path() / "outside");
    auto extract = [&](const std::vector<test::RawZipEntry>& entries, const std::string& limits = "") {
        test::writeBytes(dir.file("a.zip"), test::handMadeZip(entries));
        return runCli({"inspect", dir.file("a.zip"), "--extract", dir.file("x")}, limits);
    };

    const test::CliRun link = extract({test::storedEntry("t.jpx", "KEY!")});
    EXPECT_EQ(link.status, 0) << link.err;
    EXPECT_FALSE(fs::is_symlink(dir.path() / "x/t.jpx"));

    const test::CliRun crossing = extract({test::storedEntry("sub\\a.jpx", "KEY!")});
    EXPECT_EQ(crossing.status, 1);
    EXPECT_NE(crossing.err.find("crosses a symbolic link; 0 of 1 files were extracted"),
              std::string::npos) << crossing.err;

    const test::CliRun twice =
        extract({test::storedEntry("d.bin", "first"), test::storedEntry("d.bin", "second")});
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("d.bin is given twice; 1 of 2 files"), std::string::npos) << twice.err;
    EXPECT_EQ(test::readBytes(dir.file("x/d.bin")), "first");

    const test::CliRun full = extract(
        {test::storedEntry("small.bin", "small"), test::storedEntry("big.bin", std::string(65536, 'b'))},
        test::fileSizeLimit(16384));
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("big.bin: File too large; 1 of 2 files were extracted"),
              std::string::npos) << full.err;

    test::RawZipEntry damaged = test::storedEntry("late.bin", "late");
    damaged.crc ^= 1;
    const test::CliRun partial = extract({test::storedEntry("early.bin", "early"), damaged}, "");
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.err.find("1 files had been extracted into"), std::string::npos) << partial.err;

    EXPECT_EQ(test::snapshot(dir.path() / "outside"), outside);
    EXPECT_EQ(test::readBytes(dir.file("x/earlier.txt")), "an earlier file");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path() / "x")) {
        names.insert(entry.path().filename().string());
    }
    EXPECT_EQ(names, (std::set<std::string>{"d.bin", "earlier.txt", "early.bin", "small.bin", "sub",
                                            "t.jpx"}));
}

// A file of gigabytes is judged by its header: a model whose magic number is wrong is refused,
// and a texture is described, without either being read whole.
TEST(InspectCommand, HugeFilesAreJudgedByTheirHeaderFirst) {
    test::TempDir dir;
    for (const char* name : {"huge.qel", "huge.jpx"}) {
        const int fd = ::open(dir.file(name).c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t{2} << 30), 0); // two gigabytes of zeros, on no disk
        ::close(fd);
    }
    const test::CliRun model = runCli({"inspect", dir.file("huge.qel")});
    EXPECT_EQ(model.status, 1);
    EXPECT_NE(model.out.find(R"("error":"the stream does not start with Qel1","position":0)"),
              std::string::npos) << model.out;
    const test::CliRun texture = runCli({"inspect", dir.file("huge.jpx")});
    EXPECT_EQ(texture.status, 0) << texture.err;
    EXPECT_EQ(texture.out, R"({"kind":"texture","key":[0,0,0,0],"size":2147483644,"image":"unknown"})"
                           "\n");
    EXPECT_LT(test::commandsPeakKilobytes(), 64 * 1024);
}

} // namespace
} // namespace vantor
