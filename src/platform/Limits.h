#pragma once
// Every limit the program imposes on its inputs, in one place. Past a limit is a reported
// error, never a silent truncation.

#include <cstddef>
#include <cstdint>

namespace vantor {

// An object may hold at most this many vertices: the reader refuses a larger object with
// error 2, whose message names the number.
inline constexpr std::int32_t kMaxObjectVertices = 65536;

// An MQO file (or the model inside an .mqoz archive) larger than this is refused before it
// is read into memory.
inline constexpr std::uint64_t kMaxModelFileBytes = std::uint64_t{4} << 30;

} // namespace vantor
