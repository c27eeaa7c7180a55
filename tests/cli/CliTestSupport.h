#pragma once
// Runs the built vantor-cli and collects its exit status and output.

#include "TestSupport.h"

#include <cstdio>
#include <string>
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

// Runs vantor-cli, or another program of the program folder.
inline CliRun runCli(const std::vector<std::string>& args, const std::string& program = "vantor-cli") {
    TempDir scratch;
    std::string command = shellQuoted(std::string(VANTOR_BIN_DIR) + "/" + program);
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

inline std::string houseModel() {
    return std::string(VANTOR_SOURCE_DIR) + "/examples/house/house.mqo";
}

} // namespace vantor::test
