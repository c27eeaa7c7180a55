#include "platform/Files.h"

#include "platform/FileOps.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

void setError(FileError* error, const std::string& path, int cause) {
    if (error != nullptr) {
        *error = {path, cause};
    }
}

} // namespace

std::string describeFileError(const FileError& error) {
    const char* reason = error.cause == kFileNotReplaceable
                             ? "the file cannot be read whole, so it is not replaced"
                             : std::strerror(error.cause);
    return error.path + ": " + reason;
}

FileContents readFile(const std::string& path, std::uint64_t maxBytes) {
    FileContents result;
    struct stat info {};
    FileDescriptor fd(openRegularFile(path, info));
    if (fd.get() < 0) {
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

namespace {

// Reading a mapped file whose pages the kernel can no longer supply raises SIGBUS. The guard
// answers it for the mappings it watches by putting a page of zeros where the file's page was,
// so the reader runs on and its owner learns from the slot's flag that the bytes were lost.
struct GuardSlot {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> faulted{false};
};

constexpr int kGuardSlots = 16;
GuardSlot gGuardSlots[kGuardSlots];
struct sigaction gPreviousBusHandler {};
std::uintptr_t gPageSize = 4096;

void passOnBusError(int signal, siginfo_t* info, void* context) {
    const struct sigaction& previous = gPreviousBusHandler;
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
    } else {
        ::signal(SIGBUS, SIG_DFL);
        ::raise(SIGBUS);
    }
}

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : gGuardSlots) {
        const std::uintptr_t begin = slot.begin.load();
        if (begin == 0 || address < begin || address >= slot.end.load()) {
            continue;
        }
        void* page = reinterpret_cast<void*>(address & ~(gPageSize - 1));
        if (::mmap(page, gPageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED) {
            slot.faulted.store(true);
            return; // the read is repeated and finds zeros
        }
    }
    passOnBusError(signal, info, context);
}

void installBusErrorGuard() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        gPageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &gPreviousBusHandler);
    });
}

// The slot now watching [data, data + size), or -1 when every slot is taken (the mapping then
// goes unguarded, as any mapping would).
int watchMapping(const void* data, std::size_t size) {
    installBusErrorGuard();
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    for (int i = 0; i < kGuardSlots; ++i) {
        std::uintptr_t expected = 0;
        if (gGuardSlots[i].begin.compare_exchange_strong(expected, begin)) {
            gGuardSlots[i].faulted.store(false);
            gGuardSlots[i].end.store(begin + size);
            return i;
        }
    }
    return -1;
}

void unwatchMapping(int slot) {
    if (slot >= 0) {
        gGuardSlots[slot].end.store(0);
        gGuardSlots[slot].begin.store(0);
    }
}

} // namespace

MappedFile::~MappedFile() { unmap(); }

MappedFile::MappedFile(MappedFile&& other) noexcept
    : status_(other.status_), data_(other.data_), size_(other.size_), guard_(other.guard_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.guard_ = -1;
}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        unmap();
        status_ = other.status_;
        data_ = other.data_;
        size_ = other.size_;
        guard_ = other.guard_;
        other.data_ = nullptr;
        other.size_ = 0;
        other.guard_ = -1;
    }
    return *this;
}

bool MappedFile::intact() const { return guard_ < 0 || !gGuardSlots[guard_].faulted.load(); }

void MappedFile::unmap() {
    if (data_ != nullptr) {
        unwatchMapping(guard_);
        guard_ = -1;
        ::munmap(data_, size_);
        data_ = nullptr;
    }
    size_ = 0;
}

MappedFile MappedFile::open(const std::string& path, std::uint64_t maxBytes) {
    MappedFile file;
    struct stat info {};
    FileDescriptor fd(openRegularFile(path, info));
    if (fd.get() < 0) {
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
        file.guard_ = watchMapping(data, file.size_);
    }
    file.status_ = ReadStatus::Ok;
    return file;
}

bool writeFileReplacing(const std::string& path, std::string_view bytes, FileError* error) {
    SiblingTempFile temp(path);
    if (!temp.ok()) {
        setError(error, path, errno);
        return false;
    }
    if (!writeWholeFile(temp.path(), bytes) || !temp.commit()) {
        setError(error, path, errno);
        return false;
    }
    return true;
}

} // namespace vantor
