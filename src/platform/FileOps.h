#pragma once
// File and folder operations of the package writer: plain writes into its private work folder,
// copies that never leave a half-written file behind, and temporary siblings that replace their
// target only when they are complete.

#include <string>
#include <string_view>
#include <vector>

struct stat;

namespace vantor {

// An open file descriptor, closed when the object goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Sets *error, when given, to "what: " and the system's description of err.
void describeFailure(std::string* error, const std::string& what, int err);

// Opens path for reading when it is a regular file, and fills *info; -1 otherwise. A FIFO, a
// device or a folder is refused without waiting: opening a pipe that no program writes to
// would block for ever, and opening a device can have effects of its own.
int openRegularFile(const std::string& path, struct stat& info);

// Creates or truncates path and writes bytes; false when any step fails.
bool writeWholeFile(const std::string& path, std::string_view bytes);

// Creates the folder (mode 0700); true when it exists afterwards as a folder.
bool makeFolder(const std::string& path);

// Deletes a file; removes an empty folder. False when nothing was removed.
bool removeFile(const std::string& path);
bool removeEmptyFolder(const std::string& path);

// True when both paths name the same existing file (the same device and inode).
bool sameFile(const std::string& a, const std::string& b);

// A new empty file beside `target` ("target.XXXXXX"), deleted again unless it is committed. A
// target that cannot be replaced (a folder, or a file that may not be written) gives none.
// Committing gives it the permissions of the target it replaces (a new file those of a newly
// created file, 0666 less the umask), flushes it to disk and renames it over the target.
class SiblingTempFile {
public:
    explicit SiblingTempFile(std::string target);
    ~SiblingTempFile();
    SiblingTempFile(const SiblingTempFile&) = delete;
    SiblingTempFile& operator=(const SiblingTempFile&) = delete;

    // False when the file could not be created.
    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    const std::string& target() const { return target_; }
    bool commit();

private:
    std::string target_;
    std::string path_;
    bool committed_ = false;
};

enum class BeneathStatus {
    Ok,
    CrossesLink, // a component below the folder is a symbolic link
    CannotWrite, // *error says why
};

// Writes bytes as the file folder/components[0]/.../components[n-1], creating the folders on
// the way. Nothing below folder is followed: a component that is a symbolic link refuses the
// write, and the file is created anew under a temporary name and renamed over whatever bore its
// name, so that a link (or a FIFO) of that name is replaced, never written through. A write
// that fails leaves no file behind and an earlier file of that name as it was.
BeneathStatus writeFileBeneath(const std::string& folder,
                               const std::vector<std::string>& components, std::string_view bytes,
                               std::string* error);

// Copies source to target through a temporary sibling, replacing an existing target only when
// the copy is complete. False when source cannot be read or the copy cannot be written.
bool copyFileReplacing(const std::string& source, const std::string& target);

} // namespace vantor
