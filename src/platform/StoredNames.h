#pragma once
// Opening the files that a model or a settings record names. Stored names come from files
// written on other systems: they may use backslashes, differ from the files on disk in letter
// case, be in CP932 on a UTF-8 system, or be Windows drive paths. The resolver tries, in order:
//   1. the name with its backslashes turned into "/", a relative name against the base folder;
//   2. the same with each component matched without regard to ASCII letter case;
//   3. when the name is not valid in the system code page, its CP932-to-UTF-8 conversion
//      (steps 1 and 2 again);
//   4. the name's last component in the base folder, then in its "textures" or "texture"
//      folder: drive paths ("C:\..."), network paths ("\\host\...") and relative paths
//      ("..\..\textures\x.png") name folders of the machine the model was made on.
// The stored name itself is never changed; only the file that is opened is found this way.

#include "platform/CodePage.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// The path of the regular file that `stored` names, or nothing when none is found. `cp` is the
// code page of the stored name; `baseFolder` ends in "/" (relative names resolve against it).
std::optional<std::string> resolveStoredName(std::string_view stored, CodePage cp,
                                             const std::string& baseFolder);

} // namespace vantor
