#pragma once
// Path helpers shared by the package writer and the build driver. They scan a path one whole
// character at a time in the code page of the text, so that the second byte of a double-byte
// character is never taken for a separator or a dot. Backslash and slash are both separators.
// Scene texts (material map names) use the scene's code page; paths the program forms itself
// use systemCodePage().

#include "platform/CodePage.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// The text before the last separator, followed by that separator unless the text already ends
// in one: "C:\models\car.mqo" gives "C:\models\", "/home/u/car.mqo" gives "/home/u/". Nothing
// when the path has no separator.
std::optional<std::string> folderOfPath(std::string_view path, CodePage cp);

// The text after the last separator, or the whole path when it has none; nothing when that
// text is empty.
std::optional<std::string> fileNameOfPath(std::string_view path, CodePage cp);

// The last component without the part from its last dot on; nothing when that is empty.
// "sub/leaf.gif" gives "leaf", "a.b.gif" gives "a.b", ".hidden" gives nothing.
std::optional<std::string> baseNameOfPath(std::string_view path, CodePage cp);

// When the last component has a dot: the path up to its last dot followed by the extension
// (which includes its dot); otherwise the path followed by the extension.
std::string replaceExtension(std::string_view path, std::string_view extension, CodePage cp);

// Position of the first entry equal to name, byte for byte, or nothing.
std::optional<std::size_t> findEntryName(const std::vector<std::string>& list,
                                         std::string_view name);

// True for a name that stays inside the folder it is joined to: not empty, not "." or "..",
// no separator (a slash byte anywhere, a backslash character) and no zero byte.
bool isPlainFileName(std::string_view name, CodePage cp);

// Control characters have no place in a file name: a line feed, say, breaks every list of
// names and every message that shows one.
bool isControlCharacter(char c);
bool hasControlCharacter(std::string_view name);

} // namespace vantor
