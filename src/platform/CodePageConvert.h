#pragma once
// Conversion between CP932 and UTF-8, the one part of the code page unit that needs tables of
// the C library: glibc's iconv in the native build, tables made from it for the browser, whose
// C library knows no CP932.

#include <optional>
#include <string>
#include <string_view>

namespace vantor::detail {

// CP932 bytes as UTF-8; a byte that starts no valid character becomes one U+FFFD and the
// conversion goes on with the byte after it.
std::string cp932ToUtf8(std::string_view text);

// Valid UTF-8 as CP932, or nothing when a character has no CP932 form.
std::optional<std::string> utf8ToCp932(std::string_view utf8);

} // namespace vantor::detail
