#include "platform/StoredNames.h"

#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace vantor {

namespace {

// Where the last component of a name that does not resolve is looked for, under the base
// folder; the folder names match without regard to letter case.
constexpr const char* kImageFolders[] = {"", "textures/", "texture/"};

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Byte-for-byte equality except for the letter case of single-byte ASCII characters; the
// bytes of a double-byte character are compared exactly.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b, CodePage cp) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t next = charNext(cp, a, pos);
        if (next == pos + 1 && isAsciiLetter(a[pos])) {
            if ((a[pos] | 0x20) != (b[pos] | 0x20)) {
                return false;
            }
        } else if (a.substr(pos, next - pos) != b.substr(pos, next - pos)) {
            return false;
        }
        pos = next;
    }
    return true;
}

// The name with every backslash character turned into "/".
std::string withSlashes(std::string_view name, CodePage cp) {
    std::string out(name);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t next = charNext(cp, out, pos);
        if (next == pos + 1 && out[pos] == '\\') {
            out[pos] = '/';
        }
        pos = next;
    }
    return out;
}

std::vector<std::string_view> components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string_view::npos) {
            slash = path.size();
        }
        if (slash > pos) {
            parts.push_back(path.substr(pos, slash - pos));
        }
        pos = slash + 1;
    }
    return parts;
}

// An entry of folder whose name equals `name` without regard to ASCII letter case.
std::optional<std::string> findEntryIgnoringCase(const std::string& folder, std::string_view name,
                                                 CodePage cp) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        if (equalIgnoringAsciiCase(entry->d_name, name, cp)) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

// Steps 1 and 2 for a path with "/" separators.
std::optional<std::string> findPath(const std::string& path, CodePage cp) {
    if (isRegularFile(path)) {
        return path;
    }
    std::string current = path.starts_with('/') ? "/" : "";
    const std::vector<std::string_view> parts = components(path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string exact = current + std::string(parts[i]);
        struct stat info {};
        std::string next;
        if (parts[i] == "." || parts[i] == ".." || ::lstat(exact.c_str(), &info) == 0) {
            next = exact;
        } else if (const auto entry = findEntryIgnoringCase(current, parts[i], cp)) {
            next = current + *entry;
        } else {
            return std::nullopt;
        }
        current = i + 1 < parts.size() ? next + "/" : next;
    }
    return isRegularFile(current) ? std::optional<std::string>(current) : std::nullopt;
}

std::optional<std::string> resolveIn(const std::string& name, CodePage cp,
                                     const std::string& baseFolder) {
    const std::string slashed = withSlashes(name, cp);
    const bool absolute = slashed.starts_with('/');
    if (auto found = findPath(absolute ? slashed : baseFolder + slashed, cp)) {
        return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> resolveStoredName(std::string_view stored, CodePage cp,
                                             const std::string& baseFolder) {
    if (stored.empty() || stored.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::pair<std::string, CodePage>> forms{{std::string(stored), cp}};
    if (systemCodePage() == CodePage::Utf8 && !isValidUtf8(stored)) {
        forms.emplace_back(decodeToUtf8(CodePage::Cp932, stored), CodePage::Utf8);
    }
    for (const auto& [name, nameCp] : forms) {
        if (auto found = resolveIn(name, nameCp, baseFolder)) {
            return found;
        }
    }
    // Models travel without the folders their images lay in on the modeller's machine: the
    // last component is looked for beside the model, then in its textures or texture folder.
    for (const auto& [name, nameCp] : forms) {
        const std::string slashed = withSlashes(name, nameCp);
        const std::string last(slashed.substr(slashed.rfind('/') + 1));
        if (last.empty() || last == "." || last == "..") {
            continue;
        }
        for (const char* folder : kImageFolders) {
            if (auto found = findPath(baseFolder + folder + last, nameCp)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace vantor
