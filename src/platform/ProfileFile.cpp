#include "platform/ProfileFile.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Limits.h"

#include <algorithm>
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

unsigned char foldedAscii(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u | 0x20) : u;
}

// The order that goes with equalNoCase: bytes compared with ASCII letters folded to lower case.
bool lessNoCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldedAscii(x) < foldedAscii(y); });
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

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
    return sectionReader(section).read(key);
}

void ProfileKeyIndex::sort() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const auto& a, const auto& b) { return lessNoCase(a.first, b.first); });
}

std::optional<std::size_t> ProfileKeyIndex::find(std::string_view name) const {
    const auto first = std::lower_bound(
        entries_.begin(), entries_.end(), name,
        [](const auto& entry, std::string_view wanted) { return lessNoCase(entry.first, wanted); });
    if (first == entries_.end() || !equalNoCase(first->first, name)) {
        return std::nullopt;
    }
    return first->second;
}

ProfileSectionReader ProfileFile::sectionReader(std::string_view section) const {
    ProfileSectionReader reader;
    reader.lines_ = &lines_;
    const Location location = findSection(section);
    if (!location.found) {
        return reader;
    }
    for (std::size_t i = location.sectionLine + 1; i < location.end; ++i) {
        if (const auto name = keyName(lines_[i])) {
            reader.keys_.add(*name, i);
        }
    }
    reader.keys_.sort();
    return reader;
}

std::optional<std::string> ProfileSectionReader::read(std::string_view key) const {
    const std::optional<std::size_t> line = keys_.find(key);
    if (!line) {
        return std::nullopt;
    }
    const std::string& text = (*lines_)[*line];
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
    write(section, {{std::string(key), std::string(value)}});
}

void ProfileFile::write(std::string_view section, const std::vector<ProfileEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    const Location location = findSection(section);
    if (!location.found) {
        std::string header = "[";
        header.append(section);
        header += ']';
        lines_.push_back(std::move(header));
    }
    ProfileKeyIndex existing;
    std::size_t end = lines_.size();
    if (location.found) {
        end = location.end;
        for (std::size_t i = location.sectionLine + 1; i < end; ++i) {
            if (const auto name = keyName(lines_[i])) {
                existing.add(*name, i);
            }
        }
        existing.sort();
    }
    // Keys new to the section go after its last key line in the order given; a key given
    // twice ends with its last value, as one write after the other would leave it.
    // The index looks into the lines, so replaced lines are put in only when all are found.
    std::vector<std::pair<std::size_t, std::string>> replaced;
    std::vector<std::string> added;
    std::vector<std::string_view> addedKeys;
    for (const ProfileEntry& entry : entries) {
        const std::string& key = entry.key;
        std::string line = key + "=" + singleLine(entry.value);
        if (const auto known = existing.find(key)) {
            replaced.emplace_back(*known, std::move(line));
            continue;
        }
        const auto same = std::find_if(addedKeys.begin(), addedKeys.end(),
                                       [&](std::string_view k) { return equalNoCase(k, key); });
        if (same != addedKeys.end()) {
            added[static_cast<std::size_t>(same - addedKeys.begin())] = std::move(line);
        } else {
            added.push_back(std::move(line));
            addedKeys.push_back(key);
        }
    }
    for (auto& [line, text] : replaced) {
        lines_[line] = std::move(text);
    }
    if (end == lines_.size() && !added.empty()) {
        endsWithLineEnd_ = true; // the new lines end the file, each with its line end
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end),
                  std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
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
