// The private temporary folder of the browser build. A page's files live in its own memory and
// vanish with it, so no run leaves a folder behind for another to clear and no owner marks are
// needed (there is no /proc to read a start time from either).

#include "platform/TempFolder.h"

#include <cstdlib>
#include <filesystem>

namespace vantor {

namespace {

std::optional<std::string>& folder() {
    static std::optional<std::string> path;
    return path;
}

} // namespace

std::optional<std::string> processTempFolder() {
    if (!folder()) {
        std::error_code error;
        std::filesystem::create_directories("/tmp", error);
        std::string pattern = "/tmp/vantor-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) {
            folder() = pattern + "/";
        }
    }
    return folder();
}

void removeProcessTempFolder() {
    if (folder()) {
        std::error_code ignored;
        std::filesystem::remove_all(*folder(), ignored);
        folder().reset();
    }
}

bool markTempFolderOwner(const std::string&) { return false; }

int removeAbandonedTempFolders(const std::string&) { return 0; }

} // namespace vantor
