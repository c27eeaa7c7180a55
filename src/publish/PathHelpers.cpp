#include "publish/PathHelpers.h"

#include <algorithm>

namespace vantor {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Where the last component starts and where its last dot is, found in one forward pass over
// whole characters (stepping backwards through a double-byte code page needs the same scan).
struct LastComponent {
    std::size_t start = 0;   // index after the last separator, 0 when there is none
    std::size_t dot = kNone; // index of the last dot of the last component
    bool hasSeparator = false;
};

LastComponent findLastComponent(std::string_view path, CodePage cp) {
    LastComponent last;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t next = charNext(cp, path, pos);
        if (next == pos + 1) {
            if (isSeparator(path[pos])) {
                last.start = next;
                last.dot = kNone;
                last.hasSeparator = true;
            } else if (path[pos] == '.') {
                last.dot = pos;
            }
        }
        pos = next;
    }
    return last;
}

} // namespace

std::optional<std::string> folderOfPath(std::string_view path, CodePage cp) {
    const LastComponent last = findLastComponent(path, cp);
    if (!last.hasSeparator) {
        return std::nullopt;
    }
    // The separator itself ends the folder; a doubled separator is not doubled again.
    const std::size_t separator = last.start - 1;
    const std::string_view before = path.substr(0, separator);
    const LastComponent inner = findLastComponent(before, cp);
    const bool endsInSeparator = inner.hasSeparator && inner.start == before.size();
    return std::string(endsInSeparator ? before : path.substr(0, last.start));
}

std::optional<std::string> fileNameOfPath(std::string_view path, CodePage cp) {
    const std::string_view name = path.substr(findLastComponent(path, cp).start);
    if (name.empty()) {
        return std::nullopt;
    }
    return std::string(name);
}

std::optional<std::string> baseNameOfPath(std::string_view path, CodePage cp) {
    const LastComponent last = findLastComponent(path, cp);
    const std::size_t end = last.dot == kNone ? path.size() : last.dot;
    if (end == last.start) {
        return std::nullopt;
    }
    return std::string(path.substr(last.start, end - last.start));
}

std::string replaceExtension(std::string_view path, std::string_view extension, CodePage cp) {
    const LastComponent last = findLastComponent(path, cp);
    std::string result(path.substr(0, last.dot == kNone ? path.size() : last.dot));
    result += extension;
    return result;
}

std::optional<std::size_t> findEntryName(const std::vector<std::string>& list,
                                         std::string_view name) {
    const auto found = std::find(list.begin(), list.end(), name);
    if (found == list.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - list.begin());
}

bool isControlCharacter(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool hasControlCharacter(std::string_view name) {
    return std::any_of(name.begin(), name.end(), isControlCharacter);
}

bool isPlainFileName(std::string_view name, CodePage cp) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != kNone ||
        name.find('\0') != kNone) {
        return false;
    }
    return !findLastComponent(name, cp).hasSeparator;
}

} // namespace vantor
