// vantor-cli: the conversion without a window, on the same core as the editor.

#include <cstdio>
#include <cstring>

#include "VantorVersion.h"
#include "cli/Commands.h"

namespace vantor::cli {

namespace {

const Command* const kCommands[] = {
    &kInfoCommand,
    &kMqoCommand,
    &kSettingsCommand,
    &kPublishCommand,
    &kInspectCommand,
};

void printToolHelp(std::FILE* out) {
    std::fprintf(out, "usage: vantor-cli COMMAND [ARGUMENTS]\n\ncommands:\n");
    for (const Command* command : kCommands) {
        std::fprintf(out, "  %-10s %s\n", command->name, command->summary);
    }
    std::fprintf(out, "\n'vantor-cli COMMAND --help' describes a command; 'vantor-cli --version'"
                      " prints the version.\n");
}

} // namespace

void reportWarning(const std::string& message) {
    std::fprintf(stderr, "vantor-cli: warning: %s\n", message.c_str());
}

int reportFailure(const std::string& message) {
    std::fprintf(stderr, "vantor-cli: %s\n", message.c_str());
    return kExitFailed;
}

std::string modelFailureMessage(const std::string& path, const MqoReadResult& result) {
    std::string message = "cannot read " + path;
    if (result.line > 0) {
        message += ", line " + std::to_string(result.line);
    }
    return message + ": " + result.message;
}

int reportModelFailure(const std::string& path, const MqoReadResult& result) {
    return reportFailure(modelFailureMessage(path, result));
}

int reportUsage(const Command& command, const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "vantor-cli %s: %s\n", command.name, problem.c_str());
    }
    const char* help = command.help;
    const char* end = std::strchr(help, '\n');
    std::fprintf(stderr, "%.*s\n", static_cast<int>(end ? end - help : std::strlen(help)), help);
    return kExitUsage;
}

bool handleHelp(const Command& command, const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(command.help, stdout);
            return true;
        }
    }
    return false;
}

int run(int argc, char** argv) {
    if (argc < 2) {
        printToolHelp(stderr);
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printToolHelp(stdout);
        return kExitOk;
    }
    if (name == "--version") {
        std::printf("%s\n", versionLine("vantor-cli").c_str());
        return kExitOk;
    }
    for (const Command* command : kCommands) {
        if (name == command->name) {
            return command->run(Arguments(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "vantor-cli: unknown command '%s'\n", name.c_str());
    printToolHelp(stderr);
    return kExitUsage;
}

} // namespace vantor::cli

int main(int argc, char** argv) { return vantor::cli::run(argc, argv); }
