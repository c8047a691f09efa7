// qxtool mask scramble / mask unscramble: the scrambled form (".prx") of the
// print engine's layout files.
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/print/prx_file.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

int Convert(const std::vector<std::string>& args, qx::ScrambleDirection direction) {
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects an input and an output file");
    std::wstring problem;
    if (!qx::ConvertLayoutFile(Wide(args[0]), Wide(args[1]), direction, problem))
        throw Failure(qx::WideToUtf8(problem));
    return kExitOk;
}

int Scramble(const std::vector<std::string>& args) { return Convert(args, qx::ScrambleDirection::kScramble); }

int Unscramble(const std::vector<std::string>& args) { return Convert(args, qx::ScrambleDirection::kUnscramble); }

constexpr Command kCommands[] = {
    {"mask scramble", "IN OUT", "write a layout file in its scrambled (.prx) form",
     "IN is read as layouts are: UTF-16 or UTF-8 by its byte-order mark, else\n"
     "code page 1252. Each line is scrambled on its own. OUT is written in code\n"
     "page 1252 when every character survives that page, else as UTF-16LE with\n"
     "a byte-order mark; lines end in CR LF. OUT may be IN itself; it is\n"
     "replaced only once complete. A line whose scrambled form would hold a\n"
     "line end or a zero character cannot be stored: exit status 1.",
     Scramble},
    {"mask unscramble", "IN OUT", "write a scrambled (.prx) layout file as plain text",
     "Reading and writing as for mask scramble.", Unscramble},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
