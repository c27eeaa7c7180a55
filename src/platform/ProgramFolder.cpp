#include "platform/ProgramFolder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vantor {

std::optional<std::string> programFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const std::size_t slash = path.rfind('/');
            if (slash == std::string::npos) {
                return std::nullopt;
            }
            return path.substr(0, slash + 1);
        }
        buffer.resize(buffer.size() * 2); // the path may be longer than any fixed buffer
    }
}

std::optional<std::string> shippedFileFolder(const std::string& name) {
    const std::optional<std::string> program = programFolder();
    if (!program) {
        return std::nullopt;
    }
    for (const std::string& folder : {*program, *program + "../share/vantor/"}) {
        struct stat info {};
        if (::stat((folder + name).c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            return folder;
        }
    }
    return std::nullopt;
}

} // namespace vantor
