#include "platform/TempFolder.h"

#include <cstdlib>
#include <filesystem>

namespace vantor {

namespace {

class PrivateFolder {
public:
    ~PrivateFolder() { remove(); }

    const std::optional<std::string>& ensure() {
        if (!folder_) {
            std::error_code error;
            const std::filesystem::path base = std::filesystem::temp_directory_path(error);
            std::string pattern = (error ? std::filesystem::path("/tmp") : base) / "vantor-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) {
                folder_ = pattern + "/";
            }
        }
        return folder_;
    }

    void remove() {
        if (folder_) {
            std::error_code ignored;
            std::filesystem::remove_all(*folder_, ignored);
            folder_.reset();
        }
    }

private:
    std::optional<std::string> folder_;
};

PrivateFolder& privateFolder() {
    static PrivateFolder folder;
    return folder;
}

} // namespace

std::optional<std::string> processTempFolder() {
    return privateFolder().ensure();
}

void removeProcessTempFolder() {
    privateFolder().remove();
}

} // namespace vantor
