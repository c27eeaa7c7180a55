#pragma once
// Number text: the pure functions the number edit and the number-only edit are built from.

#include <QString>
#include <optional>

namespace vantor {

// ---- Number text: pure functions the number edit is built from ---------------------------

// Cleans a number text in one left-to-right pass: digits stay; "-" stays only while nothing
// has been kept yet; the first "." of the text stays; everything else goes ("+" too).
// "1-2.3.4a" gives "12.34", "-.5" stays, ".-5" gives ".5".
QString SanitiseNumberText(const QString& text);

// Reads a decimal number: blanks around it, an optional sign, digits with an optional "."
// and an optional exponent; the "." is the decimal point whatever the locale. Nothing else
// parses (empty text, a lone sign or point, letters). A magnitude beyond double range reads
// as an infinity of its sign, so that clamping turns it into the nearest bound.
std::optional<double> ParseNumberText(const QString& text);

// Applies the bounds the way the number edit does: above max gives max, then below min gives
// min (the upper bound first, so min wins when they cross). NaN gives min.
double ClampToRange(double value, double min, double max);

// Snaps value > 0 to the grid mantissa * increment^n: r = ln(value / mantissa) / ln(increment)
// is split into its integer part n (toward zero) and fraction f; f >= 0.99999999 rounds n up,
// which only guards against r = 2.9999999999. Values <= 0 and unusable grids (mantissa <= 0,
// increment <= 0 or 1) come back unchanged.
double SnapExponential(double value, double mantissa, double increment);

// True when a printf format consumes exactly one double: "%%" anywhere, and one conversion
// with optional flags, width and precision (digits only), an optional "l" and one of
// f F e E g G.
bool IsSingleDoubleFormat(const QString& format);

// The value through a printf format, independent of the locale (the decimal point is always
// "."). An empty format, one that does not consume exactly one double, or a result longer than
// 512 characters gives an empty text.
QString FormatNumberText(const QString& format, double value);

} // namespace vantor
