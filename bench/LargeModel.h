#pragma once
// A generated model for the benchmarks: grid objects of 60,000 vertices each (250 by 240)
// with textured quads, as many objects as it takes to reach the size asked for.

#include <cstddef>
#include <string>

namespace vantor::bench {

// MQO text of about targetBytes bytes (never less than one object). Deterministic.
std::string makeLargeMqo(std::size_t targetBytes);

// Writes makeLargeMqo(targetBytes) to path once; later calls with the same path reuse it.
const std::string& largeMqoFile(const std::string& path, std::size_t targetBytes);

} // namespace vantor::bench
