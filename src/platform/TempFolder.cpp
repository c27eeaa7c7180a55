#include "platform/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace vantor {

namespace {

constexpr std::string_view kFolderPrefix = "vantor-";
constexpr std::size_t kFolderNameSize = kFolderPrefix.size() + 6; // mkdtemp's six characters
constexpr std::size_t kMaxStatBytes = 4096;
constexpr std::size_t kMaxMarkBytes = 160;
constexpr std::size_t kMaxBootIdBytes = 64;
// Fields of /proc/PID/stat after the command name in parentheses: the state is field 3 and
// the start time field 22.
constexpr int kStartTimeFieldAfterName = 22 - 3;

// Up to maxBytes of an open file (files under /proc report no size, so this reads until end).
std::optional<std::string> readUpTo(int fd, std::size_t maxBytes) {
    std::string bytes(maxBytes, '\0');
    std::size_t done = 0;
    while (done < maxBytes) {
        const ssize_t n = ::read(fd, bytes.data() + done, maxBytes - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = readUpTo(fd, maxBytes);
    ::close(fd);
    return bytes;
}

// The unsigned decimal at the start of text, which must be followed by `end`; advances text.
template <class T>
std::optional<T> takeNumber(std::string_view& text, char end) {
    T value{};
    const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || next == text.data() || next == text.data() + text.size() ||
        *next != end) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(next - text.data()) + 1);
    return value;
}

// The start time of process pid in clock ticks after boot; nothing when it cannot be read.
std::optional<unsigned long long> processStartTime(pid_t pid) {
    const std::optional<std::string> stat =
        readSmallFile("/proc/" + std::to_string(pid) + "/stat", kMaxStatBytes);
    // The command name may hold blanks and parentheses; the fields start after its last ")".
    const std::size_t nameEnd = stat ? stat->rfind(')') : std::string::npos;
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::string_view fields = std::string_view(*stat).substr(nameEnd + 1);
    for (int field = 0; field < kStartTimeFieldAfterName; ++field) {
        const std::size_t blank = fields.find(' ', 1);
        if (blank == std::string_view::npos) {
            return std::nullopt;
        }
        fields.remove_prefix(blank);
    }
    fields.remove_prefix(1);
    return takeNumber<unsigned long long>(fields, ' ');
}

// Where a process id means something: the PID namespace (the device and inode of
// /proc/self/ns/pid) and the boot (/proc/sys/kernel/random/boot_id). A process in a sandbox or a
// container has ids of its own namespace, so an id of another namespace or boot tells nothing
// about the processes this run can see.
struct PidSpace {
    unsigned long long nsDevice;
    unsigned long long nsInode;
    std::string bootId;
    bool operator==(const PidSpace&) const = default;
};

struct OwnerMark {
    pid_t pid;
    unsigned long long startTime;
    PidSpace space;
};

// This process's PID namespace and boot; nothing when either cannot be read.
std::optional<PidSpace> currentPidSpace() {
    struct stat info {};
    if (::stat("/proc/self/ns/pid", &info) != 0) {
        return std::nullopt;
    }
    std::optional<std::string> boot =
        readSmallFile("/proc/sys/kernel/random/boot_id", kMaxBootIdBytes);
    if (!boot) {
        return std::nullopt;
    }
    while (!boot->empty() && (boot->back() == '\n' || boot->back() == ' ')) {
        boot->pop_back();
    }
    const bool plain = !boot->empty() && std::all_of(boot->begin(), boot->end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '-';
    });
    if (!plain) {
        return std::nullopt;
    }
    return PidSpace{static_cast<unsigned long long>(info.st_dev),
                    static_cast<unsigned long long>(info.st_ino), std::move(*boot)};
}

std::string formatMark(const OwnerMark& mark) {
    return std::to_string(mark.pid) + " " + std::to_string(mark.startTime) + " " +
           std::to_string(mark.space.nsDevice) + " " + std::to_string(mark.space.nsInode) + " " +
           mark.space.bootId + "\n";
}

// "PID STARTTIME NSDEVICE NSINODE BOOTID\n" and nothing else; a process id must be positive
// (kill() gives 0 and negative ids other meanings). A mark of any other form (such as the
// two-field mark of earlier versions) tells too little to be acted on.
std::optional<OwnerMark> parseMark(std::string_view text) {
    const std::optional<pid_t> pid = takeNumber<pid_t>(text, ' ');
    const std::optional<unsigned long long> start =
        pid ? takeNumber<unsigned long long>(text, ' ') : std::nullopt;
    const std::optional<unsigned long long> nsDevice =
        start ? takeNumber<unsigned long long>(text, ' ') : std::nullopt;
    const std::optional<unsigned long long> nsInode =
        nsDevice ? takeNumber<unsigned long long>(text, ' ') : std::nullopt;
    if (!pid || *pid <= 0 || !nsInode || text.size() < 2 || !text.ends_with('\n')) {
        return std::nullopt;
    }
    const std::string_view boot = text.substr(0, text.size() - 1);
    if (boot.find_first_of(" \n") != std::string_view::npos) {
        return std::nullopt;
    }
    return OwnerMark{*pid, *start, {*nsDevice, *nsInode, std::string(boot)}};
}

// The owner mark of a folder that this user made as a private folder, or nothing when the
// folder is anything else.
std::optional<OwnerMark> readOwnerMark(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & 07777) != 0700) {
        return std::nullopt;
    }
    const std::string markPath = folder + "/" + kTempOwnerFileName;
    const int fd = ::open(markPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        info.st_size <= static_cast<off_t>(kMaxMarkBytes)) {
        bytes = readUpTo(fd, kMaxMarkBytes);
    }
    ::close(fd);
    return bytes ? parseMark(*bytes) : std::nullopt;
}

// Whether the marked process has ended. A process of that id that started at another time is
// a later one. An owner in another PID namespace or boot may be running where this run cannot
// see it, and whatever cannot be told for sure counts as running.
bool ownerHasEnded(const OwnerMark& mark, const std::optional<PidSpace>& ours) {
    if (!ours || !(mark.space == *ours)) {
        return false;
    }
    if (::kill(mark.pid, 0) != 0 && errno == ESRCH) {
        return true;
    }
    const std::optional<unsigned long long> start = processStartTime(mark.pid);
    return start && *start != mark.startTime;
}

class PrivateFolder {
public:
    ~PrivateFolder() { remove(); }

    const std::optional<std::string>& ensure() {
        if (!folder_) {
            std::error_code error;
            const std::filesystem::path base = std::filesystem::temp_directory_path(error);
            const std::filesystem::path folder = error ? std::filesystem::path("/tmp") : base;
            removeAbandonedTempFolders(folder.string());
            std::string pattern = folder / "vantor-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) {
                markTempFolderOwner(pattern);
                folder_ = pattern + "/";
            }
        }
        return folder_;
    }

    void remove() {
        if (folder_) {
            std::error_code ignored;
            std::filesystem::remove_all(*folder_, ignored);
            folder_.reset();
        }
    }

private:
    std::optional<std::string> folder_;
};

PrivateFolder& privateFolder() {
    static PrivateFolder folder;
    return folder;
}

} // namespace

std::optional<std::string> processTempFolder() {
    return privateFolder().ensure();
}

void removeProcessTempFolder() {
    privateFolder().remove();
}

bool markTempFolderOwner(const std::string& folder) {
    const std::optional<unsigned long long> start = processStartTime(::getpid());
    std::optional<PidSpace> space = currentPidSpace();
    if (!start || !space) {
        return false;
    }
    const std::string mark = formatMark({::getpid(), *start, std::move(*space)});
    const std::string path = folder + "/" + kTempOwnerFileName;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, mark.data(), mark.size()) == static_cast<ssize_t>(mark.size());
    ::close(fd);
    if (!written) {
        ::unlink(path.c_str());
    }
    return written;
}

int removeAbandonedTempFolders(const std::string& baseFolder) {
    DIR* dir = ::opendir(baseFolder.c_str());
    if (dir == nullptr) {
        return 0;
    }
    const std::optional<PidSpace> ours = currentPidSpace();
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() != kFolderNameSize || !name.starts_with(kFolderPrefix)) {
            continue;
        }
        const std::string folder = baseFolder + "/" + std::string(name);
        const std::optional<OwnerMark> mark = readOwnerMark(folder);
        if (mark && ownerHasEnded(*mark, ours)) {
            std::error_code error;
            std::filesystem::remove_all(folder, error);
            removed += error ? 0 : 1;
        }
    }
    ::closedir(dir);
    return removed;
}

} // namespace vantor
