#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/Files.h"

namespace vantor {
namespace {

using test::TempDir;

TEST(ReadFile, MissingFileFolderFifoAndDeviceCannotBeOpened) {
    TempDir dir;
    // Opening a FIFO that no program writes to would wait for ever.
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    for (const std::string& path :
         {dir.file("missing"), dir.folder(), dir.file("pipe"), std::string("/dev/zero")}) {
        EXPECT_EQ(readFile(path, 100).status, ReadStatus::CannotOpen) << path;
        EXPECT_EQ(MappedFile::open(path, 100).status(), ReadStatus::CannotOpen) << path;
    }
}

TEST(ReadFile, LimitIsInclusive) {
    TempDir dir;
    test::writeBytes(dir.file("f"), "12345");
    const FileContents atLimit = readFile(dir.file("f"), 5);
    ASSERT_TRUE(atLimit.ok());
    EXPECT_EQ(atLimit.bytes, "12345");
    const FileContents pastLimit = readFile(dir.file("f"), 4);
    EXPECT_EQ(pastLimit.status, ReadStatus::TooLarge);
    EXPECT_TRUE(pastLimit.bytes.empty());
}

TEST(WriteFileReplacing, ReplacesContentAndKeepsPermissions) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    test::writeBytes(path, "old content");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileReplacing(path, "new"));
    EXPECT_EQ(test::readBytes(path), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(WriteFileReplacing, NewFileIsReadableByOthersUnderTheUsualMask) {
    TempDir dir;
    const mode_t old = ::umask(022);
    ASSERT_TRUE(writeFileReplacing(dir.file("n.txt"), "x"));
    ::umask(old);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("n.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST(WriteFileReplacing, FailureLeavesNoTraceAndNamesTheFile) {
    TempDir dir;
    FileError error;
    const std::string path = dir.file("missing-folder/out.txt");
    EXPECT_FALSE(writeFileReplacing(path, "x", &error));
    EXPECT_EQ(error.path, path);
    EXPECT_EQ(error.cause, ENOENT);
    EXPECT_EQ(describeFileError(error), path + ": No such file or directory");

    // A folder in the way is refused, and stays a folder.
    std::filesystem::create_directory(dir.path() / "taken");
    EXPECT_FALSE(writeFileReplacing(dir.file("taken"), "x", &error));
    EXPECT_EQ(error.cause, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "taken"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(WriteFileReplacing, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: folder permissions do not stop writes";
    }
    TempDir dir;
    const std::string path = dir.file("keep.txt");
    test::writeBytes(path, "precious");
    ASSERT_EQ(::chmod(dir.folder().c_str(), 0500), 0);
    EXPECT_FALSE(writeFileReplacing(path, "lost?"));
    ::chmod(dir.folder().c_str(), 0700);
    EXPECT_EQ(test::readBytes(path), "precious");
}

TEST(WriteFileReplacing, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: a read-only file does not stop writes";
    }
    TempDir dir;
    const std::string path = dir.file("keep.txt");
    test::writeBytes(path, "precious");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    FileError error;
    EXPECT_FALSE(writeFileReplacing(path, "lost?", &error));
    EXPECT_EQ(error.path, path);
    EXPECT_EQ(error.cause, EACCES);
    EXPECT_EQ(test::readBytes(path), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

TEST(MappedFile, MapsContentAndRefusesWhatReadFileRefuses) {
    test::TempDir dir;
    test::writeBytes(dir.file("f"), "abc\n");
    const MappedFile mapped = MappedFile::open(dir.file("f"), 4);
    ASSERT_TRUE(mapped.ok());
    EXPECT_EQ(mapped.bytes(), "abc\n");
    EXPECT_EQ(MappedFile::open(dir.file("f"), 3).status(), ReadStatus::TooLarge);
    EXPECT_EQ(MappedFile::open(dir.folder(), 100).status(), ReadStatus::CannotOpen);
    EXPECT_EQ(MappedFile::open(dir.file("none"), 100).status(), ReadStatus::CannotOpen);

    test::writeBytes(dir.file("empty"), "");
    const MappedFile empty = MappedFile::open(dir.file("empty"), 100);
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.bytes().empty());

    MappedFile moved = MappedFile::open(dir.file("f"), 100);
    MappedFile target = std::move(moved);
    EXPECT_EQ(target.bytes(), "abc\n");
    EXPECT_TRUE(moved.bytes().empty());
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

TEST(MappedFile, FileTruncatedWhileMappedReadsAsZerosInsteadOfEndingTheProgram) {
    test::TempDir dir;
    const std::string path = dir.file("shrinking.mqo");
    const long page = ::sysconf(_SC_PAGESIZE);
    test::writeBytes(path, std::string(static_cast<std::size_t>(3 * page), 'x'));
    const MappedFile mapped = MappedFile::open(path, 1u << 20);
    ASSERT_TRUE(mapped.ok());
    EXPECT_TRUE(mapped.intact());
    ASSERT_EQ(::truncate(path.c_str(), 0), 0); // another program empties the file

    const std::string_view bytes = mapped.bytes();
    EXPECT_EQ(bytes[static_cast<std::size_t>(2 * page + 5)], '\0');
    EXPECT_EQ(bytes[static_cast<std::size_t>(page)], '\0');
    EXPECT_FALSE(mapped.intact());

    // A mapping made afterwards starts out intact.
    test::writeBytes(dir.file("whole"), "abc");
    EXPECT_TRUE(MappedFile::open(dir.file("whole"), 100).intact());
}

} // namespace
} // namespace vantor
