#include "platform/ProfileFile.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Limits.h"

#include <cerrno>
#include <sys/stat.h>

namespace vantor {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && !(x < 0x80 && y < 0x80 && (x | 0x20) == (y | 0x20) && (x | 0x20) >= 'a' &&
                        (x | 0x20) <= 'z')) {
            return false;
        }
    }
    return true;
}

std::string_view withoutBom(std::string_view line) {
    return line.substr(0, 3) == "\xEF\xBB\xBF" ? line.substr(3) : line;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(withoutBom(line));
    if (line.size() < 2 || line.front() != '[') {
        return std::nullopt;
    }
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trim(line.substr(0, equals));
}

std::string singleLine(std::string_view value) {
    std::string out(value);
    for (char& c : out) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

} // namespace

ProfileFile ProfileFile::parse(std::string_view text) {
    ProfileFile file;
    if (text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos) {
        file.lineEnd_ = "\n";
    }
    file.endsWithLineEnd_ = text.empty() || text.back() == '\n';
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        file.lines_.emplace_back(line);
        pos = end + 1;
    }
    return file;
}

ProfileFile ProfileFile::load(const std::string& path, bool* wasRead) {
    const FileContents contents = readFile(path, kMaxSettingsFileBytes);
    if (wasRead != nullptr) {
        *wasRead = contents.ok();
    }
    return parse(contents.ok() ? std::string_view(contents.bytes) : std::string_view());
}

std::optional<ProfileFile> ProfileFile::loadForUpdate(const std::string& path, FileError* error) {
    const FileContents contents = readFile(path, kMaxSettingsFileBytes);
    if (contents.ok()) {
        return parse(contents.bytes);
    }
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    const int statError = errno;
    if (!exists && statError == ENOENT) {
        return parse({});
    }
    if (error != nullptr) {
        // A folder in the way, or a path that leads nowhere (through a file, say), is said
        // as such; a file that is there and unreadable is kept for what it holds.
        const int cause = !exists ? statError : S_ISDIR(info.st_mode) ? EISDIR : kFileNotReplaceable;
        *error = {path, cause};
    }
    return std::nullopt;
}

ProfileFile::Location ProfileFile::findSection(std::string_view section) const {
    Location location;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i]);
        if (!name) {
            continue;
        }
        if (location.found) {
            break; // the next section ends ours
        }
        if (equalNoCase(*name, section)) {
            location.found = true;
            location.sectionLine = i;
            location.end = i + 1;
        }
    }
    if (location.found) {
        // Keys end at the last line that is not blank before the next section.
        for (std::size_t i = location.sectionLine + 1;
             i < lines_.size() && !sectionName(lines_[i]); ++i) {
            if (!trim(lines_[i]).empty()) {
                location.end = i + 1;
            }
        }
    }
    return location;
}

std::optional<std::size_t> ProfileFile::findKey(const Location& section, std::string_view key) const {
    for (std::size_t i = section.sectionLine + 1; i < section.end; ++i) {
        const auto name = keyName(lines_[i]);
        if (name && equalNoCase(*name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
    const Location location = findSection(section);
    if (!location.found) {
        return std::nullopt;
    }
    const auto line = findKey(location, key);
    if (!line) {
        return std::nullopt;
    }
    const std::string& text = lines_[*line];
    std::string_view value = trim(std::string_view(text).substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > kMaxProfileTextBytes) {
        // Cut at a whole character, so the cap never leaves half of one behind.
        std::size_t cut = 0;
        const CodePage cp = systemCodePage();
        while (cut < value.size()) {
            const std::size_t next = charNext(cp, value, cut);
            if (next > kMaxProfileTextBytes) {
                break;
            }
            cut = next;
        }
        value = value.substr(0, cut);
    }
    return std::string(value);
}

void ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string line = std::string(key) + "=" + singleLine(value);
    const Location location = findSection(section);
    if (!location.found) {
        std::string header = "[";
        header.append(section);
        header += ']';
        lines_.push_back(std::move(header));
        lines_.push_back(line);
        endsWithLineEnd_ = true;
        return;
    }
    if (const auto existing = findKey(location, key)) {
        lines_[*existing] = line;
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(location.end), line);
    if (location.end == lines_.size() - 1) {
        endsWithLineEnd_ = true;
    }
}

std::string ProfileFile::text() const {
    std::string out;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || endsWithLineEnd_) {
            out += lineEnd_;
        }
    }
    return out;
}

bool ProfileFile::save(const std::string& path, FileError* error) const {
    return writeFileReplacing(path, text(), error);
}

} // namespace vantor
