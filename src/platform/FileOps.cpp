#include "platform/FileOps.h"

#include <cerrno>
#include <cstdio>
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

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

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

bool canOpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
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
    std::string pattern = target_ + ".XXXXXX";
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

bool copyFileReplacing(const std::string& source, const std::string& target) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
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
