// Writes the benchmarks' generated model to a file, for benchmarks outside this program (the
// WebAssembly reader's, wasm-read.mjs). Usage: vantor-bench-model PATH MEGABYTES

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "LargeModel.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: %s PATH MEGABYTES\n", argv[0]);
        return 2;
    }
    const std::string text =
        vantor::bench::makeLargeMqo(static_cast<std::size_t>(std::atoi(argv[2])) << 20);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? 0 : 1;
}
