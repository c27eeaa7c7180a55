#include "platform/Files.h"

#include "platform/FileOps.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

void describe(std::string* error, const std::string& what, int err) {
    if (error != nullptr) {
        *error = what + ": " + std::strerror(err);
    }
}

} // namespace

FileContents readFile(const std::string& path, std::uint64_t maxBytes) {
    FileContents result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return result;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return result;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        const ssize_t n = ::read(fd.get(), result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break; // the file shrank while we read it, or the read failed
        }
        done += static_cast<std::size_t>(n);
    }
    if (done != result.bytes.size()) {
        result.bytes.clear();
        result.status = ReadStatus::ReadError;
        return result;
    }
    result.status = ReadStatus::Ok;
    return result;
}

MappedFile::~MappedFile() { unmap(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : status_(other.status_), data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        unmap();
        status_ = other.status_;
        data_ = other.data_;
        size_ = other.size_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    return *this;
}

void MappedFile::unmap() {
    if (data_ != nullptr) {
        ::munmap(data_, size_);
        data_ = nullptr;
    }
    size_ = 0;
}

MappedFile MappedFile::open(const std::string& path, std::uint64_t maxBytes) {
    MappedFile file;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return file;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return file;
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        file.status_ = ReadStatus::TooLarge;
        return file;
    }
    if (info.st_size > 0) {
        void* data = ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE,
                            fd.get(), 0);
        if (data == MAP_FAILED) {
            file.status_ = ReadStatus::ReadError;
            return file;
        }
        ::madvise(data, static_cast<std::size_t>(info.st_size), MADV_SEQUENTIAL);
        file.data_ = data;
        file.size_ = static_cast<std::size_t>(info.st_size);
    }
    file.status_ = ReadStatus::Ok;
    return file;
}

bool writeFileReplacing(const std::string& path, std::string_view bytes, std::string* error) {
    SiblingTempFile temp(path);
    if (!temp.ok()) {
        describe(error, path, errno);
        return false;
    }
    if (!writeWholeFile(temp.path(), bytes) || !temp.commit()) {
        describe(error, path, errno);
        return false;
    }
    return true;
}

} // namespace vantor
