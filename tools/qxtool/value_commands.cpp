// qxtool pack / unpack: packed value lists on the command line.
#include <string>
#include <vector>

#include "qx/text/sub_str.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

// The separator options: --sep C (one character, ':' by default) or
// --sep-text TEXT (several characters).
struct Separator {
    wchar_t ch = L':';
    std::wstring text;
};

Separator TakeSeparator(std::vector<std::string>& args) {
    Separator s;
    std::string value;
    if (TakeOption(args, "--sep", value)) {
        std::wstring w = Wide(value);
        if (w.size() != 1) throw UsageError("--sep takes exactly one character");
        s.ch = w[0];
    }
    if (TakeOption(args, "--sep-text", value)) {
        s.text = Wide(value);
        if (s.text.empty()) throw UsageError("--sep-text takes a non-empty text");
        s.ch = 0;
    }
    RejectUnknownOptions(args);
    return s;
}

int Pack(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    Separator sep = TakeSeparator(args);
    CQxSubStr builder;
    if (sep.ch) builder.AddInit(sep.ch);
    else builder.AddInit(sep.text.data());
    for (const std::string& v : args) builder.Add(Wide(v).c_str());
    CString packed;
    builder.AddEnd(packed);
    PrintUtf8(packed.str() + L"\n");
    return kExitOk;
}

int Unpack(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    Separator sep = TakeSeparator(args);
    if (args.size() != 1) throw UsageError("expects exactly one packed text");
    std::wstring text = Wide(args[0]);
    // A packed list is one line: the reader stops at a line end and would
    // deliver empty values from there on, so the list is cut there.
    size_t lineEnd = text.find(L'\n');
    if (lineEnd != std::wstring::npos) text.resize(lineEnd > 0 && text[lineEnd - 1] == L'\r' ? lineEnd - 1 : lineEnd);
    bool more = sep.ch ? qxSubStrUtil::GetInit(text.c_str(), sep.ch) : qxSubStrUtil::GetInit(text.c_str(), sep.text.data());
    while (more) {
        CString value;
        more = qxSubStrUtil::Get(value);
        PrintUtf8(value.str() + L"\n");
    }
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"pack", "[--sep C | --sep-text TEXT] VALUE...", "build a packed value list from the values",
     "Colons inside values are stored as U+00AE, carriage returns and line feeds\n"
     "as &r and &n, so that the list stays one line. The default separator is ':'.",
     Pack},
    {"unpack", "[--sep C | --sep-text TEXT] TEXT", "print the values of a packed list, one a line",
     "Reading stops at a line end; a value starting with U+2248 is read without it.", Unpack},
};

const CommandRegistrar registrar(kCommands);

}  // namespace

}  // namespace qxtool
