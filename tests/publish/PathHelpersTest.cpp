#include "publish/PathHelpers.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

constexpr CodePage kSjis = CodePage::Cp932;
constexpr CodePage kUtf8 = CodePage::Utf8;

// "表" and "ソ" end in the byte 0x5C in CP932, which is a backslash on its own.
const std::string kHyou = "\x95\x5C";
const std::string kSo = "\x83\x5C";

TEST(FolderOfPath, KeepsTheSeparatorThePathUsed) {
    EXPECT_EQ(folderOfPath("C:\\models\\car.mqo", kSjis), "C:\\models\\");
    EXPECT_EQ(folderOfPath("C:\\car.mqo", kSjis), "C:\\");
    EXPECT_EQ(folderOfPath("/home/u/car.mqo", kUtf8), "/home/u/");
    EXPECT_EQ(folderOfPath("/car.mqo", kUtf8), "/");
    EXPECT_EQ(folderOfPath("a\\\\b", kUtf8), "a\\"); // a doubled separator is not doubled again
    EXPECT_EQ(folderOfPath("mixed/dir\\f", kUtf8), "mixed/dir\\");
    EXPECT_FALSE(folderOfPath("car.mqo", kUtf8).has_value());
    EXPECT_FALSE(folderOfPath("", kUtf8).has_value());
}

TEST(FolderOfPath, TrailBytesAreNoSeparators) {
    EXPECT_FALSE(folderOfPath(kHyou + ".mqo", kSjis).has_value());
    EXPECT_EQ(folderOfPath(kHyou + "\\x.mqo", kSjis), kHyou + "\\");
    EXPECT_EQ(folderOfPath("d\\" + kSo, kSjis), "d\\");
    // The same bytes read as UTF-8 (where 0x95 starts no character) do hold a separator.
    EXPECT_EQ(folderOfPath(kHyou + ".mqo", kUtf8), kHyou);
}

TEST(FileNameOfPath, LastComponentOrNothingWhenEmpty) {
    EXPECT_EQ(fileNameOfPath("C:\\img\\logo.gif", kSjis), "logo.gif");
    EXPECT_EQ(fileNameOfPath("a/b.c", kUtf8), "b.c");
    EXPECT_EQ(fileNameOfPath("plain", kUtf8), "plain");
    EXPECT_EQ(fileNameOfPath("dir\\" + kHyou, kSjis), kHyou);
    EXPECT_FALSE(fileNameOfPath("dir\\", kSjis).has_value());
    EXPECT_FALSE(fileNameOfPath("", kSjis).has_value());
}

TEST(BaseNameOfPath, LastComponentWithoutItsLastExtension) {
    EXPECT_EQ(baseNameOfPath("C:\\images\\wood.bmp", kSjis), "wood");
    EXPECT_EQ(baseNameOfPath("sub/leaf.gif", kUtf8), "leaf");
    EXPECT_EQ(baseNameOfPath("a.b.gif", kUtf8), "a.b");
    EXPECT_EQ(baseNameOfPath("leaf", kUtf8), "leaf");
    EXPECT_EQ(baseNameOfPath("dir.d/leaf", kUtf8), "leaf");
    EXPECT_EQ(baseNameOfPath("tex\\" + kSo + ".jpg", kSjis), kSo);
    EXPECT_FALSE(baseNameOfPath("dir/.hidden", kUtf8).has_value());
    EXPECT_FALSE(baseNameOfPath("dir/", kUtf8).has_value());
}

TEST(ReplaceExtension, ReplacesTheLastExtensionOfTheLastComponentOnly) {
    EXPECT_EQ(replaceExtension("wood.bmp", ".jpx", kUtf8), "wood.jpx");
    EXPECT_EQ(replaceExtension("a.b.gif", ".jpx", kUtf8), "a.b.jpx");
    EXPECT_EQ(replaceExtension("leaf", ".jpx", kUtf8), "leaf.jpx");
    EXPECT_EQ(replaceExtension("dir.d/leaf", ".jpx", kUtf8), "dir.d/leaf.jpx");
    EXPECT_EQ(replaceExtension("C:\\x\\" + kSo, ".jpx", kSjis), "C:\\x\\" + kSo + ".jpx");
}

TEST(FindEntryName, FirstExactMatch) {
    const std::vector<std::string> list{"car\\wood.jpx", "car\\Wood.jpx", "car\\wood.jpx"};
    EXPECT_EQ(findEntryName(list, "car\\wood.jpx"), 0u);
    EXPECT_EQ(findEntryName(list, "car\\Wood.jpx"), 1u);
    EXPECT_FALSE(findEntryName(list, "car\\WOOD.jpx").has_value());
}

TEST(IsPlainFileName, NamesThatStayInTheirFolder) {
    EXPECT_TRUE(isPlainFileName("car", kUtf8));
    EXPECT_TRUE(isPlainFileName("..car", kUtf8));
    EXPECT_TRUE(isPlainFileName(kHyou, kSjis)); // its 0x5C is a trail byte
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "a/b", "a\\b", std::string("a\0b", 3)}) {
        EXPECT_FALSE(isPlainFileName(name, kUtf8)) << name;
    }
    // A slash byte is a separator on this system even after a lead byte.
    EXPECT_FALSE(isPlainFileName("\x81/x", kSjis));
}

} // namespace
} // namespace vantor
