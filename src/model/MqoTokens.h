#pragma once
// The token scanner of the MQO reader and the number conversions it uses. Every function
// takes the line as a view and never reads past its end.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantor {

// True for the ten delimiters of an MQO line: blank, comma, slash, both parentheses, double
// quote, tab, line feed, carriage return and form feed. All are below 0x40, so no trail byte
// of a double-byte character is ever one.
bool isMqoDelimiter(char c);

// Scans the token that starts at or after pos. Delimiters are skipped first; a double quote
// reached while skipping opens a quoted token, which ends at the next double quote and so may
// hold blanks, commas, slashes and parentheses. Returns the position just after the character
// that ended the token; a token that runs to the end of the line returns line.size() + 1, and
// a line with nothing left yields an empty token.
std::size_t nextToken(std::string_view line, std::size_t pos, std::string_view& token);

// Scans the next value of a keyword's group, such as each number of col(1 1 1 1). When the
// group's closing parenthesis comes first, the value is missing: present is false and the
// position is returned unchanged, so the next keyword is not taken for a value.
std::size_t nextGroupValue(std::string_view line, std::size_t pos, std::string_view& token,
                           bool& present);

// Decimal integer as atol reads it: an optional sign and the digits that follow; anything else
// ends the number, and a token without digits is 0. Saturates instead of overflowing.
std::int64_t parseTokenInteger(std::string_view token);

// Decimal real as atof reads it, narrowed to single precision: the longest prefix that is a
// number, 0 when there is none.
float parseTokenFloat(std::string_view token);

// Number of "{" minus number of "}" outside double-quoted texts.
int braceBalance(std::string_view line);

// The line without delimiters at its start and end.
std::string_view trimDelimiters(std::string_view line);

} // namespace vantor
