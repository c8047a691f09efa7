// qxtool path ... / find: the path algebra and the folder search on the
// command line.
#include <string>
#include <vector>

#include "qx/platform/os/file_system.h"
#include "qx/text/find_files.h"
#include "qx/text/path.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

// The arguments of a command that takes exactly *count* paths.
std::vector<std::wstring> Paths(const std::vector<std::string>& args, size_t count) {
    RejectUnknownOptions(args);
    if (args.size() != count) throw UsageError(count == 1 ? "expects one path" : "expects two paths");
    std::vector<std::wstring> paths;
    for (const std::string& a : args) paths.push_back(Wide(a));
    return paths;
}

void PrintLine(const CString& text) { PrintUtf8(text.str() + L"\n"); }

int Join(const std::vector<std::string>& args) {
    const auto p = Paths(args, 2);
    PrintLine(CString(p[0]) ^ p[1].c_str());
    return kExitOk;
}

int Relative(const std::vector<std::string>& args) {
    const auto p = Paths(args, 2);
    PrintLine(CPath(p[0]) - CPath(p[1]));
    return kExitOk;
}

int Normalize(const std::vector<std::string>& args) {
    PrintLine(CPath(Paths(args, 1)[0]).Normalized());
    return kExitOk;
}

int Clean(const std::vector<std::string>& args) {
    CString path(Paths(args, 1)[0]);
    CleanPath(path);
    PrintLine(path);
    return kExitOk;
}

int Find(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    const bool folders = TakeFlag(args, "--dirs");
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects a folder and a pattern");
    const CString folder(Wide(args[0]));
    // The search answers 0 alike for a missing folder and for no match; only
    // the first is a failure.
    if (!qx::DirectoryExists((CPath(folder) ^ L"\\").str())) throw Failure("no such folder: " + args[0]);
    CFindFiles search(folder, CString(Wide(args[1])), folders ? 0 : 1);
    CString name;
    while (search.GetNext(name)) PrintLine(name);
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"path join", "LEFT RIGHT", "join two path parts with one backslash",
     "C:\\data joined with x.txt, \\x.txt or (after C:\\data\\) \\x.txt gives C:\\data\\x.txt.", Join},
    {"path rel", "PATH BASE", "PATH relative to BASE",
     "C:\\x\\q relative to C:\\x\\y\\z is ..\\..\\q. PATH is printed unchanged when it has\n"
     "no relative form (another drive or root, or nothing in common).",
     Relative},
    {"path normalize", "PATH", "the normalised path",
     "Slashes become backslashes; doubled backslashes, \\.\\, spaces beside\n"
     "backslashes, trailing backslashes and resolvable ..\\ folders go.",
     Normalize},
    {"path clean", "PATH", "the path with doubled backslashes and ..\\ folders removed", "", Clean},
    {"find", "FOLDER PATTERN [--dirs]", "the files (or with --dirs the folders) matching a pattern",
     "One name per line in search order: . and .. first (folders), then by name\n"
     "ignoring case. Patterns are Windows wildcards: *, ?, *.* for every name,\n"
     "*. for names without extension.",
     Find},
};

const CommandRegistrar registrar(kCommands);

}  // namespace

}  // namespace qxtool
