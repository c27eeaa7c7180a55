#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/CodePage.h"

namespace vantor {
namespace {

// "表" in CP932 is 0x95 0x5C: its trail byte is the code of a backslash.
const std::string kHyouCp932 = "\x95\x5C";
const std::string kHyouUtf8 = "\xE8\xA1\xA8";

TEST(CodePageStepping, Cp932PairWhoseTrailByteIsABackslashIsOneCharacter) {
    const std::string text = "a" + kHyouCp932 + "\\b";
    EXPECT_EQ(charNext(CodePage::Cp932, text, 0), 1u);
    EXPECT_EQ(charNext(CodePage::Cp932, text, 1), 3u);
    EXPECT_EQ(charNext(CodePage::Cp932, text, 3), 4u);
    EXPECT_EQ(charPrev(CodePage::Cp932, text, 4), 3u);
    EXPECT_EQ(charPrev(CodePage::Cp932, text, 3), 1u);
    EXPECT_EQ(charPrev(CodePage::Cp932, text, 1), 0u);
}

TEST(CodePageStepping, Cp932LeadByteAtTheEndStandsAlone) {
    const std::string text = "ab\x95";
    EXPECT_EQ(charNext(CodePage::Cp932, text, 2), 3u);
    EXPECT_EQ(charPrev(CodePage::Cp932, text, 3), 2u);
}

TEST(CodePageStepping, Cp932SingleByteKatakanaIsOneByte) {
    const std::string text = "\xB1\\";
    EXPECT_EQ(charNext(CodePage::Cp932, text, 0), 1u);
}

TEST(CodePageStepping, Utf8StepsWholeSequencesAndSingleBytesOfDamage) {
    const std::string text = "a" + kHyouUtf8 + "\xFF" + "\xE8\xA1" + "/";
    EXPECT_EQ(charNext(CodePage::Utf8, text, 0), 1u);
    EXPECT_EQ(charNext(CodePage::Utf8, text, 1), 4u);
    EXPECT_EQ(charNext(CodePage::Utf8, text, 4), 5u); // 0xFF is never valid
    EXPECT_EQ(charNext(CodePage::Utf8, text, 5), 6u); // truncated sequence: byte by byte
    EXPECT_EQ(charPrev(CodePage::Utf8, text, 4), 1u);
}

TEST(CodePageValidity, Utf8RulesRejectOverlongAndSurrogateForms) {
    EXPECT_TRUE(isValidUtf8(kHyouUtf8 + "abc"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8(kHyouCp932));          // Shift-JIS is not UTF-8
    EXPECT_FALSE(isValidUtf8("\xE8\xA1"));         // cut short
    EXPECT_TRUE(isAscii("plain/name.jpg"));
    EXPECT_FALSE(isAscii(kHyouUtf8));
}

TEST(CodePageConversion, Cp932DecodesWithTheBackslashKept) {
    EXPECT_EQ(decodeToUtf8(CodePage::Cp932, kHyouCp932 + "\\x"), kHyouUtf8 + "\\x");
    // A backslash on its own stays a backslash, not a yen sign.
    EXPECT_EQ(decodeToUtf8(CodePage::Cp932, "C:\\m"), "C:\\m");
}

TEST(CodePageConversion, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(decodeToUtf8(CodePage::Utf8, "a\xFF" "b"), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(decodeToUtf8(CodePage::Cp932, "a\x85\x40"), "a\xEF\xBF\xBD@");
}

TEST(CodePageConversion, EncodingIntoCp932AndBack) {
    EXPECT_EQ(encodeFromUtf8(CodePage::Cp932, kHyouUtf8), kHyouCp932);
    EXPECT_EQ(encodeFromUtf8(CodePage::Utf8, kHyouUtf8), kHyouUtf8);
    // A character that CP932 cannot hold.
    EXPECT_FALSE(encodeFromUtf8(CodePage::Cp932, "\xF0\x9F\x98\x80").has_value());
    EXPECT_FALSE(encodeFromUtf8(CodePage::Utf8, "\xFF").has_value());
}

TEST(CodePageSystem, EnvironmentSelectsCp932) {
    ::unsetenv("VANTOR_CODEPAGE");
    EXPECT_EQ(systemCodePage(), CodePage::Utf8);
    ::setenv("VANTOR_CODEPAGE", "CP932", 1);
    EXPECT_EQ(systemCodePage(), CodePage::Cp932);
    ::setenv("VANTOR_CODEPAGE", "latin1", 1);
    EXPECT_EQ(systemCodePage(), CodePage::Utf8);
    ::unsetenv("VANTOR_CODEPAGE");
}

} // namespace
} // namespace vantor
