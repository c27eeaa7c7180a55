#pragma once
// File times in the DOS form that zip archives store: the date in the high 16 bits (years
// since 1980, month, day) and the time in the low 16 bits (hours, minutes, seconds / 2).

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace vantor {

// 1980-01-01 00:00:00, the earliest DOS time: the entry date of reproducible archives.
inline constexpr std::uint32_t kEarliestDosTime = (1u << 5 | 1u) << 16;

// A moment in local time as a DOS date and time. Moments before 1980 give the earliest DOS
// time and moments after 2107 the latest, since the form cannot hold them.
std::uint32_t dosTimeFromLocalTime(std::time_t moment);

// The file's last modification time in local time as a DOS date and time; nothing when the
// file is not found.
std::optional<std::uint32_t> fileDosTime(const std::string& path);

} // namespace vantor
