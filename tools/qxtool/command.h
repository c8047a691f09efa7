// The sub-command table of qxtool. Each family of sub-commands lives in its
// own file and hands its table to main.cpp through one function below.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qxtool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the operation failed; message on stderr
inline constexpr int kExitUsage = 2;    // the command line was wrong

// Thrown by a command for a wrong command line; main prints the message and
// the command's usage and exits with kExitUsage.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown by a command whose operation failed; main prints the message and
// exits with kExitFailure.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Command {
    const char* name;      // one or more words, e.g. "tree cat"
    const char* usage;     // arguments after the name
    const char* summary;   // one line for the command list
    const char* details;   // the rest of the command's help, may be ""
    int (*run)(const std::vector<std::string>& args);
};

// The families, in the order --help lists them.
std::span<const Command> ValueCommands();

// Helpers for the commands.
std::wstring Wide(const std::string& utf8);
void PrintUtf8(const std::wstring& text);  // to stdout
// Takes "--name VALUE" out of *args*; false when absent.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// Takes a "--flag" out of *args*.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// A usage error when an unknown option is left in *args*.
void RejectUnknownOptions(const std::vector<std::string>& args);

}  // namespace qxtool
