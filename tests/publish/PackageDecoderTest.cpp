#include "publish/PackageDecoder.h"

#include "PublishTestSupport.h"
#include "TestSupport.h"

#include "publish/Package.h"

#include <functional>
#include <sys/resource.h>
#include <gtest/gtest.h>

namespace vantor {
namespace {

std::string goldenStream() {
    return test::plainStream(test::readBytes(test::testDataFile("golden/example-model.qel")));
}

void setBigEndian(std::string& bytes, std::size_t pos, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[pos + i] = static_cast<char>(value >> (24 - 8 * i));
    }
}

TEST(PackageDecoder, GoldenExampleDecodes) {
    const ModelDecodeResult result = decodeModelStream(goldenStream());
    ASSERT_TRUE(result.ok()) << result.error;
    const DecodedModel& model = *result.model;
    EXPECT_EQ(model.materials[0].col, (std::array<float, 4>{0.5f, 0.25f, 0.125f, 1.0f}));
    EXPECT_EQ(model.objects[0].visible, 15);
    EXPECT_EQ(model.objects[0].meshes[0].positions[0], (std::array<float, 3>{7, 8, 9}));
}

// Each damage is reported with the stream position where it was found.
TEST(PackageDecoder, DamagedStreamsAreReportedWithTheirPosition) {
    struct Damage {
        const char* what;
        std::size_t position;
        std::function<void(std::string&)> apply;
    };
    const Damage damages[] = {
        {"magic", 0, [](std::string& s) { s[0] = 'X'; }},
        {"total length", 4, [](std::string& s) { setBigEndian(s, 4, 255); }},
        {"truncated", 4, [](std::string& s) { s.resize(200); }},
        {"chunk too long", 110, [](std::string& s) { setBigEndian(s, 114, 1000); }},
        {"sub-chunk order", 26, [](std::string& s) { s.replace(26, 4, "XXXX"); }},
        {"corner out of range", 248, [](std::string& s) { setBigEndian(s, 248, 3); }},
        {"corner count", 240, [](std::string& s) { setBigEndian(s, 240, 9); }},
        {"no terminating zero", 24, [](std::string& s) { s[25] = 'x'; }},
    };
    for (const Damage& damage : damages) {
        std::string stream = goldenStream();
        damage.apply(stream);
        const ModelDecodeResult result = decodeModelStream(stream);
        EXPECT_FALSE(result.ok()) << damage.what;
        EXPECT_EQ(result.position, damage.position) << damage.what << ": " << result.error;
    }
}

TEST(PackageDecoder, KeyHeaderIsNeededAndArchivesMustBeArchives) {
    EXPECT_FALSE(decodeKeyedFile("abc").has_value());
    EXPECT_EQ(decodeKeyedFile("abcd")->stream, "");
    test::TempDir dir;
    test::writeBytes(dir.file("x.zip"), "PK but not an archive");
    EXPECT_FALSE(readArchive(dir.file("x.zip")).ok);
    EXPECT_FALSE(readArchive(dir.file("missing.zip")).ok);
}

void setLittleEndian(std::string& bytes, std::size_t pos, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[pos + i] = static_cast<char>(value >> (8 * i));
    }
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(PackageDecoder, SizesClaimedByAnArchiveAreNotAllocatedBeforeTheDataIsThere) {
    test::TempDir dir;
    test::writeBytes(dir.file("small.qel"), "tiny entry");
    ASSERT_TRUE(zipEntries(dir.file("x.zip"), {{"x\\small.qel", dir.file("small.qel")}}, 9));
    // Both headers of the entry now claim 4,000,000 compressed bytes inflating to 3.75 GiB.
    std::string zip = test::readBytes(dir.file("x.zip"));
    const std::size_t central = zip.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    for (const std::size_t sizes : {std::size_t{18}, central + 20}) {
        setLittleEndian(zip, sizes, 4000000);
        setLittleEndian(zip, sizes + 4, 0xF0000000u);
    }
    test::writeBytes(dir.file("x.zip"), zip);

    const long before = peakResidentKilobytes();
    const ArchiveReadResult read = readArchive(dir.file("x.zip"));
    EXPECT_FALSE(read.ok);
    EXPECT_LT(peakResidentKilobytes() - before, 256 * 1024);
}

} // namespace
} // namespace vantor
