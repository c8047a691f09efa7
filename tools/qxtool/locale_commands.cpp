// qxtool translate / units / langmod: wordbooks, unit labels and language
// modules on the command line.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "qx/locale/language_codes.h"
#include "qx/locale/ctr_string.h"
#include "qx/locale/init_language.h"
#include "qx/locale/language_module.h"
#include "qx/message/message_table.h"
#include "qx/locale/units.h"
#include "qx/locale/wordbook_line.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/locale_info.h"
#include "qx/platform/os/path_split.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

void PrintLine(const std::wstring& text) { PrintUtf8(text + L"\n"); }

// The code after the last "." of a module's file name.
std::wstring ModuleLanguage(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    const size_t separator = qx::LastPathSeparator(path);
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator) || dot + 1 == path.size()) {
        return {};
    }
    return path.substr(dot + 1);
}

// The options shared by translate and units: --wordbooks PATH (repeated),
// --module FILE, --lang CODE. Registers the wordbooks, loads the module and
// sets the wordbook language: --lang, else the module's language, else the
// session's, else English.
void SetUpTranslation(std::vector<std::string>& args, bool withModule) {
    std::vector<std::wstring> wordbooks;
    std::string value;
    while (TakeOption(args, "--wordbooks", value)) wordbooks.push_back(Wide(value));
    std::string moduleArg;
    if (withModule) TakeOption(args, "--module", moduleArg);
    const std::wstring module = Wide(moduleArg);
    std::wstring lang;
    if (TakeOption(args, "--lang", value)) {
        lang = Wide(value);
        if (lang.empty()) throw UsageError("--lang takes a language code such as en");
    }
    RejectUnknownOptions(args);

    if (!module.empty()) {
        const std::wstring moduleLang = ModuleLanguage(module);
        if (moduleLang.empty()) throw UsageError("the module's file name needs its language as extension (qxbase.en)");
        if (!qx::LanguageModule::Open(module)) throw Failure("cannot read language module " + moduleArg);
        qx::SetLanguageModuleLocation(L"", module.substr(0, module.size() - moduleLang.size() - 1));
        initLanguage(0, moduleLang.c_str());
        if (lang.empty()) lang = moduleLang;
    }
    if (lang.empty()) {
        CString session;
        lang = qx::LanguageAbbreviation(qx::SystemDefaultLanguageId(), session) ? session.str() : L"en";
    }
    CtrString::setLanguage(lang.c_str());
    for (const std::wstring& path : wordbooks) CtrString::scanMiniWordBooks(path.c_str());
}

int Translate(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    SetUpTranslation(args, true);
    if (args.empty()) throw UsageError("expects at least one key");
    for (const std::string& arg : args) {
        const std::wstring key = Wide(arg);
        const wchar_t* text = CtrString::translate(key.c_str());
        // A text inside the key itself means the wordbooks had none.
        const bool fromKey = text >= key.c_str() && text <= key.c_str() + key.size();
        PrintLine(fromKey ? qx::TranslateMessage(key.c_str()) : text);
    }
    return kExitOk;
}

int Units(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    SetUpTranslation(args, false);
    if (args.empty()) throw UsageError("expects at least one unit code");
    std::vector<int> codes;
    for (const std::string& arg : args) {
        const std::wstring text = Wide(arg);
        const wchar_t* end = nullptr;
        const long long code = qx::ParseInteger(text.c_str(), &end);
        if (text.empty() || *end || code < 0 || code > 99999) throw UsageError("not a unit code: " + arg);
        codes.push_back(static_cast<int>(code));
    }
    int status = kExitOk;
    for (int code : codes) {
        const std::wstring label = qxUnits::getUnitLabel(code);
        if (label.empty()) {
            std::fprintf(stderr, "qxtool: %d names no unit\n", code);
            status = kExitFailure;
        }
        PrintLine(label);
    }
    return status;
}

int Build(const std::vector<std::string>& args) {
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects a wordbook and the module to write");
    if (!qx::BuildLanguageModule(Wide(args[0]).c_str(), Wide(args[1]).c_str())) {
        throw Failure("cannot build " + args[1] + " from " + args[0]);
    }
    return kExitOk;
}

int Dump(const std::vector<std::string>& args) {
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one language module");
    const std::wstring path = Wide(args[0]);
    const auto module = qx::LanguageModule::Open(path);
    if (!module) throw Failure("cannot read language module " + args[0]);
    PrintLine(L"[TEXTE]");
    for (const auto& [key, translation] : module->Texts(ModuleLanguage(path))) {
        PrintLine(qx::EscapeWordbookText(key) + L" <*> " + qx::EscapeWordbookText(translation));
    }
    PrintLine(L"[STRING]");
    const auto strings = module->Strings();
    for (const auto& [id, text] : std::map<unsigned, std::wstring>(strings.begin(), strings.end())) {
        PrintLine(std::to_wstring(id) + L" " + qx::EscapeWordbookText(text));
    }
    PrintLine(L"[DIALOG]");
    for (const std::string& id : module->ResourceIds("DIALOG")) {
        PrintLine(qx::Utf8ToWide(id) + L" " + std::to_wstring(module->Resource("DIALOG", id)->size()) + L" bytes");
    }
    return kExitOk;
}

#define QX_WORDBOOK_OPTIONS                                                        \
    "--wordbooks PATH registers wordbooks: a folder ending with a separator (all\n" \
    "its *.xx files) or a file base without extension (base.xx, else the\n"        \
    "wordbook.xx files beside it); it may be repeated. --lang chooses the\n"       \
    "language, by default "

constexpr Command kCommands[] = {
    {"translate", "[--wordbooks PATH]... [--module FILE] [--lang xx] KEY...", "translate interface texts",
     "Prints the translation of each KEY, one a line: the wordbooks' text, else\n"
     "the message table of the language module FILE (named base.xx), else the\n"
     "key itself without a leading \"@context@\".\n" QX_WORDBOOK_OPTIONS
     "the module's, else the session's (LC_ALL,\nLC_MESSAGES, LANG), else en.",
     Translate},
    {"units", "[--wordbooks PATH]... [--lang xx] CODE...", "print the labels of unit codes",
     "Prints the label of each CODE, one a line. A code that names no unit prints\n"
     "an empty line and makes the exit status 1.\n" QX_WORDBOOK_OPTIONS
     "the session's (LC_ALL, LC_MESSAGES,\nLANG), else en.",
     Units},
    {"langmod build", "WORDBOOK OUT", "write a language module from a wordbook",
     "The module's message table holds the wordbook's entries (the first\n"
     "translation of a key) in UTF-16. Name OUT base.xx, e.g. qxbase.de.",
     Build},
    {"langmod dump", "MODULE", "list the resources of a language module",
     "Prints the message table as wordbook lines, the numbered strings and the\n"
     "dialog templates' sizes. 8-bit tables are read in the code page of the\n"
     "language the file name ends with.",
     Dump},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
