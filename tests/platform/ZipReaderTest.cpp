#include <gtest/gtest.h>

#include "HandMadeZip.h"
#include "platform/ZipReader.h"

namespace vantor {
namespace {

// Reads every entry; the error of the first that fails, or "" when all were read.
std::string readAll(std::string_view archive, std::uint64_t maxTotal, std::uint64_t maxEntry,
                    std::vector<std::string>* names = nullptr) {
    ZipReader zip(archive, maxTotal);
    ZipEntryInfo entry;
    std::string data;
    while (zip.next(entry) && zip.read(data, maxEntry)) {
        if (names != nullptr) {
            names->push_back(entry.name);
        }
    }
    return zip.error();
}

TEST(ZipReader, InflationStopsAtTheLimitsOfAnEntryAndOfTheWhole) {
    const std::string archive = test::handMadeZip(
        {test::deflatedZeros("a", 2), test::deflatedZeros("b", 2), test::storedEntry("c", "x")});
    std::vector<std::string> names;
    EXPECT_EQ(readAll(archive, 5 << 20, 2 << 20, &names), "");
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "c"}));
    // The limits are inclusive; one byte less refuses the entry that passes it.
    EXPECT_NE(readAll(archive, 4 << 20, 2 << 20).find("more than the 4194304 bytes allowed in all"),
              std::string::npos);
    EXPECT_NE(readAll(archive, 5 << 20, (2 << 20) - 1).find("entry a inflates to 2097152 bytes"),
              std::string::npos);
}

} // namespace
} // namespace vantor
