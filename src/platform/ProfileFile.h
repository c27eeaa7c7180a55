#pragma once
// Profile (INI) files with the behaviour settings files have always had on the desktop this
// program comes from: section and key names match without regard to case; a write replaces
// the key's value in place and keeps every other line and section; a missing key is added at
// the end of its section and a missing section at the end of the file; values are read
// trimmed and capped at 2047 bytes.

#include "platform/Files.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantor {

inline constexpr std::size_t kMaxProfileTextBytes = 2047;

class ProfileFile;

// One key to write and its value. The key names a key (a string literal, say) for the write it
// is passed to; it is not kept.
struct ProfileEntry {
    std::string_view key;
    std::string value;
};

// Keys hashed by name, for finding one without a scan: the key lines of a section, or the
// entries of a write. Names compare without regard to the case of ASCII letters; of two ids with
// one key the first added counts. The index holds only ids and asks keyOf for an id's key.
class ProfileKeyIndex {
public:
    using KeyOf = std::string_view (*)(const void* owner, std::size_t id);

    ProfileKeyIndex() = default;
    // expected: how many keys are to come.
    ProfileKeyIndex(KeyOf keyOf, const void* owner, std::size_t expected);
    // Adds id, whose key is name, unless the index holds that key already: then it keeps the
    // id it has, which is returned.
    std::optional<std::size_t> add(std::size_t id, std::string_view name);
    std::optional<std::size_t> find(std::string_view name) const;

private:
    static constexpr std::size_t kNoId = static_cast<std::size_t>(-1);
    struct Slot {
        std::size_t hash = 0;
        std::size_t id = kNoId;
    };
    void makeRoom(std::size_t keys);
    // The slot that holds name (whose hash is given), or the empty slot where it would go.
    std::size_t slotFor(std::string_view name, std::size_t hash) const;

    KeyOf keyOf_ = nullptr;
    const void* owner_ = nullptr;
    std::vector<Slot> slots_; // open addressing; the size is a power of two, at most 7/8 full
    std::size_t count_ = 0;
};

// The keys of one section of a profile, found in one pass, for reading many keys: each read
// then costs no scan of the file. Valid while the profile is neither changed nor destroyed.
class ProfileSectionReader {
public:
    // As ProfileFile::read for this reader's section.
    std::optional<std::string> read(std::string_view key) const;

private:
    friend class ProfileFile;
    const ProfileFile* file_ = nullptr;
    ProfileKeyIndex keys_;
};

class ProfileFile {
public:
    // The lines of an INI text; any text is accepted. CR, LF and CR LF each end a line.
    static ProfileFile parse(std::string_view text);
    // The file's content; a missing or unreadable file is an empty profile, and *wasRead (when
    // given) says which it was.
    static ProfileFile load(const std::string& path, bool* wasRead = nullptr);
    // The file's content, to be changed and saved: an empty profile when the file does not
    // exist; nothing when it exists but cannot be read whole, since saving over it would lose
    // what it holds (*error then names the file, with the cause kFileNotReplaceable).
    static std::optional<ProfileFile> loadForUpdate(const std::string& path,
                                                    FileError* error = nullptr);

    // The value of key in section, trimmed of blanks (and of one pair of enclosing quotes),
    // at most kMaxProfileTextBytes bytes; nothing when the section or the key is missing.
    std::optional<std::string> read(std::string_view section, std::string_view key) const;

    // A reader of the keys of section (of none when the section is missing).
    ProfileSectionReader sectionReader(std::string_view section) const;

    // Sets key in section to value (line breaks in value become blanks). A value that reading
    // would trim or unquote is written in double quotes, so that read gives it back.
    void write(std::string_view section, std::string_view key, std::string_view value);
    // Sets several keys of one section at once, as one write after the other would, in one
    // pass over the file.
    void write(std::string_view section, const std::vector<ProfileEntry>& entries);

    // The whole text, with the line ends the file had (CR LF for a new file).
    std::string text() const;

    // Writes text() to path; the old file stays intact when that fails (cause in *error).
    bool save(const std::string& path, FileError* error = nullptr) const;

private:
    friend class ProfileSectionReader;

    struct Location {
        std::size_t sectionLine = 0; // index of the "[section]" line
        std::size_t end = 0;         // index after the last key line of the section
        bool found = false;
    };
    Location findSection(std::string_view section) const;

    // Where the bytes of a line lie in bytes_.
    struct Line {
        std::size_t start = 0;
        std::size_t size = 0;
    };
    std::string_view line(std::size_t i) const;
    // Appends the pieces to bytes_ as the bytes of a new line.
    Line appendLine(std::initializer_list<std::string_view> pieces);
    ProfileKeyIndex sectionKeys(const Location& location) const;

    // The text parsed, then each line written since: a parse copies the text once, and a
    // line is copied again only when it is written.
    std::string bytes_;
    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";
    bool endsWithLineEnd_ = true;
};

} // namespace vantor
