// Publishing the large generated model: the keyed stream and the model writer on their own, the
// archive step on its own, and the whole package at archive levels 0 and 9. At level 9 most of
// the time should go to deflate, not to building the model file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "LargeModel.h"
#include "model/MqoReader.h"
#include "platform/FileOps.h"
#include "publish/KeyedStream.h"
#include "publish/ModelFile.h"
#include "publish/Package.h"

namespace vantor::bench {

namespace {

constexpr std::size_t kModelBytes = 100u << 20;
constexpr std::size_t kImageBytes = 512u << 10;

// The model, its two images (incompressible, as JPEG data is) and a page template, in a folder
// of their own; read once.
struct PublishFixture {
    std::filesystem::path folder;
    QelScene scene;

    PublishFixture() {
        folder = benchFolder() / "publish";
        std::filesystem::create_directories(folder / "out");
        const std::string model = (folder / "large.mqo").string();
        largeMqoFile(model, kModelBytes);
        std::mt19937 random(1);
        for (const char* name : {"ground.jpg", "stone.jpg"}) {
            std::string image(kImageBytes, '\0');
            for (char& c : image) {
                c = static_cast<char>(random());
            }
            writeWholeFile((folder / name).string(), image);
        }
        writeWholeFile((folder / "template.html").string(), "<html><body>%1</body></html>");
        if (!scene.LoadMQO(model)) {
            scene.Clear();
        }
    }

    PackageRequest request(int level) const {
        PackageRequest r;
        r.modelPath = (folder / "large.mqo").string();
        r.outputFolder = (folder / "out").string() + "/";
        r.templatePath = (folder / "template.html").string();
        r.level = level;
        r.seed = 1;
        return r;
    }
};

PublishFixture& fixture() {
    static PublishFixture f;
    return f;
}

void BM_KeyedStreamBytes(benchmark::State& state) {
    const std::string input(64u << 20, 'x');
    for (auto _ : state) {
        KeyedStream stream({1, 2, 3, 4});
        stream.putBytes(input);
        benchmark::DoNotOptimize(stream.bytes().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}
BENCHMARK(BM_KeyedStreamBytes)->Unit(benchmark::kMillisecond);

void BM_BuildModelFile(benchmark::State& state) {
    const QelScene& scene = fixture().scene;
    std::size_t size = 0;
    for (auto _ : state) {
        const auto bytes = buildModelFile(scene, {1, 2, 3, 4}, true);
        size = bytes ? bytes->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["model_MB"] = size / 1048576.0;
    state.counters["objects"] = scene.objectCount;
}
BENCHMARK(BM_BuildModelFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The archive step alone: the model file and the two texture files packed at a level.
void BM_ZipEntries(benchmark::State& state) {
    PublishFixture& f = fixture();
    const std::string work = (f.folder / "work").string() + "/";
    std::filesystem::create_directories(work);
    const auto model = buildModelFile(f.scene, {1, 2, 3, 4}, true);
    writeWholeFile(work + "large.qel", *model);
    std::vector<ZipEntry> entries{{"large\\large.qel", work + "large.qel"}};
    for (const char* name : {"ground.jpg", "stone.jpg"}) {
        entries.push_back({std::string("large\\") + name, (f.folder / name).string()});
    }
    const std::string archive = (f.folder / "out" / "zip-only.zip").string();
    for (auto _ : state) {
        if (!zipEntries(archive, entries, static_cast<int>(state.range(0)))) {
            state.SkipWithError("zipEntries failed");
        }
    }
    state.counters["zip_MB"] = std::filesystem::file_size(archive) / 1048576.0;
}
BENCHMARK(BM_ZipEntries)->Arg(0)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WritePackage(benchmark::State& state) {
    PublishFixture& f = fixture();
    const QelParameter params = editorStartupParameters();
    const PackageRequest request = f.request(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const PackageResult result = writePackage(f.scene, params, request);
        if (!result.ok()) {
            state.SkipWithError(("writePackage failed: " + result.path).c_str());
        }
    }
    state.counters["zip_MB"] =
        std::filesystem::file_size(f.folder / "out" / "large.zip") / 1048576.0;
}
BENCHMARK(BM_WritePackage)->Arg(0)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

} // namespace vantor::bench
