// qxtool: the command-line face of qxbase.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/temporary_files.h"
#include "qx/tree/exc.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/help_pages.h"

namespace qxtool {
namespace {

std::vector<const Command*>& Registry() {
    static std::vector<const Command*> commands;
    return commands;
}

void PrintCommandHelp(const Command& c, FILE* to) {
    std::fprintf(to, "usage: qxtool %s %s\n\n%s\n", c.name, c.usage, c.summary);
    if (*c.details) std::fprintf(to, "\n%s\n", c.details);
}

void PrintHelp() {
    std::printf(
        "qxtool - tools for the qxbase tree documents, values and data files\n\n"
        "usage: qxtool COMMAND [ARGUMENTS...]\n"
        "       qxtool COMMAND --help     help for one command\n"
        "       qxtool --version\n\n"
        "Commands:\n");
    for (const Command* c : AllCommands()) std::printf("  %-28s %s\n", c->name, c->summary);
    std::printf(
        "\nExit status: 0 on success, 1 when the operation failed (the reason is\n"
        "printed on stderr), 2 when the command line was wrong.\n");
}

// A family's members, for "qxtool tree" or "qxtool reg --help".
void PrintFamilyHelp(const std::string& family, FILE* to) {
    std::fprintf(to, "usage: qxtool %s COMMAND [ARGUMENTS...]\n\nCommands:\n", family.c_str());
    for (const Command* c : AllCommands()) {
        if (FirstWord(c->name) == family && c->name != family)
            std::fprintf(to, "  %-28s %s\n", c->name, c->summary);
    }
    std::fprintf(to, "\nqxtool %s COMMAND --help shows the help of one command.\n", family.c_str());
}

// The command whose (possibly several-word) name starts *args*; the number
// of words it takes goes to *words*.
const Command* FindCommand(const std::vector<std::string>& args, size_t& words) {
    const Command* best = nullptr;
    for (const Command* c : Registry()) {
        std::vector<std::string> nameWords;
        for (const char* p = c->name; *p;) {
            const char* end = std::strchr(p, ' ');
            nameWords.emplace_back(p, end ? static_cast<size_t>(end - p) : std::strlen(p));
            p = end ? end + 1 : p + std::strlen(p);
        }
        if (nameWords.size() > args.size()) continue;
        bool match = true;
        for (size_t i = 0; i < nameWords.size(); ++i) match = match && nameWords[i] == args[i];
        if (match && (!best || nameWords.size() > words)) {
            best = c;
            words = nameWords.size();
        }
    }
    return best;
}

int ReportFrameworkException(const Command& command, const std::wstring& message) {
    std::fprintf(stderr, "qxtool %s: %s\n", command.name,
                 message.empty() ? "the operation failed" : qx::WideToUtf8(message).c_str());
    return kExitFailure;
}

int Run(std::vector<std::string> args) {
    if (args.empty()) {
        PrintHelp();
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1) args.erase(args.begin());
        else {
            PrintHelp();
            return kExitOk;
        }
        args.push_back("--help");
    }
    if (args[0] == "--version") {
        std::printf("qxtool %s\n", QXBASE_VERSION);
        return kExitOk;
    }
    // The build writes the manual page and the completion script with these.
    if (args[0] == "--man-page") {
        PrintManPage(QXBASE_VERSION);
        return kExitOk;
    }
    if (args[0] == "--bash-completion") {
        PrintBashCompletion();
        return kExitOk;
    }
    size_t words = 0;
    const Command* command = FindCommand(args, words);
    if (!command && !MembersOf(args[0]).empty()) {
        bool help = args.size() == 2 && (args[1] == "--help" || args[1] == "-h");
        if (args.size() > 1 && !help)
            std::fprintf(stderr, "qxtool: unknown command '%s %s'\n\n", args[0].c_str(), args[1].c_str());
        PrintFamilyHelp(args[0], help ? stdout : stderr);
        return help ? kExitOk : kExitUsage;
    }
    if (!command) {
        std::fprintf(stderr, "qxtool: unknown command '%s' (see qxtool --help)\n", args[0].c_str());
        return kExitUsage;
    }
    std::vector<std::string> rest(args.begin() + static_cast<long>(words), args.end());
    for (const std::string& a : rest) {
        if (a == "--help" || a == "-h") {
            PrintCommandHelp(*command, stdout);
            return kExitOk;
        }
    }
    try {
        return command->run(rest);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "qxtool %s: %s\n", command->name, e.what());
        std::fprintf(stderr, "usage: qxtool %s %s\n", command->name, command->usage);
        return kExitUsage;
    } catch (const Failure& e) {
        std::fprintf(stderr, "qxtool %s: %s\n", command->name, e.what());
        return kExitFailure;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qxtool %s: %s\n", command->name, e.what());
        return kExitFailure;
    } catch (const CException& e) {
        // The framework's exceptions (a malformed layout record, say) are
        // failures of the operation, not of the program.
        return ReportFrameworkException(*command, e.GetMessageText().str());
    } catch (const CExc& e) {
        return ReportFrameworkException(*command, e.GetMessage() ? e.GetMessage() : L"");
    }
}

}  // namespace

CommandRegistrar::CommandRegistrar(std::span<const Command> commands) {
    for (const Command& c : commands) Registry().push_back(&c);
}

std::vector<const Command*> AllCommands() {
    std::vector<const Command*> sorted = Registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command* a, const Command* b) { return std::strcmp(a->name, b->name) < 0; });
    return sorted;
}

std::wstring Wide(const std::string& utf8) { return qx::Utf8ToWide(utf8); }

void PrintUtf8(const std::wstring& text) {
    std::string bytes = qx::WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool TakeOption(std::vector<std::string>& args, const std::string& name, std::string& value) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != name) continue;
        if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
        value = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return true;
    }
    return false;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            args.erase(args.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

namespace {

// A whole decimal number (no sign, blanks or other characters) from low to high.
bool ParseWhole(const std::string& text, long low, long high, long& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::stol(text);
    return value >= low && value <= high;
}

}  // namespace

bool TakeNumberOption(std::vector<std::string>& args, const std::string& name, long low, long high, long& value) {
    std::string text;
    if (!TakeOption(args, name, text)) return false;
    if (!ParseWhole(text, low, high, value)) {
        throw UsageError(name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high));
    }
    return true;
}

bool TakeSizeOption(std::vector<std::string>& args, const std::string& name, int maxSide, int& width, int& height) {
    std::string text;
    if (!TakeOption(args, name, text)) return false;
    const size_t x = text.find('x');
    long w = 0, h = 0;
    if (x == std::string::npos || !ParseWhole(text.substr(0, x), 1, maxSide, w) ||
        !ParseWhole(text.substr(x + 1), 1, maxSide, h)) {
        throw UsageError(name + " needs WIDTHxHEIGHT, each from 1 to " + std::to_string(maxSide));
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

void RejectUnknownOptions(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a.size() > 1 && a[0] == '-' && a[1] == '-') throw UsageError("unknown option " + a);
    }
}

}  // namespace qxtool

int main(int argc, char** argv) {
    // An interrupted command leaves no temporary files behind.
    qx::RemoveTemporaryFilesOnTermination();
    return qxtool::Run(std::vector<std::string>(argv + 1, argv + argc));
}
