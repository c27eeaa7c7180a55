#pragma once
// Runs the built vantor-cli and collects its exit status and output.

#include "TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>

namespace vantor::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Shell words put before the command: limits it runs under.
inline std::string timeLimit(int seconds) { return "timeout " + std::to_string(seconds) + " "; }
// No file the command writes can grow past `bytes`, as on a disk that fills up: a write
// beyond that fails (the signal that would end the program is ignored).
inline std::string fileSizeLimit(std::uint64_t bytes) {
    return "trap '' XFSZ; ulimit -f " + std::to_string(bytes / 512) + "; ";
}

// Runs vantor-cli (or another program of the program folder) under the shell limits given.
inline CliRun runCli(const std::vector<std::string>& args, const std::string& limits = "",
                     const std::string& program = "vantor-cli") {
    TempDir scratch;
    std::string command = limits + shellQuoted(std::string(VANTOR_BIN_DIR) + "/" + program);
    for (const std::string& arg : args) {
        command += ' ';
        command += shellQuoted(arg);
    }
    command += " >";
    command += shellQuoted(scratch.file("out"));
    command += " 2>";
    command += shellQuoted(scratch.file("err"));
    CliRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = readBytes(scratch.file("out"));
    run.err = readBytes(scratch.file("err"));
    return run;
}

// The largest resident size, in kilobytes, of the commands run so far by this test program.
inline long commandsPeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

// Every entry below folder with its content (a symbolic link with its target): two snapshots
// are equal when nothing there was added, removed or changed.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        if (entry.is_symlink()) {
            entries[name] = "-> " + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            entries[name] = readBytes(entry.path());
        } else {
            entries[name] = entry.is_directory() ? "(folder)" : "(other)";
        }
    }
    return entries;
}

inline std::string houseModel() {
    return std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo";
}

} // namespace vantor::test
