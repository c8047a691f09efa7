// The sub-command table of qxtool. Each family of sub-commands lives in its
// own file and registers its table with a static CommandRegistrar, so a new
// family needs no change anywhere else.
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

// Registers a family's commands (at program start, from a static object).
struct CommandRegistrar {
    explicit CommandRegistrar(std::span<const Command> commands);
};

// Every registered command, ordered by name.
std::vector<const Command*> AllCommands();

// Helpers for the commands.
std::wstring Wide(const std::string& utf8);
void PrintUtf8(const std::wstring& text);  // to stdout
// Takes "--name VALUE" out of *args*; false when absent.
bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value);
// Takes a "--flag" out of *args*.
bool TakeFlag(std::vector<std::string>& args, const std::string& name);
// Takes "--name N" with a whole number from *low* to *high*; a usage error
// for anything else. False (and *value* unchanged) when absent.
bool TakeNumberOption(std::vector<std::string>& args, const std::string& name, long low, long high, long& value);
// Takes "--name WxH" (for example 320x240), each side from 1 to *maxSide*.
bool TakeSizeOption(std::vector<std::string>& args, const std::string& name, int maxSide, int& width, int& height);
// A usage error when an unknown option is left in *args*.
void RejectUnknownOptions(const std::vector<std::string>& args);

}  // namespace qxtool
