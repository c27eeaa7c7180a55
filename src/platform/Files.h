#pragma once
// Whole-file reading and writing. Files are read into memory in one step and written in one
// step, so the parsers and writers work on byte buffers.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

enum class ReadStatus {
    Ok,
    CannotOpen, // missing, unreadable, or not a regular file (a folder, say)
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

// Writes bytes to path so that a failure never destroys the file that was there: the bytes go
// to a temporary file beside the target, which is flushed and then renamed over it. A new
// file gets the permissions of a newly created file (0666 less the umask); a replaced file
// keeps its permissions. On failure returns false and describes the cause in *error.
bool writeFileReplacing(const std::string& path, std::string_view bytes,
                        std::string* error = nullptr);

} // namespace vantor
