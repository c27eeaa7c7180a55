#pragma once
// The process's private temporary folder: one folder "vantor-XXXXXX" under the system's
// temporary folder, made with mkdtemp (mode 0700), so that no other user can pre-create or
// link it and two running copies never share files. The package writer works in it and the
// editor keeps its previews in it. It is removed with everything in it when the program ends.

#include <optional>
#include <string>

namespace vantor {

// The folder, ending in "/", created on the first call; nothing when it cannot be created
// (a later call tries again).
std::optional<std::string> processTempFolder();

// Removes the folder and everything in it now, as the program's end would; a later
// processTempFolder() makes a new one.
void removeProcessTempFolder();

} // namespace vantor
