#include "publish/KeyedStream.h"

#include "PublishTestSupport.h"

#include <gtest/gtest.h>
#include <set>

namespace vantor {
namespace {

constexpr StreamKey kKey{0x11, 0x22, 0x33, 0xF4};

std::uint8_t at(const KeyedStream& s, std::size_t position) {
    return static_cast<std::uint8_t>(s.bytes().at(KeyedStream::kHeaderBytes + position));
}

TEST(KeyedStream, KeyHeaderIsPlainAndComesFirst) {
    const KeyedStream s(kKey);
    EXPECT_EQ(s.bytes(), std::string("\x11\x22\x33\xF4", 4));
    EXPECT_EQ(s.position(), 0u);
}

TEST(KeyedStream, OffsetsAtPositionsZeroOneAndTheirPeriod) {
    KeyedStream s(kKey);
    for (int i = 0; i < 257; ++i) {
        s.putByte(0);
    }
    EXPECT_EQ(at(s, 0), 0x11);                                   // k0
    EXPECT_EQ(at(s, 1), (0x11 + 0x22 + 0x33 + 0xF4 + 4) & 0xFF); // k0 + k1 + k2 + k3 + 4
    EXPECT_EQ(at(s, 256), at(s, 0));                             // period 256
    // Position 2: (k0+2) + (k1+2)*2 + (k2+2)*4 + (k3+2)*8.
    EXPECT_EQ(at(s, 2), (0x13 + 0x24 * 2 + 0x35 * 4 + 0xF6 * 8) & 0xFF);
    // The offset is added: a byte b at position 1 gives offset + b.
    KeyedStream t(kKey);
    t.putByte(0);
    t.putByte(0x7F);
    EXPECT_EQ(at(t, 1), (at(s, 1) + 0x7F) & 0xFF);
}

TEST(KeyedStream, NumbersAreBigEndianAtEveryPosition) {
    KeyedStream s(kKey);
    for (int start = 0; start < 300; start += 11) {
        while (s.position() < static_cast<std::size_t>(start)) {
            s.putByte(0xAA);
        }
        s.putInt32(std::int32_t{-2});
        s.putFloat32(1.5f);
    }
    const std::string plain = test::plainStream(s.bytes());
    for (int start = 0; start < 300; start += 11) {
        EXPECT_EQ(test::bigEndianAt(plain, start), 0xFFFFFFFEu) << start;
        EXPECT_EQ(test::bigEndianAt(plain, start + 4), 0x3FC00000u) << start;
    }
}

TEST(KeyedStream, StringsEndInOneZeroAndStopAtAnEmbeddedZero) {
    KeyedStream s(kKey);
    s.putString("");
    EXPECT_EQ(s.position(), 1u);
    s.putString(std::string("ab\0cd", 5));
    EXPECT_EQ(test::plainStream(s.bytes()), std::string("\0ab\0", 4));
}

TEST(KeyedStream, PatchRewritesOnlyItsFourBytesWithTheirOwnOffsets) {
    KeyedStream s(kKey);
    s.putTag("Qel1");
    s.putInt32(0u);
    s.putBytes(std::string(600, 'x'));
    const std::string before = test::plainStream(s.bytes());
    s.patchInt32(4, 0x01020304u);
    s.patchInt32(510, 0xA0B0C0D0u); // straddles no period boundary but uses high positions
    const std::string after = test::plainStream(s.bytes());
    EXPECT_EQ(test::bigEndianAt(after, 4), 0x01020304u);
    EXPECT_EQ(test::bigEndianAt(after, 510), 0xA0B0C0D0u);
    EXPECT_EQ(after.substr(0, 4), before.substr(0, 4));
    EXPECT_EQ(after.substr(8, 502), before.substr(8, 502));
    EXPECT_EQ(after.substr(514), before.substr(514));
    EXPECT_EQ(s.position(), 608u);
    EXPECT_THROW(s.patchInt32(605, 0u), std::out_of_range);
}

TEST(KeyedStream, TransformOffWritesThePlainBytesBehindTheHeader) {
    KeyedStream s(kKey, false);
    s.putInt32(0x41424344u);
    EXPECT_EQ(s.bytes(), std::string("\x11\x22\x33\xF4"
                                     "ABCD",
                                     8));
}

TEST(KeyGenerator, SameSeedSameKeysAndEveryFileGetsItsOwn) {
    KeyGenerator a(42);
    KeyGenerator b(42);
    KeyGenerator c(43);
    std::set<StreamKey> seen;
    bool differsFromOtherSeed = false;
    for (int i = 0; i < 50; ++i) {
        const StreamKey key = a.nextKey();
        EXPECT_EQ(key, b.nextKey());
        differsFromOtherSeed = differsFromOtherSeed || key != c.nextKey();
        seen.insert(key);
    }
    EXPECT_TRUE(differsFromOtherSeed);
    EXPECT_GT(seen.size(), 45u);
}

} // namespace
} // namespace vantor
