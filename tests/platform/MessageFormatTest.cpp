#include "platform/MessageFormat.h"

#include <array>
#include <gtest/gtest.h>

namespace vantor {
namespace {

std::string expand(std::string_view pattern) {
    const std::array<std::string_view, 2> inserts{"BLOCK", "car"};
    return expandTemplate(pattern, inserts);
}

TEST(ExpandTemplate, InsertsAndEscapes) {
    EXPECT_EQ(expand("<title>%2</title>%1"), "<title>car</title>BLOCK");
    EXPECT_EQ(expand("100%% sure"), "100% sure");
    EXPECT_EQ(expand("a%nb%rc%td%.e%!f% g"), "a\r\nb\rc\td.e!f g");
    EXPECT_EQ(expand("line\nbreaks\r\nstay\n"), "line\nbreaks\r\nstay\n");
    EXPECT_EQ(expand("%1%1%2"), "BLOCKBLOCKcar");
}

TEST(ExpandTemplate, UnknownSequencesStayAsTheyAre) {
    EXPECT_EQ(expand("%3 and %12 and %99"), "%3 and %12 and %99"); // two-digit numbers
    EXPECT_EQ(expand("%10"), "%10");                               // insert 10, not %1 + "0"
    EXPECT_EQ(expand("width: 50%; %x"), "width: 50%; %x");
    EXPECT_EQ(expand("ends in %"), "ends in %");
}

TEST(ExpandTemplate, ZeroEndsTheOutput) {
    EXPECT_EQ(expand("kept%0dropped %1"), "kept");
    EXPECT_EQ(expand(std::string_view("kept\0dropped", 12)), "kept");
    EXPECT_EQ(expand(""), "");
}

} // namespace
} // namespace vantor
