// The stand-ins the package writer relies on: the private temporary folder, DOS file times,
// temporary siblings, copies, and the program folder.

#include "TestSupport.h"
#include "platform/FileOps.h"
#include "platform/FileTimes.h"
#include "platform/ProgramFolder.h"
#include "platform/TempFolder.h"

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(ProcessTempFolder, PrivateAndRemovedWithItsContent) {
    const std::optional<std::string> folder = processTempFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->ends_with("/"));
    EXPECT_NE(folder->find("vantor-"), std::string::npos);
    EXPECT_EQ(processTempFolder(), folder); // one folder per process
    struct stat info {};
    ASSERT_EQ(::stat(folder->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // Marked as this process's own, so that no other run takes it for abandoned.
    const std::string mark = test::readBytes(*folder + kTempOwnerFileName);
    EXPECT_EQ(mark.substr(0, mark.find(' ')), std::to_string(::getpid()));
    test::writeBytes(*folder + "left.txt", "x");
    removeProcessTempFolder();
    EXPECT_FALSE(fs::exists(*folder));
    const std::optional<std::string> next = processTempFolder();
    ASSERT_TRUE(next.has_value());
    EXPECT_NE(next, folder);
}

// A private folder in base, marked by a process that has ended since.
std::string MakeAbandonedFolder(const TempDir& base, const std::string& name) {
    const std::string folder = base.file(name);
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::owner_all);
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(markTempFolderOwner(folder) ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    return folder;
}

TEST(AbandonedTempFolders, OnlyThisUsersPrivateFoldersOfEndedRunsGo) {
    TempDir base;
    const std::string dead = MakeAbandonedFolder(base, "vantor-dead01");
    test::writeBytes(dead + "/preview.html", "left behind");
    const std::string deadMark = test::readBytes(dead + "/" + kTempOwnerFileName);
    const auto makeFolder = [&](const std::string& name, const std::string& mark, fs::perms perms) {
        const std::string folder = base.file(name);
        fs::create_directory(folder);
        if (!mark.empty()) {
            test::writeBytes(folder + "/" + kTempOwnerFileName, mark);
        }
        fs::permissions(folder, perms);
        return folder;
    };
    const std::string live = makeFolder("vantor-live01", "", fs::perms::owner_all);
    ASSERT_TRUE(markTempFolderOwner(live));
    // The fields of this run's mark: pid, start time, PID namespace device and inode, boot id.
    std::istringstream fields(test::readBytes(live + "/" + kTempOwnerFileName));
    std::string pid, start, nsDevice, nsInode, boot;
    fields >> pid >> start >> nsDevice >> nsInode >> boot;
    const auto markOf = [&](const std::string& p, const std::string& s, const std::string& ino,
                            const std::string& b) {
        return p + " " + s + " " + nsDevice + " " + ino + " " + b + "\n";
    };
    // This process's id with another start time: the id now belongs to a later process.
    const std::string reused = makeFolder("vantor-reuse1", markOf(pid, "1", nsInode, boot),
                                          fs::perms::owner_all);
    const std::string deadPid = deadMark.substr(0, deadMark.find(' '));
    const std::string deadStart = deadMark.substr(deadPid.size() + 1,
                                                  deadMark.find(' ', deadPid.size() + 1) -
                                                      deadPid.size() - 1);
    const std::string kept[] = {
        live,
        makeFolder("vantor-plain1", "", fs::perms::owner_all),
        makeFolder("vantor-open01", deadMark, fs::perms::owner_all | fs::perms::group_read),
        makeFolder("vantor-bad001", markOf("0", "1", nsInode, boot), fs::perms::owner_all),
        makeFolder("vantor-other-name", deadMark, fs::perms::owner_all),
        // An ended owner's id in another PID namespace or boot may be a live process there
        // (an editor in a sandbox marks its folder with pid 1), and a mark of the earlier
        // two-field form tells neither.
        makeFolder("vantor-nsothr", markOf(deadPid, deadStart, nsInode + "1", boot),
                   fs::perms::owner_all),
        makeFolder("vantor-boot01", markOf(deadPid, deadStart, nsInode, "0-0"),
                   fs::perms::owner_all),
        makeFolder("vantor-older1", deadPid + " " + deadStart + "\n", fs::perms::owner_all),
    };
    // A link to an abandoned folder elsewhere is not followed.
    TempDir elsewhere;
    const std::string target = MakeAbandonedFolder(elsewhere, "vantor-linked");
    fs::create_directory_symlink(target, base.file("vantor-link01"));

    EXPECT_EQ(removeAbandonedTempFolders(base.path().string()), 2);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_FALSE(fs::exists(reused));
    for (const std::string& folder : kept) {
        EXPECT_TRUE(fs::exists(folder)) << folder;
    }
    EXPECT_TRUE(fs::is_symlink(base.file("vantor-link01")));
    EXPECT_TRUE(fs::exists(target + "/" + kTempOwnerFileName));
}

TEST(AbandonedTempFolders, AnotherUsersFolderStays) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making a folder of another user needs root";
    }
    TempDir base;
    const std::string foreign = MakeAbandonedFolder(base, "vantor-other1");
    for (const std::string& path : {foreign, foreign + "/" + kTempOwnerFileName}) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(removeAbandonedTempFolders(base.path().string()), 0);
    EXPECT_TRUE(fs::exists(foreign));
}

class WithTimeZone : public ::testing::Test {
protected:
    WithTimeZone() {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "UTC0", 1);
        ::tzset();
    }
    ~WithTimeZone() override {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> saved_;
};

TEST_F(WithTimeZone, DosTimeFieldsAndTheirLimits) {
    // 2023-11-14 22:13:21 UTC: seconds are held in steps of two.
    EXPECT_EQ(dosTimeFromLocalTime(1700000001),
              (43u << 9 | 11u << 5 | 14u) << 16 | (22u << 11 | 13u << 5 | 10u));
    EXPECT_EQ(dosTimeFromLocalTime(0), kEarliestDosTime);                 // 1970 lies before 1980
    EXPECT_EQ(dosTimeFromLocalTime(315532800), kEarliestDosTime);         // 1980-01-01 00:00:00
    if constexpr (sizeof(std::time_t) >= 8) { // the browser build's time_t ends in 2038
        EXPECT_EQ(dosTimeFromLocalTime(static_cast<std::time_t>(4354819200LL)) >> 25,
                  127u); // 2108: held at 2107
    }
}

TEST_F(WithTimeZone, FileDosTimeIsTheModificationTime) {
    TempDir dir;
    test::writeBytes(dir.file("f"), "x");
    const timespec times[2] = {{1700000001, 0}, {1700000001, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.file("f").c_str(), times, 0), 0);
    EXPECT_EQ(fileDosTime(dir.file("f")), dosTimeFromLocalTime(1700000001));
    EXPECT_FALSE(fileDosTime(dir.file("missing")).has_value());
}

TEST(SiblingTempFile, ReplacesItsTargetOnlyWhenCommitted) {
    TempDir dir;
    const std::string target = dir.file("page.html");
    test::writeBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    {
        SiblingTempFile discarded(target);
        ASSERT_TRUE(discarded.ok());
        test::writeBytes(discarded.path(), "never seen");
    }
    EXPECT_EQ(test::readBytes(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    SiblingTempFile kept(target);
    test::writeBytes(kept.path(), "new");
    ASSERT_TRUE(kept.commit());
    EXPECT_EQ(test::readBytes(target), "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u); // the replaced file's permissions
    EXPECT_FALSE(SiblingTempFile(dir.file("no-folder/x")).ok());
    // A target whose name is as long as a name may be still gets a sibling, under a shorter
    // name of its own.
    const std::string longest = dir.file(std::string(255, 'n'));
    SiblingTempFile sibling(longest);
    ASSERT_TRUE(sibling.ok());
    test::writeBytes(sibling.path(), "long");
    ASSERT_TRUE(sibling.commit());
    EXPECT_EQ(test::readBytes(longest), "long");
}

TEST(CopyFileReplacing, CopiesWholeFilesAndKeepsTheTargetOnFailure) {
    TempDir dir;
    const std::string big(200000, 'b');
    test::writeBytes(dir.file("src"), big);
    test::writeBytes(dir.file("dst"), "old");
    ASSERT_TRUE(copyFileReplacing(dir.file("src"), dir.file("dst")));
    EXPECT_EQ(test::readBytes(dir.file("dst")), big);
    test::writeBytes(dir.file("dst"), "old");
    EXPECT_FALSE(copyFileReplacing(dir.file("missing"), dir.file("dst")));
    EXPECT_FALSE(copyFileReplacing(dir.folder(), dir.file("dst"))); // a folder is no file
    EXPECT_EQ(test::readBytes(dir.file("dst")), "old");
    EXPECT_TRUE(sameFile(dir.file("dst"), dir.folder() + "./dst"));
    EXPECT_FALSE(sameFile(dir.file("dst"), dir.file("src")));
}

TEST(ProgramFolder, IsTheFolderOfThisProgram) {
    const std::optional<std::string> folder = programFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(fs::equivalent(*folder, fs::read_symlink("/proc/self/exe").parent_path()));
    EXPECT_FALSE(shippedFileFolder("no-such-shipped-file.bin").has_value());
}

} // namespace
} // namespace vantor
