// qxtool tree cat / convert / get / set: tree documents on the command line.
#include <limits>
#include <string>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/tree/node.h"
#include "qx/tree/vdi.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/tree_loading.h"
#include "tools/qxtool/tree_output.h"

namespace qxtool {
namespace {

// Every command that reads a tree takes it: a VDI file's records outside
// the placement table are kept instead of failing the command.
constexpr const char* kKeepUnknown = "--keep-unknown";

int Cat(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    bool keepUnknown = TakeFlag(args, kKeepUnknown);
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one FILE");
    LoadedTree tree = LoadTree(args[0], keepUnknown);
    PrintTree(*tree.root);
    return kExitOk;
}

int Convert(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    bool utf8 = TakeFlag(args, "--utf8");
    std::string codePageText;
    bool hasCodePage = TakeOption(args, "--codepage", codePageText);
    bool encode = TakeFlag(args, "--encode");
    bool indent = !TakeFlag(args, "--no-indent");
    bool keepUnknown = TakeFlag(args, kKeepUnknown);
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects IN and OUT");
    if (utf8 && hasCodePage) throw UsageError("--utf8 and --codepage exclude each other");
    unsigned codePage = 1252;
    if (hasCodePage) {
        size_t used = 0;
        unsigned long value = 0;
        try {
            value = std::stoul(codePageText, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != codePageText.size() || value > std::numeric_limits<unsigned>::max() ||
            !qx::IsCodePageSupported(static_cast<unsigned>(value)) ||
            value == qx::kCpUtf16Le || value == qx::kCpUtf16Be) {
            throw UsageError("--codepage takes 0, 437, 850, 1250-1258 or 65001");
        }
        codePage = static_cast<unsigned>(value);
        if (codePage == qx::kCpUtf8) utf8 = true;
    }
    // A VDI file is 8-bit text whatever the input was.
    const bool vdi = qx::IsVdiPath(Wide(args[1]));
    if (vdi && utf8) throw UsageError("a VDI file is 8-bit text: --utf8 and --codepage 65001 do not apply to it");
    LoadedTree tree = LoadTree(args[0], keepUnknown);
    // Without an encoding option the output keeps the input's form: Unicode
    // input is written as UTF-8, code-page input in code page 1252.
    if (!utf8 && !hasCodePage && !vdi) utf8 = tree.unicode;
    TreeFileForm form;
    form.codePage = utf8 ? qx::kCpUtf8 : codePage;
    form.encoded = encode || IsEncodedName(Wide(args[1]));
    form.indent = indent;
    WriteTree(*tree.root, args[1], form);
    return kExitOk;
}

int ParseIndex(const std::string& text) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty()) throw UsageError("INDEX must be a whole number");
    return value;
}

int Get(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    bool keepUnknown = TakeFlag(args, kKeepUnknown);
    RejectUnknownOptions(args);
    if (args.size() < 3 || args.size() > 4) throw UsageError("expects FILE PATH LEAF [INDEX]");
    int index = args.size() == 4 ? ParseIndex(args[3]) : 1;
    LoadedTree tree = LoadTree(args[0], keepUnknown);
    // A default no stored value can hold tells a missing value from an
    // empty one.
    static const wchar_t kMissing[] = {0xFFFF, 0};
    CString value =
        tree.root->GetStrLeafValue(Wide(args[1]).c_str(), Wide(args[2]).c_str(), index, L':', kMissing);
    if (value == kMissing) throw Failure("no value " + args[2] + " at " + args[1]);
    PrintUtf8(value.str() + L"\n");
    return kExitOk;
}

int Set(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    bool keepUnknown = TakeFlag(args, kKeepUnknown);
    RejectUnknownOptions(args);
    if (args.size() != 5) throw UsageError("expects FILE PATH LEAF INDEX VALUE");
    int index = ParseIndex(args[3]);
    LoadedTree tree = LoadTree(args[0], keepUnknown);
    if (!tree.root->SetStrLeafValue(Wide(args[1]).c_str(), Wide(args[2]).c_str(), index, Wide(args[4]).c_str())) {
        throw Failure("the path " + args[1] + " names no node (write it as A\\B\\)");
    }
    WriteTree(*tree.root, args[0], FormOfFile(args[0]));
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"tree cat", "FILE [--keep-unknown]", "print a tree document as indented text",
     "FILE is read as the family's readers do: any of its encodings, the encoded\n"
     "form when the name ends in x, a VDI file when it ends in .vdi. The text is\n"
     "printed in UTF-8 as the tree is walked, never held whole.\n\n"
     "A VDI file is read whole or the command fails (\"import stopped at line N:\n"
     "...\"). With --keep-unknown its records of types outside the placement\n"
     "table are kept, in a group \"GRUPPE <type>\" below the record placed before\n"
     "them, and written back as they were read.",
     Cat},
    {"tree convert", "IN OUT [--utf8 | --codepage N] [--encode] [--no-indent] [--keep-unknown]",
     "read a tree document and write it in another form",
     "Without an encoding option OUT keeps IN's form: Unicode input is written as\n"
     "UTF-8 with its mark, code-page input in code page 1252. OUT is encoded with\n"
     "--encode or when its name ends in x; OUT '-' writes the same bytes to\n"
     "standard output.\n\n"
     "OUT ending in .vdi is written as a VDI file, which is 8-bit text: in code\n"
     "page 1252 (or --codepage N) whatever IN's form, so Unicode input is\n"
     "converted to that page. A tree that is not VDI data (its root is not the\n"
     "record 010, or a node holds leaves the VDI form cannot carry) is an error.\n"
     "A VDI file IN is read whole or the command fails; --keep-unknown as for\n"
     "tree cat.\n\n"
     "A character that OUT's code page lacks is an error, not a '?'. After any\n"
     "error OUT is left as it was (standard output may have received part of\n"
     "the text by then, with '?' for such characters).",
     Convert},
    {"tree get", "FILE PATH LEAF [INDEX] [--keep-unknown]", "print one value of a leaf",
     "PATH names nodes as the API does, each followed by a backslash (A\\B\\);\n"
     "an empty PATH is the root. INDEX counts from 1 (default 1). --keep-unknown\n"
     "as for tree cat.",
     Get},
    {"tree set", "FILE PATH LEAF INDEX VALUE [--keep-unknown]", "set one value of a leaf and write the file back",
     "Missing nodes and the leaf are created; positions past the end are filled\n"
     "with empty values. The file keeps its encoding (UTF-16, UTF-8 or the\n"
     "default 8-bit code page, as its mark says) and its encoded form; a VALUE\n"
     "that encoding cannot hold is an error and the file is left as it was.\n"
     "--keep-unknown as for tree cat.",
     Set},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
