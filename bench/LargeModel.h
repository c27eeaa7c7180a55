#pragma once
// A generated model for the benchmarks: grid objects of 60,000 vertices each (250 by 240)
// with textured quads, as many objects as it takes to reach the size asked for.

#include <cstddef>
#include <filesystem>
#include <string>

namespace vantor::bench {

// MQO text of about targetBytes bytes (never less than one object). Deterministic.
std::string makeLargeMqo(std::size_t targetBytes);

// The benchmarks' own folder ("vantor-bench-XXXXXX" under the system's temporary folder, mode
// 0700), made on the first call and removed with everything in it when the program ends.
const std::filesystem::path& benchFolder();

// Writes makeLargeMqo(targetBytes) to path once; later calls with the same path reuse it.
const std::string& largeMqoFile(const std::string& path, std::size_t targetBytes);

} // namespace vantor::bench
