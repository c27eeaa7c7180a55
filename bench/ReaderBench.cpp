// Reading a large generated model: from a buffer (the parser alone) and from a file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sys/resource.h>

#include "LargeModel.h"
#include "model/MqoReader.h"

namespace vantor::bench {

namespace {

constexpr std::size_t kModelBytes = 100u << 20;

const std::string& largeModelText() {
    static const std::string text = makeLargeMqo(kModelBytes);
    return text;
}

// Bytes the scene's own vectors and strings hold.
std::size_t sceneBytes(const QelScene& scene) {
    std::size_t bytes = scene.materials.capacity() * sizeof(QelMaterial) +
                        scene.objects.capacity() * sizeof(QelObject);
    for (const QelObject& object : scene.objects) {
        bytes += object.vertices.capacity() * sizeof(QelVertex) +
                 object.faces.capacity() * sizeof(QelFace);
        for (const QelFace& face : object.faces) {
            bytes += face.indices.heapBytes() + face.u.heapBytes() + face.v.heapBytes();
        }
    }
    return bytes;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void reportScene(benchmark::State& state, const QelScene& scene, std::size_t inputBytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inputBytes));
    state.counters["file_MB"] = inputBytes / 1048576.0;
    state.counters["scene_MB"] = sceneBytes(scene) / 1048576.0;
    state.counters["peak_RSS_MB"] = peakResidentMegabytes();
    state.counters["objects"] = scene.objectCount;
}

void BM_ReadMqoBuffer(benchmark::State& state) {
    const std::string& text = largeModelText();
    QelScene scene;
    for (auto _ : state) {
        scene.Clear();
        const MqoReadResult result = readMqo(scene, text);
        if (!result.ok()) {
            state.SkipWithError(result.message.c_str());
        }
        benchmark::DoNotOptimize(scene.objects.data());
    }
    reportScene(state, scene, text.size());
}
BENCHMARK(BM_ReadMqoBuffer)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_LoadMqoFile(benchmark::State& state) {
    const std::string path = (benchFolder() / "large.mqo").string();
    largeMqoFile(path, kModelBytes);
    const auto size = static_cast<std::size_t>(std::filesystem::file_size(path));
    QelScene scene;
    for (auto _ : state) {
        scene.Clear();
        if (!scene.LoadMQO(path)) {
            state.SkipWithError("LoadMQO failed");
        }
        benchmark::DoNotOptimize(scene.objects.data());
    }
    reportScene(state, scene, size);
}
BENCHMARK(BM_LoadMqoFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

} // namespace vantor::bench
