#include "publish/Package.h"

#include "PublishTestSupport.h"
#include "TestSupport.h"
#include "platform/FileTimes.h"
#include "platform/Limits.h"
#include "publish/AppletPage.h"
#include "publish/ModelFile.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::addMaterial;
using test::addObject;
using test::face;
using test::material;

constexpr std::uint32_t kFixedTime = (44u << 9 | 3u << 5 | 7u) << 16 | (12u << 11 | 34u << 5 | 28u);

std::set<std::string> filesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.insert(fs::relative(entry.path(), folder).string());
    }
    return names;
}

std::vector<std::string> entryNames(const ArchiveReadResult& archive) {
    std::vector<std::string> names;
    for (const ArchiveEntry& entry : archive.entries) {
        names.push_back(entry.name);
    }
    return names;
}

// What a JPEG file starts with, and some bytes: enough for the writer to take it for an image.
const std::string kJpegWood = "\xFF\xD8\xFF JPEG wood bytes";

class PackageTest : public ::testing::Test {
protected:
    PackageTest() {
        fs::create_directory(models.path() / "img");
        fs::create_directory(models.path() / "other");
        test::writeBytes(models.file("img/wood.jpg"), kJpegWood);
        test::writeBytes(models.file("other/wood.png"), "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR wood");
        test::writeBytes(models.file("leaf.gif"), "GIF89a leaf");
        test::writeBytes(models.file("car.mqo"), "not read by the package writer");
    }

    PackageRequest request() const {
        PackageRequest r;
        r.modelPath = models.file("car.mqo");
        r.outputFolder = out.folder();
        r.templatePath = test::testDataFile("publish/template.html");
        r.seed = 7;
        r.entryDosTime = kFixedTime;
        r.tempFolder = temp.folder();
        return r;
    }

    PackageResult publish(const PackageRequest& r) { return writePackage(scene, params, r); }

    ArchiveReadResult archive(const std::string& name = "car.zip") const {
        ArchiveReadResult read = readArchive(out.file(name));
        EXPECT_TRUE(read.ok) << read.error;
        return read;
    }

    void expectNothingLeftBehind() const { EXPECT_TRUE(filesIn(temp.path()).empty()); }

    test::TempDir models;
    test::TempDir out;
    test::TempDir temp;
    QelScene scene;
    QelParameter params = editorStartupParameters();
};

TEST_F(PackageTest, SampleHousePacksTextureAndModelAtBothLevels) {
    ASSERT_TRUE(scene.LoadMQO(std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo"));
    PackageRequest r = request();
    r.modelPath = std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo";
    for (const int level : {0, 9}) {
        r.level = level;
        const PackageResult result = publish(r);
        ASSERT_TRUE(result.ok()) << result.path;
        EXPECT_EQ(result.entryNames,
                  (std::vector<std::string>{"house\\brick.jpx", "house\\house.qel"}));
        EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{"house.html", "house.zip"}));
        expectNothingLeftBehind();

        const ArchiveReadResult read = archive("house.zip");
        ASSERT_EQ(entryNames(read), result.entryNames);
        for (const ArchiveEntry& entry : read.entries) {
            EXPECT_EQ(entry.deflated, level != 0) << entry.name;
            EXPECT_EQ(entry.dosTime, kFixedTime);
        }
        const auto texture = decodeKeyedFile(read.entries[0].data);
        ASSERT_TRUE(texture.has_value());
        EXPECT_EQ(texture->stream,
                  test::readBytes(std::string(VANTOR_SOURCE_DIR) + "/examples/house/brick.jpg"));
        const DecodedModel model = test::decodeModelFile(read.entries[1].data);
        EXPECT_EQ(model.objects.size(), 5u);
        EXPECT_EQ(model.materials[0].colorMap, "brick.jpx");
    }
    EXPECT_EQ(scene.outputFolder, out.folder());
    EXPECT_EQ(scene.packageName, "house");
    EXPECT_EQ(scene.tempPath, temp.folder());
    EXPECT_EQ(scene.workFolder, temp.folder() + "house/");
    EXPECT_EQ(packagePagePath(scene), out.folder() + "house.html");
    EXPECT_EQ(packageArchiveName(scene), "house.zip");
    EXPECT_EQ(test::readBytes(out.file("house.html")),
              makeAppletPage(r.templatePath, "house", "vtr.jar", params).bytes);
}

TEST_F(PackageTest, SeedAndEntryTimeGiveByteIdenticalPackages) {
    QelMaterial m = material("m");
    m.tex = "img/wood.jpg";
    addMaterial(scene, m);
    addObject(scene, "o", 3, {face(0, {0, 1, 2}, {0, 1, 0}, {0, 0, 1})});
    ASSERT_TRUE(publish(request()).ok());
    const std::string first = test::readBytes(out.file("car.zip"));
    ASSERT_TRUE(publish(request()).ok());
    EXPECT_EQ(test::readBytes(out.file("car.zip")), first);
    PackageRequest other = request();
    other.seed = 8;
    ASSERT_TRUE(publish(other).ok());
    EXPECT_NE(test::readBytes(out.file("car.zip")), first);
    // The model file's key is the second key drawn from the seed.
    KeyGenerator keys(8);
    keys.nextKey();
    const ArchiveReadResult read = archive();
    const StreamKey modelKey = keys.nextKey();
    EXPECT_EQ(read.entries[1].data, buildModelFile(scene, modelKey, true));
}

TEST_F(PackageTest, NameAndFolderComeFromTheModelPath) {
    PackageRequest r = request();
    r.outputFolder.reset();
    r.packageName = "";
    ASSERT_TRUE(publish(r).ok());
    EXPECT_TRUE(fs::exists(models.path() / "car.zip"));
    EXPECT_TRUE(fs::exists(models.path() / "car.html"));
    EXPECT_EQ(scene.outputFolder, models.folder());
    const ArchiveReadResult read = readArchive(models.file("car.zip"));
    EXPECT_EQ(entryNames(read), (std::vector<std::string>{"car\\car.qel"}));
}

TEST_F(PackageTest, FirstImageOfAnEntryNameWinsAndUnreadableOnesGiveWay) {
    QelMaterial a = material("a");
    a.tex = "missing/wood.bmp"; // cannot be read: a later wood gets its chance
    a.bump = "img\\wood.jpg";   // stored with a backslash, relative to the model
    addMaterial(scene, a);
    QelMaterial b = material("b");
    b.tex = models.file("other/wood.png"); // same entry name: not written
    b.aplane = "img/wood.jpg";             // same image again
    b.env = "LEAF.GIF";                    // letter case differs from the file
    b.bump = "dir/";                       // no base name
    addMaterial(scene, b);
    const PackageResult result = publish(request());
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.entryNames,
              (std::vector<std::string>{"car\\wood.jpx", "car\\LEAF.jpx", "car\\car.qel"}));
    const ArchiveReadResult read = archive();
    EXPECT_EQ(decodeKeyedFile(read.entries[0].data)->stream, kJpegWood);
    EXPECT_EQ(decodeKeyedFile(read.entries[1].data)->stream, "GIF89a leaf");
}

TEST_F(PackageTest, ArchiveEntriesAreDatedWithTheirFilesTimes) {
    test::writeBytes(temp.file("a.bin"), std::string(40000, 'a'));
    test::writeBytes(temp.file("b.bin"), "");
    const std::time_t moment = 1700000000; // a fixed moment, shown in local time
    const timespec times[2] = {{moment, 0}, {moment, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, temp.file("a.bin").c_str(), times, 0), 0);
    ASSERT_TRUE(zipEntries(out.file("x.zip"),
                           {{"p\\a.bin", temp.file("a.bin")}, {"p\\b.bin", temp.file("b.bin")}},
                           5));
    const ArchiveReadResult read = archive("x.zip");
    ASSERT_EQ(read.entries.size(), 2u);
    EXPECT_EQ(read.entries[0].dosTime, dosTimeFromLocalTime(moment));
    EXPECT_EQ(read.entries[0].data, std::string(40000, 'a'));
    EXPECT_LT(read.entries[0].compressedSize, 1000u);
    EXPECT_TRUE(read.entries[1].data.empty());

    // An entry whose file is missing fails the archive.
    EXPECT_FALSE(zipEntries(out.file("y.zip"), {{"p\\gone", temp.file("gone")}}, 0));
}

// --- Failures ------------------------------------------------------------------------------

TEST_F(PackageTest, RefusalsBeforeAnythingIsWritten) {
    PackageRequest r = request();
    for (const char* name : {"a/b", "a\\b", ".", ".."}) {
        r.packageName = name;
        EXPECT_EQ(publish(r).error, PackageError::BadPackageName) << name;
    }
    r = request();
    for (const std::string& name : {std::string("x\0y", 3), std::string("line\nbreak"),
                                   std::string("tab\t"), std::string("del\x7F")}) {
        r.packageName = name;
        EXPECT_EQ(publish(r).error, PackageError::BadPackageName) << name;
    }
    // N.html must fit the 255 bytes of a file name.
    r.packageName = std::string(kMaxPackageNameBytes + 1, 'n');
    EXPECT_EQ(publish(r).error, PackageError::PackageNameTooLong);

    r = request();
    r.modelPath = "car.mqo"; // no folder
    r.outputFolder.reset();
    EXPECT_EQ(publish(r).error, PackageError::NoOutputFolder);
    r.outputFolder = out.folder();
    EXPECT_EQ(publish(r).error, PackageError::NoSourceFolder);
    r.modelPath = ""; // no model loaded
    EXPECT_EQ(publish(r).error, PackageError::NoSourceFolder);

    r = request();
    r.level = 10;
    EXPECT_EQ(publish(r).error, PackageError::BadLevel);

    r = request();
    r.templatePath = models.file("missing-template.html");
    const PackageResult missing = publish(r);
    EXPECT_EQ(missing.error, PackageError::TemplateUnreadable);
    EXPECT_EQ(missing.path, r.templatePath);

    EXPECT_TRUE(filesIn(out.path()).empty());
    expectNothingLeftBehind();
}

TEST_F(PackageTest, MissingOrUnwritableOutputFolderWritesNothing) {
    PackageRequest r = request();
    r.outputFolder = out.folder() + "not-there/";
    EXPECT_EQ(publish(r).error, PackageError::CannotWriteArchive);
    EXPECT_TRUE(filesIn(out.path()).empty());
    expectNothingLeftBehind();

    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    }
    ASSERT_TRUE(publish(request()).ok());
    const std::string before = test::readBytes(out.file("car.zip"));
    ASSERT_EQ(::chmod(out.folder().c_str(), 0500), 0);
    EXPECT_FALSE(publish(request()).ok());
    ::chmod(out.folder().c_str(), 0700);
    EXPECT_EQ(test::readBytes(out.file("car.zip")), before);
    EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{"car.html", "car.zip"}));
    expectNothingLeftBehind();
}

TEST_F(PackageTest, FailedArchiveKeepsThePreviousPackage) {
    test::writeBytes(out.file("car.html"), "previous page");
    fs::create_directory(out.path() / "car.zip"); // the archive cannot replace a folder
    const PackageResult result = publish(request());
    EXPECT_EQ(result.error, PackageError::CannotWriteArchive);
    EXPECT_EQ(result.path, out.file("car.zip"));
    EXPECT_EQ(test::readBytes(out.file("car.html")), "previous page");
    EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{"car.html", "car.zip"}));
    expectNothingLeftBehind();
}

TEST_F(PackageTest, PageThatCannotReplaceItsTargetKeepsThePreviousArchive) {
    test::writeBytes(out.file("car.zip"), "previous archive");
    fs::create_directory(out.path() / "car.html"); // the page cannot replace a folder
    const PackageResult result = publish(request());
    EXPECT_EQ(result.error, PackageError::CannotWritePage);
    EXPECT_EQ(result.path, out.file("car.html"));
    EXPECT_EQ(test::readBytes(out.file("car.zip")), "previous archive");
    EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{"car.html", "car.zip"}));
    expectNothingLeftBehind();
}

// A name as long as a package name may be: its temporary siblings and its work folder still
// fit, and the package is written.
TEST_F(PackageTest, LongestPackageNameIsWritten) {
    PackageRequest r = request();
    const std::string name(kMaxPackageNameBytes, 'n');
    r.packageName = name;
    ASSERT_TRUE(publish(r).ok());
    EXPECT_EQ(filesIn(out.path()), (std::set<std::string>{name + ".html", name + ".zip"}));
    expectNothingLeftBehind();
}

// A model that would be replaced by its own package: a zipped model named like the archive,
// a model named like the page. The model is left as it was and nothing is written.
TEST_F(PackageTest, PackageFileThatIsTheModelItselfIsRefused) {
    for (const char* model : {"car.zip", "car.html"}) {
        test::writeBytes(out.file(model), "the only copy of the model");
        PackageRequest r = request();
        r.modelPath = out.file(model);
        r.packageName.reset();
        const PackageResult result = publish(r);
        EXPECT_EQ(result.error, PackageError::TargetIsModel) << model;
        EXPECT_EQ(result.path, out.file(model));
        EXPECT_EQ(test::readBytes(out.file(model)), "the only copy of the model");
        EXPECT_EQ(filesIn(out.path()), std::set<std::string>{model});
        fs::remove(out.path() / model);
    }
    expectNothingLeftBehind();
}

TEST_F(PackageTest, WorkFolderThatCannotBeMadeFailsTheCall) {
    test::writeBytes(temp.file("car"), "a file where the work folder would go");
    EXPECT_EQ(publish(request()).error, PackageError::CannotCreateWorkFolder);
    EXPECT_TRUE(filesIn(out.path()).empty());
}

} // namespace
} // namespace vantor
