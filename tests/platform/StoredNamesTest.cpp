#include "platform/StoredNames.h"

#include "TestSupport.h"
#include "platform/Limits.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class StoredNamesTest : public ::testing::Test {
protected:
    StoredNamesTest() {
        fs::create_directories(dir.path() / "Tex" / "Sub");
        test::writeBytes(dir.file("Tex/Sub/Wood.JPG"), "w");
        test::writeBytes(dir.file("plain.gif"), "p");
        test::writeBytes(dir.file("\xE8\xA1\xA8.jpg"), "u"); // "表.jpg" in UTF-8
    }
    std::optional<std::string> resolve(const std::string& stored, CodePage cp = CodePage::Utf8) {
        return resolveStoredName(stored, cp, dir.folder());
    }
    test::TempDir dir;
};

TEST_F(StoredNamesTest, RelativeNamesWithEitherSeparatorAndAnyLetterCase) {
    EXPECT_EQ(resolve("plain.gif"), dir.file("plain.gif"));
    EXPECT_EQ(resolve("Tex\\Sub\\Wood.JPG"), dir.file("Tex/Sub/Wood.JPG"));
    EXPECT_EQ(resolve("tex/sub/wood.jpg"), dir.file("Tex/Sub/Wood.JPG"));
    EXPECT_EQ(resolve("./Tex/../plain.gif"), dir.file("./Tex/../plain.gif"));
    EXPECT_EQ(resolve(dir.file("PLAIN.GIF")), dir.file("plain.gif")); // absolute
    EXPECT_FALSE(resolve("missing.gif").has_value());
    EXPECT_FALSE(resolve("Tex").has_value()); // a folder is no file
    EXPECT_FALSE(resolve("").has_value());
}

TEST_F(StoredNamesTest, DoubleByteNamesAreConvertedAndKeepTheirTrailBytes) {
    // "表" is 0x95 0x5C in CP932: its trail byte must not become a separator.
    EXPECT_EQ(resolve("\x95\x5C.jpg", CodePage::Cp932), dir.file("\xE8\xA1\xA8.jpg"));
    EXPECT_EQ(resolve("\x95\x5C.JPG", CodePage::Cp932), dir.file("\xE8\xA1\xA8.jpg"));
}

TEST_F(StoredNamesTest, NamesOfOtherMachinesFallBackToTheirLastComponentBesideTheModel) {
    EXPECT_EQ(resolve("C:\\Users\\someone\\Desktop\\PLAIN.gif"), dir.file("plain.gif"));
    EXPECT_EQ(resolve("\\\\server\\share\\plain.gif"), dir.file("plain.gif"));
    EXPECT_EQ(resolve("..\\..\\textures\\plain.gif"), dir.file("plain.gif"));
    // Then in a textures or texture folder beside the model, in any letter case.
    fs::create_directories(dir.path() / "Textures");
    test::writeBytes(dir.file("Textures/skin.png"), "s");
    EXPECT_EQ(resolve("D:\\work\\skin.png"), dir.file("Textures/skin.png"));
    EXPECT_EQ(resolve("maps/skin.png"), dir.file("Textures/skin.png"));
    EXPECT_EQ(resolve("skin.png"), dir.file("Textures/skin.png"));
    EXPECT_FALSE(resolve("..\\gone.png").has_value());
    EXPECT_FALSE(resolve("C:\\Tex\\").has_value()); // a folder name has no last file
}

// One resolver serves one build: each folder is listed once and each name found once, so a
// file that appears later is not seen; a name too long to open is no file, however it is made.
TEST_F(StoredNamesTest, ResolverListsEachFolderOnceAndRefusesOverlongNames) {
    StoredNameResolver resolver(dir.folder());
    EXPECT_EQ(resolver.resolve("PLAIN.gif", CodePage::Utf8), dir.file("plain.gif"));
    test::writeBytes(dir.file("later.png"), "l");
    EXPECT_FALSE(resolver.resolve("LATER.png", CodePage::Utf8).has_value());
    EXPECT_EQ(resolve("LATER.png"), dir.file("later.png")); // a new resolver sees it

    std::string dots; // ".\.\...", as long as a path to plain.gif may be
    std::string slashed;
    while (dir.folder().size() + dots.size() + 2 + 9 <= kMaxStoredPathBytes) {
        dots += ".\\";
        slashed += "./";
    }
    EXPECT_EQ(resolve(dots + "plain.gif"), dir.folder() + slashed + "plain.gif");
    EXPECT_EQ(resolve(dots + "PLAIN.gif"), dir.folder() + "plain.gif");
    std::string longer = dots;
    for (int i = 0; i < 150000; ++i) {
        longer += ".\\";
    }
    EXPECT_FALSE(resolve(longer + "plain.gif").has_value());
}

TEST_F(StoredNamesTest, FilesOutsideTheBaseFolderTreeAreTold) {
    test::TempDir outside;
    test::writeBytes(outside.file("x.png"), "x");
    fs::create_symlink(outside.file("x.png"), dir.file("link.png"));
    fs::create_directory_symlink(outside.folder(), dir.file("away"));
    StoredNameResolver resolver(dir.folder() + "Tex/");
    EXPECT_FALSE(resolver.liesOutsideBase(dir.file("Tex/Sub/Wood.JPG")));
    EXPECT_TRUE(resolver.liesOutsideBase(dir.file("Tex/../plain.gif")));
    EXPECT_TRUE(resolver.liesOutsideBase(dir.file("link.png")));
    EXPECT_TRUE(resolver.liesOutsideBase(dir.file("away/x.png")));
    EXPECT_TRUE(resolver.liesOutsideBase(dir.file("missing.png")));
    StoredNameResolver above(dir.folder());
    EXPECT_FALSE(above.liesOutsideBase(dir.file("Tex/../plain.gif")));
    EXPECT_TRUE(above.liesOutsideBase(dir.file("away/x.png")));
}

} // namespace
} // namespace vantor
