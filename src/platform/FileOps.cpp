#include "platform/FileOps.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The pattern of a temporary sibling: "target.XXXXXX", the target's own name shortened where
// the whole would pass the longest name a folder entry may have.
std::string siblingPattern(const std::string& target) {
    constexpr std::string_view kSuffix = ".XXXXXX";
    const std::size_t nameStart = target.rfind('/') + 1; // 0 when there is no slash
    const std::size_t keep = std::min(target.size() - nameStart, NAME_MAX - kSuffix.size());
    return target.substr(0, nameStart + keep) + std::string(kSuffix);
}

// Creates a new file with a name of its own in the folder dir; -1 when that fails.
int createTemporaryIn(int dir, std::string& name) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".vantor-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::openat(dir, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

int openRegularFile(const std::string& path, struct stat& info) {
    // Looked at first so that nothing but a regular file is ever opened; looked at again on
    // the open file, which is what is read, whatever the name means by then.
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void describeFailure(std::string* error, const std::string& what, int err) {
    if (error != nullptr) {
        *error = what + ": " + std::strerror(err);
    }
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    const bool written = writeAll(fd, bytes.data(), bytes.size());
    return ::close(fd) == 0 && written;
}

bool makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0) {
        return true;
    }
    struct stat info {};
    return errno == EEXIST && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool removeEmptyFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat infoA {};
    struct stat infoB {};
    return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
           infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

SiblingTempFile::SiblingTempFile(std::string target) : target_(std::move(target)) {
    // What cannot be replaced is refused before anything is written, so that a writer with two
    // targets never commits one and then fails on the other; errno then says why. A folder
    // cannot be renamed over, and a file the user may not write (a read-only file) is not
    // replaced: renaming over it would get round its permissions.
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return;
    }
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT) {
        return;
    }
    std::string pattern = siblingPattern(target_);
    const int fd = ::mkstemp(pattern.data());
    if (fd >= 0) {
        ::close(fd);
        path_ = std::move(pattern);
    }
}

SiblingTempFile::~SiblingTempFile() {
    if (ok() && !committed_) {
        ::unlink(path_.c_str());
    }
}

bool SiblingTempFile::commit() {
    if (!ok() || committed_) {
        return false;
    }
    mode_t mode = newFileMode();
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        mode = existing.st_mode & 07777;
    }
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool flushed = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed || ::rename(path_.c_str(), target_.c_str()) != 0) {
        return false;
    }
    committed_ = true;
    return true;
}

BeneathStatus writeFileBeneath(const std::string& folder,
                               const std::vector<std::string>& components, std::string_view bytes,
                               std::string* error) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0 || components.empty()) {
        describeFailure(error, folder, components.empty() ? EINVAL : errno);
        return BeneathStatus::CannotWrite;
    }
    std::string path = folder;
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        const char* part = components[i].c_str();
        path += components[i] + "/";
        if (::mkdirat(dir.get(), part, 0777) != 0 && errno != EEXIST) {
            describeFailure(error, path, errno);
            return BeneathStatus::CannotWrite;
        }
        FileDescriptor sub(::openat(dir.get(), part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (sub.get() < 0) {
            const int cause = errno;
            struct stat info {};
            if (::fstatat(dir.get(), part, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
                return BeneathStatus::CrossesLink;
            }
            describeFailure(error, path, cause);
            return BeneathStatus::CannotWrite;
        }
        dir = std::move(sub);
    }
    path += components.back();
    std::string temp;
    const int fd = createTemporaryIn(dir.get(), temp);
    if (fd < 0) {
        describeFailure(error, path, errno);
        return BeneathStatus::CannotWrite;
    }
    bool written = writeAll(fd, bytes.data(), bytes.size());
    int cause = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        cause = errno;
    }
    if (written && ::renameat(dir.get(), temp.c_str(), dir.get(), components.back().c_str()) != 0) {
        written = false;
        cause = errno;
    }
    if (!written) {
        ::unlinkat(dir.get(), temp.c_str(), 0);
        describeFailure(error, path, cause);
        return BeneathStatus::CannotWrite;
    }
    return BeneathStatus::Ok;
}

bool copyFileReplacing(const std::string& source, const std::string& target) {
    struct stat info {};
    const int in = openRegularFile(source, info);
    if (in < 0) {
        return false;
    }
    SiblingTempFile temp(target);
    const int out = temp.ok() ? ::open(temp.path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC) : -1;
    bool copied = out >= 0;
    char buffer[65536];
    while (copied) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            copied = n == 0;
            break;
        }
        copied = writeAll(out, buffer, static_cast<std::size_t>(n));
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0) {
        copied = false;
    }
    return copied && temp.commit();
}

} // namespace vantor
