#pragma once
// Numbers as the user and the settings file see them: the general real form that the scene
// settings are shown and saved in, and strict parsing of typed numbers. Nothing here depends
// on the C library's locale; the decimal separator is always a period.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The shortest text with at most 15 significant digits: 500 gives "500", -1 gives "-1", the
// single-precision 0.1 widened to double gives "0.100000001490116". Magnitudes below 0.00001,
// and those with more than 15 digits before the point, use the exponent form "1E-6", "1E20".
std::string formatGeneral(double value);

// The fewest digits that read back as the same 32-bit float (14.3, 2620, 1e+06).
std::string shortestFloatText(float value);

// Appends the value with exactly `decimals` digits after the point (0 to 17), rounded as the C
// library's "%.*f" rounds: the MQO file's and the applet page's fixed numbers.
void appendFixed(std::string& out, double value, int decimals);

// A real number typed by the user: blanks around it are allowed, then an optional sign, digits
// with an optional decimal point and an optional exponent. Empty or malformed text gives
// nothing.
std::optional<double> parseReal(std::string_view text);

// An integer typed by the user: blanks around it, an optional sign and decimal digits. Empty
// text, a fraction, letters or a value outside 32 bits give nothing.
std::optional<std::int32_t> parseInteger(std::string_view text);

// An integer of a settings file: like parseInteger, and also hexadecimal after "$" or "0x"
// (a sign may come first, as in "-$10").
std::optional<std::int32_t> parseProfileInteger(std::string_view text);

} // namespace vantor
