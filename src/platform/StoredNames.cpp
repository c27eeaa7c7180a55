#include "platform/StoredNames.h"

#include "platform/Limits.h"

#include <cstdlib>
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

// The name with the letter case of single-byte ASCII characters folded; the bytes of a
// double-byte character stay as they are.
std::string foldedName(std::string_view name, CodePage cp) {
    std::string out(name);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t next = charNext(cp, out, pos);
        if (next == pos + 1 && isAsciiLetter(out[pos])) {
            out[pos] = static_cast<char>(out[pos] | 0x20);
        }
        pos = next;
    }
    return out;
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

// The components of a path with "/" separators, without empty and "." ones, which name the
// folder they stand in. ".." stays: through a link it leads where the system says.
std::vector<std::string_view> components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string_view::npos) {
            slash = path.size();
        }
        const std::string_view part = path.substr(pos, slash - pos);
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        pos = slash + 1;
    }
    return parts;
}

std::optional<std::string> realPath(const std::string& path) {
    char* real = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
    if (real == nullptr) {
        return std::nullopt;
    }
    std::string out(real);
    std::free(real);
    return out;
}

} // namespace

StoredNameResolver::StoredNameResolver(std::string baseFolder) : base_(std::move(baseFolder)) {}

const StoredNameResolver::FolderIndex& StoredNameResolver::listing(const std::string& folder,
                                                                   CodePage cp) {
    const auto [at, added] = folders_.try_emplace({folder, cp});
    if (!added) {
        return at->second;
    }
    if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            at->second.try_emplace(foldedName(entry->d_name, cp), entry->d_name);
        }
        ::closedir(dir);
    }
    return at->second;
}

// Steps 1 and 2 for a path with "/" separators.
std::optional<std::string> StoredNameResolver::findPath(const std::string& path, CodePage cp) {
    if (path.size() > kMaxStoredPathBytes) {
        return std::nullopt;
    }
    if (isRegularFile(path)) {
        return path;
    }
    std::string current = path.starts_with('/') ? "/" : "";
    current.reserve(kMaxStoredPathBytes);
    const std::vector<std::string_view> parts = components(path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::size_t folderEnd = current.size();
        current += parts[i];
        struct stat info {};
        if (parts[i] != ".." && ::lstat(current.c_str(), &info) != 0) {
            current.resize(folderEnd);
            const FolderIndex& entries = listing(current, cp);
            const auto entry = entries.find(foldedName(parts[i], cp));
            if (entry == entries.end() ||
                current.size() + entry->second.size() > kMaxStoredPathBytes) {
                return std::nullopt;
            }
            current += entry->second;
        }
        if (i + 1 < parts.size()) {
            current += '/';
        }
    }
    return isRegularFile(current) ? std::optional<std::string>(current) : std::nullopt;
}

std::optional<std::string> StoredNameResolver::resolve(std::string_view stored, CodePage cp) {
    const auto [at, added] = resolved_.try_emplace({std::string(stored), cp});
    if (added) {
        at->second = resolveUncached(stored, cp);
    }
    return at->second;
}

bool StoredNameResolver::liesOutsideBase(const std::string& path) {
    if (!realBaseKnown_) {
        realBase_ = realPath(base_);
        realBaseKnown_ = true;
    }
    const std::optional<std::string> real = realPath(path);
    if (!realBase_ || !real) {
        return true;
    }
    const std::string& base = *realBase_;
    return !(base == "/" || (real->starts_with(base) && real->size() > base.size() &&
                             (*real)[base.size()] == '/'));
}

std::optional<std::string> StoredNameResolver::resolveUncached(std::string_view stored,
                                                               CodePage cp) {
    if (stored.empty() || stored.size() > kMaxStoredPathBytes ||
        stored.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::vector<std::pair<std::string, CodePage>> forms{{std::string(stored), cp}};
    if (systemCodePage() == CodePage::Utf8 && !isValidUtf8(stored)) {
        forms.emplace_back(decodeToUtf8(CodePage::Cp932, stored), CodePage::Utf8);
    }
    for (const auto& [name, nameCp] : forms) {
        const std::string slashed = withSlashes(name, nameCp);
        if (auto found = findPath(slashed.starts_with('/') ? slashed : base_ + slashed, nameCp)) {
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
            if (auto found = findPath(base_ + folder + last, nameCp)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> resolveStoredName(std::string_view stored, CodePage cp,
                                             const std::string& baseFolder) {
    return StoredNameResolver(baseFolder).resolve(stored, cp);
}

} // namespace vantor
