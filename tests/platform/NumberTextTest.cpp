#include <gtest/gtest.h>

#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace vantor {
namespace {

TEST(ShortestFloatText, EdgeValues) {
    EXPECT_EQ(shortestFloatText(0.0f), "0");
    EXPECT_EQ(shortestFloatText(-0.0f), "-0");
    EXPECT_EQ(shortestFloatText(0.1f), "0.1");
    EXPECT_EQ(shortestFloatText(1e10f), "1e+10");
    EXPECT_EQ(shortestFloatText(123456792.0f), "123456792"); // a whole number exactly
    EXPECT_EQ(shortestFloatText(1e-7f), "1e-07");
    EXPECT_EQ(shortestFloatText(std::numeric_limits<float>::infinity()), "inf");
    EXPECT_EQ(shortestFloatText(-std::numeric_limits<float>::denorm_min()), "-1e-45");
}

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
// Both builds write floats through fmt; the native build's standard library can still say
// what std::to_chars writes, which the texts must match byte for byte (the model writer's and
// the editor's texts were std::to_chars's before).
TEST(ShortestFloatText, MatchesToCharsAcrossTheFloats) {
    int differences = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 65521) {
        const auto pattern = static_cast<std::uint32_t>(bits);
        float value = 0;
        std::memcpy(&value, &pattern, sizeof value);
        if (std::isnan(value)) {
            continue;
        }
        char buffer[64];
        const std::string expected(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
        if (shortestFloatText(value) != expected && ++differences < 5) {
            ADD_FAILURE() << expected << " written as " << shortestFloatText(value);
        }
    }
    for (int i = -70000; i <= 70000; ++i) {
        for (const float value : {static_cast<float>(i), i / 1000.0f, i * 1e5f, i * 3.0e7f}) {
            char buffer[64];
            const std::string expected(buffer,
                                       std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
            if (shortestFloatText(value) != expected && ++differences < 5) {
                ADD_FAILURE() << expected << " written as " << shortestFloatText(value);
            }
        }
    }
    EXPECT_EQ(differences, 0);
}
#endif

TEST(FormatGeneral, ShortestFormWithFifteenDigits) {
    EXPECT_EQ(formatGeneral(500.0), "500");
    EXPECT_EQ(formatGeneral(-1.0), "-1");
    EXPECT_EQ(formatGeneral(0.0), "0");
    EXPECT_EQ(formatGeneral(-0.0), "0");
    EXPECT_EQ(formatGeneral(static_cast<double>(0.1f)), "0.100000001490116");
    EXPECT_EQ(formatGeneral(static_cast<double>(0.2f)), "0.200000002980232");
    EXPECT_EQ(formatGeneral(0.5), "0.5");
    EXPECT_EQ(formatGeneral(-10.0), "-10");
    EXPECT_EQ(formatGeneral(1234.5), "1234.5");
    EXPECT_EQ(formatGeneral(static_cast<double>(16777215.0f)), "16777215");
    EXPECT_EQ(formatGeneral(0.123456789012345678), "0.123456789012346");
}

TEST(FormatGeneral, ExponentFormBelowOneHundredThousandthAndForHugeValues) {
    EXPECT_EQ(formatGeneral(0.00001), "0.00001");
    EXPECT_EQ(formatGeneral(0.000012), "0.000012");
    EXPECT_EQ(formatGeneral(0.000001), "1E-6");
    EXPECT_EQ(formatGeneral(-0.0000015), "-1.5E-6");
    EXPECT_EQ(formatGeneral(999999999999999.0), "999999999999999");
    EXPECT_EQ(formatGeneral(1e15), "1E15");
    EXPECT_EQ(formatGeneral(1.5e20), "1.5E20");
}

TEST(AppendFixed, RoundsAsPrintfDoesWhateverTheMagnitude) {
    for (const double value : {0.125, 0.375, 2.5, -0.005, 1.005, 500.5, -0.0, 1e-7, 123456.785,
                               static_cast<double>(3.4e38f), -1.7976931348623157e308}) {
        for (int decimals = 0; decimals <= 5; ++decimals) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            std::string text = "x";
            appendFixed(text, value, decimals);
            EXPECT_EQ(text, std::string("x") + expected) << value << " " << decimals;
        }
    }
}

TEST(ParseReal, AcceptsWhatAUserTypes) {
    EXPECT_EQ(parseReal(" 500 "), 500.0);
    EXPECT_EQ(parseReal("-1"), -1.0);
    EXPECT_EQ(parseReal("+2.5"), 2.5);
    EXPECT_EQ(parseReal(".5"), 0.5);
    EXPECT_EQ(parseReal("5."), 5.0);
    EXPECT_EQ(parseReal("1e3"), 1000.0);
    EXPECT_EQ(parseReal("1.5E-2"), 0.015);
    EXPECT_EQ(static_cast<float>(*parseReal(formatGeneral(static_cast<double>(0.1f)))), 0.1f);
}

TEST(ParseReal, RefusesMalformedText) {
    for (const char* text : {"", " ", "abc", "-", ".", "1.2.3", "1e", "1e+", "--1", "1,5", "0x10",
                             "inf", "nan", "5 5", "1.5abc"}) {
        EXPECT_FALSE(parseReal(text).has_value()) << text;
    }
}

TEST(ParseInteger, DecimalOnly) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger(" -7 "), -7);
    EXPECT_EQ(parseInteger("+3"), 3);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
    for (const char* text : {"", "1.5", "abc", "2147483648", "0x10", "$10", "1e3", "-"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << text;
    }
}

TEST(ParseProfileInteger, HexadecimalAfterDollarOrZeroX) {
    EXPECT_EQ(parseProfileInteger("0x280"), 640);
    EXPECT_EQ(parseProfileInteger("$280"), 640);
    EXPECT_EQ(parseProfileInteger("0X1f"), 31);
    EXPECT_EQ(parseProfileInteger("-$10"), -16);
    EXPECT_EQ(parseProfileInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(parseProfileInteger("16777215"), 16777215);
    for (const char* text : {"", "0x", "$", "abc", "0x1G", "12abc"}) {
        EXPECT_FALSE(parseProfileInteger(text).has_value()) << text;
    }
}

} // namespace
} // namespace vantor
