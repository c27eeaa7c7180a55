// Publishing the large generated model: the keyed stream and the model writer on their own, and
// the whole package beside its archive step alone at archive levels 0 and 9. At level 9 most of
// the time should go to deflate, not to building the model file.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "LargeModel.h"
#include "model/MqoReader.h"
#include "platform/FileOps.h"
#include "platform/Files.h"
#include "platform/Limits.h"
#include "platform/ZipReader.h"
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
            image.replace(0, 3, "\xFF\xD8\xFF"); // a JPEG's start: only images are packaged
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

// The files a package's archive holds, extracted into the work folder: the entries the archive
// step packs, so that it can be timed alone on exactly the bytes a package gives it.
std::vector<ZipEntry> extractEntries(const std::string& archivePath, const std::string& folder) {
    std::vector<ZipEntry> entries;
    const FileContents archive = readFile(archivePath, kMaxArchiveBytes);
    ZipReader zip(archive.bytes, kMaxArchiveInputBytes);
    ZipEntryInfo entry;
    std::string data;
    while (zip.next(entry) && zip.read(data, kMaxArchiveEntryBytes)) {
        const std::string file = folder + std::to_string(entries.size());
        writeWholeFile(file, data);
        entries.push_back({entry.name, file});
    }
    return entries;
}

// The whole package against its archive step alone, side by side in each iteration and on the
// same files: the texture and model files the package packs, with the package's keys and entry
// dates, so that both archives come out byte for byte alike (same_archive). package_per_zip is
// the share of the package's time that is not deflate, plus one.
void BM_PackageAgainstZip(benchmark::State& state) {
    PublishFixture& f = fixture();
    const int level = static_cast<int>(state.range(0));
    PackageRequest request = f.request(level);
    request.entryDosTime = 0x5A210000; // fixed, as the archive step alone is given it
    const QelParameter params = editorStartupParameters();
    const std::string package = (f.folder / "out" / "large.zip").string();
    const std::string zipOnly = (f.folder / "out" / "zip-only.zip").string();
    if (!writePackage(f.scene, params, request).ok()) {
        state.SkipWithError("writePackage failed");
        return;
    }
    const std::string work = (f.folder / "work").string() + "/";
    std::filesystem::create_directories(work);
    const std::vector<ZipEntry> entries = extractEntries(package, work);

    using Clock = std::chrono::steady_clock;
    double packageSeconds = 0.0;
    double zipSeconds = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!writePackage(f.scene, params, request).ok()) {
            state.SkipWithError("writePackage failed");
            return;
        }
        const auto packaged = Clock::now();
        if (!zipEntries(zipOnly, entries, level, request.entryDosTime)) {
            state.SkipWithError("zipEntries failed");
            return;
        }
        const auto zipped = Clock::now();
        packageSeconds += std::chrono::duration<double>(packaged - start).count();
        zipSeconds += std::chrono::duration<double>(zipped - packaged).count();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["package_ms"] = packageSeconds / runs * 1e3;
    state.counters["zip_ms"] = zipSeconds / runs * 1e3;
    state.counters["package_per_zip"] = packageSeconds / zipSeconds;
    state.counters["same_archive"] =
        readFile(package, kMaxArchiveBytes).bytes == readFile(zipOnly, kMaxArchiveBytes).bytes;
    state.counters["zip_MB"] = std::filesystem::file_size(package) / 1048576.0;
}
BENCHMARK(BM_PackageAgainstZip)->Arg(0)->Arg(9)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

} // namespace vantor::bench
