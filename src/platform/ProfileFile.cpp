#include "platform/ProfileFile.h"

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Limits.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <sys/stat.h>

namespace vantor {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reading trims blanks and takes off one pair of enclosing quotes. A value that this would
// change is written inside one more pair of double quotes, which reading takes off again, so
// that what is written is what is read: "  a" or "'b'" stay as they are, where written bare
// they would lose their blanks or quotes one save after the other. (A line break, which is
// written as a blank, counts as one.)
bool readingChanges(std::string_view value) {
    const auto blankOrBreak = [](char c) { return isBlank(c) || c == '\n'; };
    if (value.empty()) {
        return false;
    }
    if (blankOrBreak(value.front()) || blankOrBreak(value.back())) {
        return true;
    }
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

std::string_view trim(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && isBlank(*first)) {
        ++first;
    }
    while (last != first && isBlank(last[-1])) {
        --last;
    }
    return {first, static_cast<std::size_t>(last - first)};
}

constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c) {
        table[static_cast<std::size_t>(c)] =
            static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c | 0x20 : c);
    }
    return table;
}

// Each byte with ASCII letters in lower case.
constexpr std::array<unsigned char, 256> kFolded = makeFoldTable();

// Equal without regard to the case of ASCII letters. Names nearly always match byte for byte,
// so that is tried first.
bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    if (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0) {
        return true;
    }
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kFolded[x[i]] != kFolded[y[i]]) {
            return false;
        }
    }
    return true;
}

// Up to eight bytes of text from p, each with the bit that tells ASCII letters' cases apart set.
std::uint64_t caselessWord(const char* p, std::size_t size) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, std::min<std::size_t>(size, 8));
    return word | 0x2020202020202020ull;
}

// A hash of the length and the first and last eight bytes, each byte with its 0x20 bit set, so
// that names equal under equalNoCase hash alike. Keys are hashed for every lookup, and this
// takes no loop over their bytes.
std::size_t hashNoCase(std::string_view name) {
    const std::size_t size = name.size();
    const std::uint64_t head = caselessWord(name.data(), size);
    const std::uint64_t tail = size > 8 ? caselessWord(name.data() + size - 8, 8) : 0;
    // splitmix64's finaliser, so that every bit of the words reaches the low bits.
    std::uint64_t hash = head ^ (tail * 0x9E3779B97F4A7C15ull) ^ size;
    hash = (hash ^ (hash >> 30)) * 0xBF58476D1CE4E5B9ull;
    hash = (hash ^ (hash >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::size_t>(hash ^ (hash >> 31));
}

std::string_view withoutBom(std::string_view line) {
    return line.substr(0, 3) == "\xEF\xBB\xBF" ? line.substr(3) : line;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    // Most lines are keys or comments: a line can be a section only when it starts with the
    // bracket, a blank or a byte-order mark.
    if (line.empty() || (line.front() != '[' && !isBlank(line.front()) && line.front() != '\xEF')) {
        return std::nullopt;
    }
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
    const auto* equals = static_cast<const char*>(std::memchr(line.data(), '=', line.size()));
    if (equals == nullptr) {
        return std::nullopt;
    }
    return trim({line.data(), static_cast<std::size_t>(equals - line.data())});
}

} // namespace

namespace {

// The line end a file is written back with: CR LF when it has any, else LF, else CR (a file
// saved on an old desktop); CR LF for a file without line ends.
std::string_view lineEndOf(std::string_view text) {
    if (text.find("\r\n") != std::string_view::npos) {
        return "\r\n";
    }
    if (text.find('\n') != std::string_view::npos) {
        return "\n";
    }
    return text.find('\r') != std::string_view::npos ? "\r" : "\r\n";
}

} // namespace

ProfileFile ProfileFile::parse(std::string_view text) {
    ProfileFile file;
    file.lineEnd_ = lineEndOf(text);
    file.endsWithLineEnd_ = text.empty() || text.back() == '\n' || text.back() == '\r';
    file.bytes_.assign(text);
    // CR, LF and CR LF each end a line.
    std::size_t lineCount = 1;
    for (std::size_t at = text.find_first_of("\r\n"); at != std::string_view::npos;
         at = text.find_first_of("\r\n", at + 1)) {
        ++lineCount;
    }
    file.lines_.reserve(lineCount);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        file.lines_.push_back({pos, end - pos});
        pos = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return file;
}

std::string_view ProfileFile::line(std::size_t i) const {
    const Line& line = lines_.data()[i];
    return {bytes_.data() + line.start, line.size};
}

ProfileFile::Line ProfileFile::appendLine(std::initializer_list<std::string_view> pieces) {
    Line line{bytes_.size(), 0};
    for (const std::string_view piece : pieces) {
        line.size += piece.size();
    }
    bytes_.resize(line.start + line.size);
    char* out = bytes_.data() + line.start;
    for (const std::string_view piece : pieces) {
        std::memcpy(out, piece.data(), piece.size());
        out += piece.size();
    }
    return line;
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
        const auto name = sectionName(line(i));
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
             i < lines_.size() && !sectionName(line(i)); ++i) {
            if (!trim(line(i)).empty()) {
                location.end = i + 1;
            }
        }
    }
    return location;
}

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
    return sectionReader(section).read(key);
}

ProfileKeyIndex::ProfileKeyIndex(KeyOf keyOf, const void* owner, std::size_t expected)
    : keyOf_(keyOf), owner_(owner) {
    makeRoom(expected);
}

void ProfileKeyIndex::makeRoom(std::size_t keys) {
    std::size_t size = 8;
    while (size / 8 * 7 < keys) {
        size *= 2;
    }
    if (size <= slots_.size()) {
        return;
    }
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.id != kNoId) {
            slots_[slotFor(keyOf_(owner_, slot.id), slot.hash)] = slot;
        }
    }
}

std::size_t ProfileKeyIndex::slotFor(std::string_view name, std::size_t hash) const {
    const Slot* slots = slots_.data();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots[i].id != kNoId &&
           (slots[i].hash != hash || !equalNoCase(keyOf_(owner_, slots[i].id), name))) {
        i = (i + 1) & mask;
    }
    return i;
}

std::optional<std::size_t> ProfileKeyIndex::add(std::size_t id, std::string_view name) {
    makeRoom(count_ + 1);
    const std::size_t hash = hashNoCase(name);
    Slot& slot = slots_[slotFor(name, hash)];
    if (slot.id != kNoId) {
        return slot.id;
    }
    slot = {hash, id};
    ++count_;
    return std::nullopt;
}

std::optional<std::size_t> ProfileKeyIndex::find(std::string_view name) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const Slot& slot = slots_[slotFor(name, hashNoCase(name))];
    if (slot.id == kNoId) {
        return std::nullopt;
    }
    return slot.id;
}

ProfileKeyIndex ProfileFile::sectionKeys(const Location& location) const {
    if (!location.found) {
        return {};
    }
    // The ids are line numbers.
    auto keyOfLine = [](const void* owner, std::size_t line) {
        return *keyName(static_cast<const ProfileFile*>(owner)->line(line));
    };
    ProfileKeyIndex keys(keyOfLine, this, location.end - location.sectionLine - 1);
    for (std::size_t i = location.sectionLine + 1; i < location.end; ++i) {
        if (const auto name = keyName(line(i))) {
            keys.add(i, *name);
        }
    }
    return keys;
}

ProfileSectionReader ProfileFile::sectionReader(std::string_view section) const {
    ProfileSectionReader reader;
    reader.file_ = this;
    reader.keys_ = sectionKeys(findSection(section));
    return reader;
}

std::optional<std::string> ProfileSectionReader::read(std::string_view key) const {
    const std::optional<std::size_t> line = keys_.find(key);
    if (!line) {
        return std::nullopt;
    }
    const std::string_view text = file_->line(*line);
    std::string_view value = trim(text.substr(text.find('=') + 1));
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
    write(section, {{key, std::string(value)}});
}

void ProfileFile::write(std::string_view section, const std::vector<ProfileEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    const Location location = findSection(section);
    std::size_t written = 0;
    for (const ProfileEntry& entry : entries) {
        written += entry.key.size() + 3 + entry.value.size();
    }
    const std::size_t needed = bytes_.size() + section.size() + 2 + written;
    if (needed > bytes_.capacity()) {
        bytes_.reserve(std::max(needed, 2 * bytes_.capacity()));
    }
    if (!location.found) {
        lines_.push_back(appendLine({"[", section, "]"}));
    }
    const std::size_t end = location.found ? location.end : lines_.size();
    const ProfileKeyIndex existing = sectionKeys(location);
    // Keys new to the section go after its last key line in the order given; a key given
    // twice ends with its last value, as one write after the other would leave it. A line is
    // replaced only by one with an equal key, so the index of the section stays valid.
    // The ids of the index of added keys are entry numbers, each key's first entry.
    auto keyOfEntry = [](const void* owner, std::size_t entry) {
        return (*static_cast<const std::vector<ProfileEntry>*>(owner))[entry].key;
    };
    ProfileKeyIndex addedKeys(keyOfEntry, &entries, entries.size());
    std::vector<Line> added;
    added.reserve(entries.size());
    std::vector<std::size_t> addedAt(entries.size()); // where an added entry's line is in added
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const ProfileEntry& entry = entries[e];
        const std::string_view quote = readingChanges(entry.value) ? "\"" : "";
        const Line line = appendLine({entry.key, "=", quote, entry.value, quote});
        // Line breaks in the value become blanks.
        for (std::size_t at = bytes_.find_first_of("\r\n", line.start + entry.key.size() + 1);
             at != std::string::npos; at = bytes_.find_first_of("\r\n", at + 1)) {
            bytes_[at] = ' ';
        }
        if (const auto known = existing.find(entry.key)) {
            lines_[*known] = line;
        } else if (const auto first = addedKeys.add(e, entry.key)) {
            added[addedAt[*first]] = line;
        } else {
            addedAt[e] = added.size();
            added.push_back(line);
        }
    }
    if (end == lines_.size() && !added.empty()) {
        endsWithLineEnd_ = true; // the new lines end the file, each with its line end
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), added.begin(), added.end());
}

std::string ProfileFile::text() const {
    const std::size_t lineEnds = lines_.empty() ? 0 : lines_.size() - (endsWithLineEnd_ ? 0 : 1);
    std::size_t size = lineEnds * lineEnd_.size();
    for (const Line& line : lines_) {
        size += line.size;
    }
    // Filled in place: the text of a settings file is copied a byte range at a time.
    std::string out(size, '\0');
    char* p = out.data();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_.data()[i];
        std::memcpy(p, bytes_.data() + line.start, line.size);
        p += line.size;
        if (i < lineEnds) {
            std::memcpy(p, lineEnd_.data(), lineEnd_.size());
            p += lineEnd_.size();
        }
    }
    return out;
}

bool ProfileFile::save(const std::string& path, FileError* error) const {
    return writeFileReplacing(path, text(), error);
}

} // namespace vantor
