// Finding the images a model names: many names that resolve to nothing, beside a "textures"
// folder of many files. One resolver lists that folder once for all of them.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "LargeModel.h"
#include "platform/FileOps.h"
#include "platform/StoredNames.h"

namespace vantor::bench {

namespace {

constexpr int kFolderFiles = 100000;
constexpr int kMissingNames = 1000;

std::string modelFolder() {
    static const std::string folder = [] {
        const std::filesystem::path path = benchFolder() / "resolver";
        std::filesystem::create_directories(path / "textures");
        for (int i = 0; i < kFolderFiles; ++i) {
            std::string name = std::to_string(i);
            name += ".png";
            writeWholeFile((path / "textures" / name).string(), "");
        }
        return path.string() + "/";
    }();
    return folder;
}

void BM_ResolveMissingNamesBesideALargeFolder(benchmark::State& state) {
    const std::string folder = modelFolder();
    for (auto _ : state) {
        StoredNameResolver resolver(folder);
        int found = 0;
        for (int i = 0; i < kMissingNames; ++i) {
            std::string name = "C:\\maps\\missing";
            name += std::to_string(i);
            name += ".png";
            found += resolver.resolve(name, CodePage::Utf8).has_value();
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_ResolveMissingNamesBesideALargeFolder)->Unit(benchmark::kMillisecond);

void BM_ResolveANameOfManyDotComponents(benchmark::State& state) {
    const std::string folder = modelFolder();
    std::string name;
    for (int i = 0; i < 300000; ++i) {
        name += ".\\";
    }
    name += "x.png";
    for (auto _ : state) {
        benchmark::DoNotOptimize(resolveStoredName(name, CodePage::Utf8, folder));
    }
}
BENCHMARK(BM_ResolveANameOfManyDotComponents)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace vantor::bench
