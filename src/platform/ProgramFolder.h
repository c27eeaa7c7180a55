#pragma once
// Where the files that ship beside the program are found: the program folder (the folder of
// the running program's own file) first, then ../share/vantor/ beside it (the installed
// layout).

#include <optional>
#include <string>

namespace vantor {

// The folder of the running program, ending in "/"; nothing when it cannot be determined.
std::optional<std::string> programFolder();

// The folder, ending in "/", that holds the shipped file `name`; nothing when neither place
// has it.
std::optional<std::string> shippedFileFolder(const std::string& name);

} // namespace vantor
