// qxtool reg ...: the registry store from the command line, with regedit
// files in and out.
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/registry_exchange.h"
#include "qx/platform/os/registry_file_store.h"
#include "qx/platform/os/registry_store.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/shown_text.h"

namespace qxtool {
namespace {

struct KeyArg {
    qx::RegRoot root;
    std::wstring path;
};

KeyArg ParseKey(const std::string& arg) {
    const std::wstring text = Wide(arg);
    std::wstring_view rest;
    const auto root = qx::SplitRegRoot(text, &rest);
    if (!root) throw UsageError("KEY must start with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER or HKEY_CLASSES_ROOT (or HKLM, HKCU, HKCR): " + arg);
    const auto path = qx::NormalizeRegKey(rest);
    if (!path) throw UsageError("not a valid key name: " + arg);
    return {*root, *path};
}

std::wstring FullName(const KeyArg& key) {
    return key.path.empty() ? std::wstring(qx::RegRootName(key.root)) : std::wstring(qx::RegRootName(key.root)) + L"\\" + key.path;
}

// "@" names the default value, as in regedit files.
std::wstring ValueName(const std::string& arg) { return arg == "@" ? std::wstring() : Wide(arg); }

const char* TypeName(std::uint32_t type) {
    switch (type) {
        case qx::kRegNone: return "REG_NONE";
        case qx::kRegSz: return "REG_SZ";
        case qx::kRegExpandSz: return "REG_EXPAND_SZ";
        case qx::kRegBinary: return "REG_BINARY";
        case qx::kRegDword: return "REG_DWORD";
        case qx::kRegDwordBigEndian: return "REG_DWORD_BIG_ENDIAN";
        case qx::kRegLink: return "REG_LINK";
        case qx::kRegMultiSz: return "REG_MULTI_SZ";
        case qx::kRegResourceList: return "REG_RESOURCE_LIST";
        case qx::kRegFullResourceDescriptor: return "REG_FULL_RESOURCE_DESCRIPTOR";
        case qx::kRegResourceRequirementsList: return "REG_RESOURCE_REQUIREMENTS_LIST";
        case qx::kRegQword: return "REG_QWORD";
        default: return "REG_UNKNOWN";
    }
}

// Text and numbers as such (the strings of a list separated by \0), any
// other value, or one whose bytes do not fit its type, as its bytes in hex.
std::wstring DataText(const qx::RegValue& value) {
    if (const auto text = value.AsText()) return EscapeControls(*text);
    if (const auto number = value.AsNumber()) {
        wchar_t buffer[32];
        std::swprintf(buffer, 32, L"0x%08x (%u)", *number, *number);
        return buffer;
    }
    if (const auto number = value.AsQword()) {
        wchar_t buffer[48];
        std::swprintf(buffer, 48, L"0x%016llx (%llu)", static_cast<unsigned long long>(*number),
                      static_cast<unsigned long long>(*number));
        return buffer;
    }
    if (const auto strings = value.AsStrings()) {
        std::wstring joined;
        for (size_t i = 0; i < strings->size(); ++i) joined += (i ? L"\\0" : L"") + EscapeControls((*strings)[i]);
        return joined;
    }
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring hex;
    for (unsigned char b : value.data) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0xF];
    }
    return hex;
}

void PrintValue(const std::wstring& name, const qx::RegValue& value) {
    PrintUtf8(L"    " + (name.empty() ? std::wstring(L"(Default)") : EscapeControls(name)) + L"    " +
              Wide(TypeName(value.type)) + L"    " + DataText(value) + L"\n");
}

void NoExtraArguments(const std::vector<std::string>& args, size_t most) {
    RejectUnknownOptions(args);
    if (args.size() > most) throw UsageError("too many arguments");
}

int Import(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    NoExtraArguments(args, 1);
    if (args.size() != 1) throw UsageError("expects the file to import");
    const auto bytes = qx::ReadWholeFile(Wide(args[0]));
    if (!bytes) throw Failure("cannot read " + args[0]);
    const qx::RegImportResult result = qx::ImportRegFile(qx::Registry(), *bytes);
    for (const std::wstring& skipped : result.skipped)
        std::fprintf(stderr, "skipped %s\n", qx::WideToUtf8(EscapeControls(skipped)).c_str());
    if (!result.stored) throw Failure("the registry could not be written");
    return kExitOk;
}

int Export(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    const bool utf16 = TakeFlag(args, "--utf16");
    NoExtraArguments(args, 2);
    if (args.size() != 2) throw UsageError("expects KEY and FILE");
    const KeyArg key = ParseKey(args[0]);
    const auto bytes = qx::ExportRegKey(qx::Registry(), key.root, key.path,
                                        utf16 ? qx::RegFileEncoding::Utf16Le : qx::RegFileEncoding::Utf8);
    if (!bytes) throw Failure("no such key: " + args[0]);
    if (args[1] == "-") {
        std::fwrite(bytes->data(), 1, bytes->size(), stdout);
        return kExitOk;
    }
    if (!qx::WriteFileAtomically(Wide(args[1]), *bytes)) throw Failure("cannot write " + args[1]);
    return kExitOk;
}

int Query(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    NoExtraArguments(args, 2);
    if (args.empty()) throw UsageError("expects KEY");
    const KeyArg key = ParseKey(args[0]);
    qx::RegistryStore& store = qx::Registry();
    if (args.size() == 2) {
        std::wstring name = ValueName(args[1]);
        const auto value = store.GetValue(key.root, key.path, name);
        if (!value) throw Failure("no value '" + args[1] + "' in " + args[0]);
        // Shown with its name as stored, whatever case was asked for.
        for (const std::wstring& stored : store.ValueNames(key.root, key.path).value_or(std::vector<std::wstring>{}))
            if (qx::FoldRegName(stored) == qx::FoldRegName(name)) name = stored;
        PrintValue(name, *value);
        return kExitOk;
    }
    const auto names = store.ValueNames(key.root, key.path);
    if (!names) throw Failure("no such key: " + args[0]);
    PrintUtf8(EscapeControls(FullName(key)) + L"\n");
    for (const std::wstring& name : *names)
        if (const auto value = store.GetValue(key.root, key.path, name)) PrintValue(name, *value);
    for (const std::wstring& sub : store.SubkeyNames(key.root, key.path).value_or(std::vector<std::wstring>{}))
        PrintUtf8(EscapeControls(FullName(key) + L"\\" + sub) + L"\n");
    return kExitOk;
}

int Set(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    const bool dword = TakeFlag(args, "--dword");
    const bool expand = TakeFlag(args, "--expand");
    NoExtraArguments(args, 3);
    if (args.size() != 3) throw UsageError("expects KEY NAME VALUE");
    if (dword && expand) throw UsageError("--dword and --expand exclude each other");
    const KeyArg key = ParseKey(args[0]);
    qx::RegValue value = qx::RegValue::Text(Wide(args[2]), expand ? qx::kRegExpandSz : qx::kRegSz);
    if (dword) {
        const std::wstring text = Wide(args[2]);
        const bool hex = text.starts_with(L"0x") || text.starts_with(L"0X");
        wchar_t* end = nullptr;
        const unsigned long long n = std::wcstoull(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
        if (text.size() == (hex ? 2u : 0u) || *end != L'\0' || text.starts_with(L"-") || n > 0xFFFFFFFFull)
            throw UsageError("--dword takes a number from 0 to 4294967295 (decimal or 0x hex): " + args[2]);
        value = qx::RegValue::Number(static_cast<std::uint32_t>(n));
    }
    if (!qx::IsValidRegValueName(ValueName(args[1])))
        throw UsageError("a value name cannot hold a line break or be longer than 16,383 characters");
    if (!qx::Registry().SetValue(key.root, key.path, ValueName(args[1]), value))
        throw Failure("the registry could not be written");
    return kExitOk;
}

int Delete(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    NoExtraArguments(args, 2);
    if (args.empty()) throw UsageError("expects KEY");
    const KeyArg key = ParseKey(args[0]);
    qx::RegistryStore& store = qx::Registry();
    if (args.size() == 2) {
        if (!store.GetValue(key.root, key.path, ValueName(args[1]))) throw Failure("no value '" + args[1] + "' in " + args[0]);
        if (!store.DeleteValue(key.root, key.path, ValueName(args[1]))) throw Failure("the registry could not be written");
        return kExitOk;
    }
    if (key.path.empty()) throw UsageError("a root cannot be deleted");
    if (!store.KeyExists(key.root, key.path)) throw Failure("no such key: " + args[0]);
    if (!store.DeleteKey(key.root, key.path)) throw Failure("the registry could not be written");
    return kExitOk;
}

#define QX_KEY_HELP                                                                          \
    "KEY is written HKEY_CURRENT_USER\\Software\\... (HKCU, HKLM and HKCR are accepted).\n"     \
    "The registry lives in $QX_REGISTRY_DIR/system.reg and user.reg, by default\n"             \
    "/etc/qxbase/system.reg and ~/.config/qxbase/user.reg; HKEY_CLASSES_ROOT is kept\n"        \
    "as HKEY_LOCAL_MACHINE\\Software\\Classes, under the user's own classes.\n"                \
    "NAME '@' is the key's default value."

constexpr Command kCommands[] = {
    {"reg import", "FILE.reg", "import a regedit file into the registry",
     "Reads \"Windows Registry Editor Version 5.00\" and REGEDIT4 files in UTF-16LE\n"
     "or UTF-8, as regedit exports them. Lines that are not understood, a last line\n"
     "the file ends inside (cut short), value names beyond 16,383 characters and keys\n"
     "of other roots are skipped and listed on stderr; the rest is imported.",
     Import},
    {"reg export", "[--utf16] KEY FILE.reg", "write a key and its subkeys as a regedit file",
     "FILE '-' writes to stdout. The file is UTF-8; with --utf16 it is UTF-16LE with\n"
     "a byte-order mark and CR LF line ends, the form regedit on Windows writes.",
     Export},
    {"reg query", "KEY [NAME]", "list a key's values and subkeys, or show one value",
     "Each value shows as NAME TYPE DATA: texts as text, REG_DWORD and REG_QWORD as\n"
     "hex and decimal numbers, REG_MULTI_SZ as its strings separated by \\0, other\n"
     "types (and bytes that do not fit their type) in hex. Control characters are\n"
     "written as escapes (\\n, \\x1b).\n" QX_KEY_HELP,
     Query},
    {"reg set", "KEY NAME VALUE [--dword | --expand]", "set a value (text by default)",
     "--dword stores a 32-bit number (decimal, or hex with 0x); --expand a text whose\n"
     "%VARIABLES% the reader expands. NAME '@' is the key's default value. Missing keys\n"
     "are created.",
     Set},
    {"reg delete", "KEY [NAME]", "delete a value, or a key with all its subkeys", QX_KEY_HELP, Delete},
};

const CommandRegistrar registrar(kCommands);

}  // namespace

}  // namespace qxtool
