#pragma once
// The commands of vantor-cli. Each takes the arguments after its name and returns the exit
// status: 0 success, 1 the job failed (a one-line message on standard error), 2 wrong
// arguments (a usage line on standard error).

#include <string>
#include <vector>

#include "model/MqoReader.h"

namespace vantor::cli {

using Arguments = std::vector<std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    const char* name;
    const char* summary; // one line for the tool's help
    const char* help;    // the command's own --help text
    int (*run)(const Arguments& args);
};

extern const Command kInfoCommand;
extern const Command kMqoCommand;
extern const Command kSettingsCommand;
extern const Command kPublishCommand;
extern const Command kInspectCommand;

// Prints "vantor-cli: warning: <message>" on standard error; the command goes on.
void reportWarning(const std::string& message);
// Prints "vantor-cli: <message>" on standard error and returns kExitFailed.
int reportFailure(const std::string& message);
// reportFailure for a model that could not be read: its path, the line and the reason.
int reportModelFailure(const std::string& path, const MqoReadResult& result);
// The message of reportModelFailure: the model's path, the line and the reason.
std::string modelFailureMessage(const std::string& path, const MqoReadResult& result);
// Prints the command's usage line on standard error and returns kExitUsage.
int reportUsage(const Command& command, const std::string& problem);
// True when args ask for the command's help; prints it.
bool handleHelp(const Command& command, const Arguments& args);

} // namespace vantor::cli
