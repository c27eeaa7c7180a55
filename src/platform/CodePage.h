#pragma once
// Texts in a scene are byte strings in the code page of the file they came from. This unit
// steps over whole characters of such a code page, so that the second byte of a double-byte
// character is never taken for a separator, and converts texts for display.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

enum class CodePage {
    Cp932, // Shift-JIS as Windows writes it: lead bytes 0x81-0x9F and 0xE0-0xFC
    Utf8,
};

// "cp932" or "utf-8".
const char* codePageName(CodePage cp);

// The code page of texts this program forms itself (paths on this machine, typed names):
// UTF-8, or CP932 when the environment variable VANTOR_CODEPAGE is "cp932".
CodePage systemCodePage();

// Index of the character that follows the one starting at pos (pos < text.size()). A byte
// that cannot start a character of the code page counts as a character of its own, and a
// lead byte at the very end of the text is a character of one byte.
std::size_t charNext(CodePage cp, std::string_view text, std::size_t pos);

// Index of the start of the character before pos (0 < pos <= text.size()). Double-byte
// encodings cannot be read backwards reliably, so this scans from the start of the text.
std::size_t charPrev(CodePage cp, std::string_view text, std::size_t pos);

bool isAscii(std::string_view text);
bool isValidUtf8(std::string_view text);

// The text as UTF-8 for display; bytes that are not valid in the code page become U+FFFD.
std::string decodeToUtf8(CodePage cp, std::string_view text);

// UTF-8 text converted into the code page, or nothing when a character has no form there.
std::optional<std::string> encodeFromUtf8(CodePage cp, std::string_view utf8);

} // namespace vantor
