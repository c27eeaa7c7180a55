// The program folder of the browser build: the page lays the files that ship beside the
// program (template.html, vtr.jar, LitColor.jpg) into the in-memory folder /vantor/ before it
// publishes. There is no executable to find them beside.

#include "platform/ProgramFolder.h"

#include <sys/stat.h>

namespace vantor {

std::optional<std::string> programFolder() { return std::string("/vantor/"); }

std::optional<std::string> shippedFileFolder(const std::string& name) {
    const std::string folder = *programFolder();
    struct stat info {};
    if (::stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        return folder;
    }
    return std::nullopt;
}

} // namespace vantor
