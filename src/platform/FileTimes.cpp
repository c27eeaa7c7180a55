#include "platform/FileTimes.h"

#include <sys/stat.h>

namespace vantor {

std::uint32_t dosTimeFromLocalTime(std::time_t moment) {
    std::tm local{};
    if (::localtime_r(&moment, &local) == nullptr) {
        return kEarliestDosTime;
    }
    const int year = local.tm_year + 1900;
    if (year < 1980) {
        return kEarliestDosTime;
    }
    if (year > 2107) {
        return (127u << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u);
    }
    const auto date =
        static_cast<std::uint32_t>((year - 1980) << 9 | (local.tm_mon + 1) << 5 | local.tm_mday);
    // A leap second (60) is held as 59.
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
    const auto time =
        static_cast<std::uint32_t>(local.tm_hour << 11 | local.tm_min << 5 | second / 2);
    return date << 16 | time;
}

std::optional<std::uint32_t> fileDosTime(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return dosTimeFromLocalTime(info.st_mtim.tv_sec);
}

} // namespace vantor
