#pragma once
// Whole-file reading and writing. Files are read into memory in one step and written in one
// step, so the parsers and writers work on byte buffers.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

enum class ReadStatus {
    Ok,
    CannotOpen, // missing, unreadable, or not a regular file (a folder, a FIFO, a device)
    TooLarge,   // larger than the caller's limit; nothing was read
    ReadError,  // opened, but reading failed part way
};

struct FileContents {
    ReadStatus status = ReadStatus::CannotOpen;
    std::string bytes;
    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads a regular file whole, refusing files larger than maxBytes.
FileContents readFile(const std::string& path, std::uint64_t maxBytes);

// A regular file mapped into memory for reading: large models are parsed in place, without
// copying them into a buffer first. Empty files map to an empty view. Should the file shrink
// or fail to read while it is mapped (another program truncates it, a network share drops),
// the missing bytes read as zeros instead of ending the program, and intact() turns false.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps a regular file of at most maxBytes bytes; the status says why it could not.
    static MappedFile open(const std::string& path, std::uint64_t maxBytes);

    ReadStatus status() const { return status_; }
    bool ok() const { return status_ == ReadStatus::Ok; }
    std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }
    // False when part of the file could not be read while it was mapped: what bytes() gave
    // is then not the file's content.
    bool intact() const;

private:
    void unmap();

    ReadStatus status_ = ReadStatus::CannotOpen;
    void* data_ = nullptr;
    std::size_t size_ = 0;
    int guard_ = -1; // slot of the bus-error guard that watches the mapping
};

// Why a file could not be saved: the file, and the system's error number of the call that
// failed (errno), or kFileNotReplaceable. Each program words the reason in its own language.
struct FileError {
    std::string path;
    int cause = 0;
};

// The cause given when a file exists but cannot be read whole, so that saving over it would
// lose what it holds.
inline constexpr int kFileNotReplaceable = -1;

// "path: reason", the reason in the C library's English words.
std::string describeFileError(const FileError& error);

// Writes bytes to path so that a failure never destroys the file that was there: the bytes go
// to a temporary file beside the target, which is flushed and then renamed over it. A new
// file gets the permissions of a newly created file (0666 less the umask); a replaced file
// keeps its permissions. On failure returns false and sets *error.
bool writeFileReplacing(const std::string& path, std::string_view bytes,
                        FileError* error = nullptr);

} // namespace vantor
