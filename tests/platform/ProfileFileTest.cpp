#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/ProfileFile.h"

namespace vantor {
namespace {

TEST(ProfileFileRead, NamesMatchWithoutRegardToCaseAndValuesAreTrimmed) {
    const ProfileFile file = ProfileFile::parse("; comment\r\n[Other]\r\nWidth=1\r\n[qelscene]\r\n"
                                                "  WIDTH =  640  \r\nName=\"a b\"\r\nEmpty=\r\n");
    EXPECT_EQ(file.read("QelScene", "width"), "640");
    EXPECT_EQ(file.read("Other", "Width"), "1");
    EXPECT_EQ(file.read("QelScene", "Name"), "a b"); // one pair of quotes is removed
    EXPECT_EQ(file.read("QelScene", "Empty"), "");
    EXPECT_FALSE(file.read("QelScene", "Height").has_value());
    EXPECT_FALSE(file.read("Missing", "Width").has_value());
}

TEST(ProfileFileRead, KeysOfTheNextSectionDoNotBelongToThisOne) {
    const ProfileFile file = ProfileFile::parse("[A]\nx=1\n[B]\ny=2\n");
    EXPECT_FALSE(file.read("A", "y").has_value());
    EXPECT_EQ(file.read("B", "y"), "2");
}

TEST(ProfileFileRead, FirstOfRepeatedKeysCountsInSectionsOfAnySize) {
    std::string text = "[S]\nk=first\nK = second\n";
    for (int i = 0; i < 300; ++i) {
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    }
    const ProfileFile file = ProfileFile::parse(text);
    const ProfileSectionReader section = file.sectionReader("s");
    EXPECT_EQ(section.read("K"), "first");
    for (int i = 0; i < 300; i += 7) {
        EXPECT_EQ(section.read("KEY" + std::to_string(i)), std::to_string(i));
    }
    EXPECT_FALSE(section.read("key300").has_value());
    // A copy is a profile of its own: writing one leaves the other as it was.
    ProfileFile copy = file;
    copy.write("S", "k", "changed");
    EXPECT_EQ(copy.read("S", "k"), "changed");
    EXPECT_EQ(file.read("S", "k"), "first");
    EXPECT_EQ(file.text(), text);
}

TEST(ProfileFileRead, TextsAreCappedAt2047Bytes) {
    const std::string longText(3000, 'x');
    const ProfileFile file = ProfileFile::parse("[S]\nK=" + longText + "\n");
    EXPECT_EQ(file.read("S", "K")->size(), kMaxProfileTextBytes);
    // The cap never cuts a character in two.
    const std::string wide = std::string(2046, 'a') + "\xE8\xA1\xA8";
    EXPECT_EQ(ProfileFile::parse("[S]\nK=" + wide + "\n").read("S", "K"), std::string(2046, 'a'));
}

// CR, LF and CR LF each end a line, in any mix; a file is written back with its own line end.
TEST(ProfileFileRead, EveryLineEndEndsALine) {
    for (const char* end : {"\r", "\n", "\r\n"}) {
        const std::string e = end;
        ProfileFile file = ProfileFile::parse("[S]" + e + "a=1" + e + "b= 2 " + e);
        EXPECT_EQ(file.read("S", "a"), "1") << int(e.size());
        EXPECT_EQ(file.read("S", "b"), "2");
        file.write("S", "c", "3");
        EXPECT_EQ(file.text(), "[S]" + e + "a=1" + e + "b= 2 " + e + "c=3" + e);
    }
    const ProfileFile mixed = ProfileFile::parse("[S]\ra=x\ry\r\n\rb=2\n[T]\rc=3");
    EXPECT_EQ(mixed.read("S", "a"), "x"); // a lone CR ends the value
    EXPECT_EQ(mixed.read("S", "b"), "2");
    EXPECT_EQ(mixed.read("T", "c"), "3");
}

TEST(ProfileFileWrite, ReplacesInPlaceAndKeepsEverythingElse) {
    ProfileFile file = ProfileFile::parse("; my settings\r\n[Other]\r\nA=1\r\n\r\n[QelScene]\r\n"
                                          "Width=200\r\nHeight=200\r\n\r\n[Tail]\r\nZ=9\r\n");
    file.write("QelScene", "WIDTH", "640");
    file.write("QelScene", "Depth", "3");
    file.write("New", "K", "v");
    EXPECT_EQ(file.text(), "; my settings\r\n[Other]\r\nA=1\r\n\r\n[QelScene]\r\n"
                           "WIDTH=640\r\nHeight=200\r\nDepth=3\r\n\r\n[Tail]\r\nZ=9\r\n"
                           "[New]\r\nK=v\r\n");
}

TEST(ProfileFileWrite, NewFileGetsKeysInWritingOrderAndLfFilesStayLf) {
    ProfileFile fresh = ProfileFile::parse("");
    fresh.write("QelScene", "Width", "200");
    fresh.write("QelScene", "Height", "100");
    EXPECT_EQ(fresh.text(), "[QelScene]\r\nWidth=200\r\nHeight=100\r\n");

    ProfileFile unix = ProfileFile::parse("[S]\na=1");
    unix.write("S", "b", "line\nbreak");
    EXPECT_EQ(unix.text(), "[S]\na=1\nb=line break\n");
}

// What is written is what is read back, however many times a file is saved: values with
// blanks at their ends or in quotes of their own are quoted once more; plain ones stay bare.
TEST(ProfileFileWrite, ValuesReadBackAsWritten) {
    ProfileFile file = ProfileFile::parse("");
    file.write("S", "plain", "C:\\a b\\c.jpg");
    file.write("S", "inner", "a \"b\" c");
    EXPECT_EQ(file.text(), "[S]\r\nplain=C:\\a b\\c.jpg\r\ninner=a \"b\" c\r\n");
    for (const std::string value : {"\"\"\"`\"\"\"", "'x'", "\"\"", " lead", "trail\t", "end\n"}) {
        ProfileFile saved = ProfileFile::parse("");
        saved.write("S", "K", value);
        const std::string expected = value == "end\n" ? "end " : value;
        for (int round = 0; round < 3; ++round) {
            const std::optional<std::string> read = saved.read("S", "K");
            ASSERT_EQ(read, expected) << saved.text();
            saved = ProfileFile::parse(saved.text());
            saved.write("S", "K", *read);
        }
    }
}

TEST(ProfileFileWrite, SeveralKeysAtOnceGiveWhatOneWriteAfterTheOtherGives) {
    const std::vector<ProfileEntry> entries{
        {"width", "1"}, {"Depth", "2"}, {"DEPTH", "3"}, {"x", "4"}, {"Name", "a\r\nb"}};
    for (const char* text : {"", "[S]", "[s]\nx=0\nX=9\n\n\n[T]\nwidth=7", "a\n[Other]\nWidth=5\n"}) {
        ProfileFile oneByOne = ProfileFile::parse(text);
        for (const ProfileEntry& entry : entries) {
            oneByOne.write("S", entry.key, entry.value);
        }
        ProfileFile atOnce = ProfileFile::parse(text);
        atOnce.write("S", entries);
        EXPECT_EQ(atOnce.text(), oneByOne.text()) << text;
        EXPECT_EQ(atOnce.sectionReader("s").read("DEPTH"), "3");
    }
}

TEST(ProfileFileSave, RoundTripsThroughTheDiskAndKeepsTheOldFileOnFailure) {
    test::TempDir dir;
    const std::string path = dir.file("scene.vsn");
    ProfileFile file = ProfileFile::load(path); // missing: empty
    file.write("QelScene", "Width", "640");
    ASSERT_TRUE(file.save(path));
    EXPECT_EQ(ProfileFile::load(path).read("QelScene", "Width"), "640");

    FileError error;
    EXPECT_FALSE(file.save(dir.file("missing/scene.vsn"), &error));
    EXPECT_EQ(error.path, dir.file("missing/scene.vsn"));
}

} // namespace
} // namespace vantor
