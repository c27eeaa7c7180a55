// Opening the large generated model the way a user does: `vantor-cli info` as a fresh process,
// which pays for mapping the file, first touches of every page the scene takes and the exit.
// The in-process read (ReaderBench.cpp) reuses memory its earlier iterations mapped and so
// shows the parser alone. The best of three runs on a warm page cache is reported, with the
// largest resident size of a run and its ratio to the file's size.
//
// VANTOR_BENCH_CLI names another vantor-cli to time, such as one built from an older commit.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "LargeModel.h"

extern char** environ;

namespace vantor::bench {

namespace {

constexpr std::size_t kModelBytes = 100u << 20;
constexpr int kTimedRuns = 3;

std::string cliProgram() {
    const char* chosen = std::getenv("VANTOR_BENCH_CLI");
    return chosen != nullptr && *chosen != '\0' ? chosen : VANTOR_BIN_DIR "/vantor-cli";
}

struct ChildRun {
    bool ok = false;
    double seconds = 0.0;
    long peakKilobytes = 0;
};

// Runs `program info model` with its output thrown away; the wall time from spawn to exit and
// the child's own peak resident size (wait4 reports it for that child alone).
ChildRun runInfo(const std::string& program, const std::string& model) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("info"),
                    const_cast<char*>(model.c_str()), nullptr};
    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do {
        waited = ::wait4(child, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

void BM_CliInfoFreshProcess(benchmark::State& state) {
    const std::string model = (benchFolder() / "large.mqo").string();
    largeMqoFile(model, kModelBytes);
    const auto size = static_cast<double>(std::filesystem::file_size(model));
    const std::string program = cliProgram();
    for (auto _ : state) {
        // One untimed run brings the file and the program into the page cache.
        if (!runInfo(program, model).ok) {
            state.SkipWithError(("cannot run " + program + " info").c_str());
            return;
        }
        double best = 0.0;
        long peak = 0;
        for (int i = 0; i < kTimedRuns; ++i) {
            const ChildRun run = runInfo(program, model);
            if (!run.ok) {
                state.SkipWithError(("cannot run " + program + " info").c_str());
                return;
            }
            best = i == 0 ? run.seconds : std::min(best, run.seconds);
            peak = std::max(peak, run.peakKilobytes);
        }
        state.SetIterationTime(best);
        state.counters["peak_RSS_MB"] = peak / 1024.0;
        state.counters["RSS_per_file"] = peak * 1024.0 / size;
    }
    // As in the other benchmarks, MB are 2^20 bytes, and bytes_per_second is the best run's.
    state.SetBytesProcessed(static_cast<std::int64_t>(size));
    state.counters["file_MB"] = size / 1048576.0;
}
BENCHMARK(BM_CliInfoFreshProcess)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace vantor::bench
