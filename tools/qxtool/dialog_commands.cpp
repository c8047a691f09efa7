// qxtool msgbox, input and progress: the family's message box, input box and
// progress window for shell scripts. Who answers is the UI host QX_UI names:
// a terminal, a script, the desktop; without a user the default button.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/window_constants.h"
#include "qx/ui/adv_message_box.h"
#include "qx/ui/wait_message.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

struct Named {
    const char* name;
    unsigned flags;
};

constexpr Named kTypes[] = {{"ok", MB_OK},           {"okcancel", MB_OKCANCEL}, {"abortretryignore", MB_ABORTRETRYIGNORE},
                            {"yesnocancel", MB_YESNOCANCEL}, {"yesno", MB_YESNO}, {"retrycancel", MB_RETRYCANCEL}};
constexpr Named kIcons[] = {{"stop", MB_ICONHAND}, {"question", MB_ICONQUESTION}, {"exclamation", MB_ICONEXCLAMATION},
                            {"information", MB_ICONASTERISK}};

template <size_t N>
unsigned Lookup(const Named (&table)[N], const std::string& name, const char* option) {
    for (const Named& entry : table) {
        if (name == entry.name) return entry.flags;
    }
    std::string known;
    for (const Named& entry : table) known += std::string(known.empty() ? "" : "|") + entry.name;
    throw UsageError(std::string(option) + " takes " + known);
}

std::wstring TheText(const std::vector<std::string>& args) {
    if (args.size() != 1) throw UsageError("expects exactly one TEXT");
    return Wide(args[0]);
}

int MsgBox(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string caption, type, icon, defaultButton, buttons, check;
    const bool hasButtons = TakeOption(args, "--buttons", buttons);
    unsigned flags = TakeOption(args, "--type", type) ? Lookup(kTypes, type, "--type") : MB_OK;
    if (TakeOption(args, "--icon", icon)) flags |= Lookup(kIcons, icon, "--icon");
    if (TakeOption(args, "--default", defaultButton)) {
        if (defaultButton.size() != 1 || defaultButton[0] < '1' || defaultButton[0] > '9') throw UsageError("--default takes a button number from 1");
        flags |= static_cast<unsigned>(defaultButton[0] - '1') << 8;
    }
    TakeOption(args, "--caption", caption);
    const bool hasCheck = TakeOption(args, "--check", check);
    int checked = TakeFlag(args, "--checked") ? 1 : 0;
    RejectUnknownOptions(args);
    const std::wstring text = TheText(args);
    const std::wstring buttonText = Wide(buttons), checkText = Wide(check), captionText = Wide(caption);
    const int answer = advMessageBox(text.c_str(), hasButtons ? buttonText.c_str() : nullptr, flags, captionText.c_str(),
                                     hasCheck ? checkText.c_str() : nullptr, hasCheck ? &checked : nullptr);
    if (answer < 0) throw Failure("the box could not be shown");
    std::printf("%d\n", answer);
    if (hasCheck) std::printf("%d\n", checked);
    return kExitOk;
}

int Input(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string caption, value;
    TakeOption(args, "--caption", caption);
    TakeOption(args, "--value", value);
    RejectUnknownOptions(args);
    const std::wstring text = TheText(args);
    CString entered = Wide(value).c_str();
    const int answer = advInputBox(text.c_str(), MB_OKCANCEL, Wide(caption).c_str(), entered);
    if (answer < 0) throw Failure("the box could not be shown");
    if (answer != IDOK) return kExitFailure;
    PrintUtf8(std::wstring(entered.GetString()) + L"\n");
    return kExitOk;
}

int Progress(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string text, caption;
    TakeOption(args, "--text", text);
    TakeOption(args, "--caption", caption);
    RejectUnknownOptions(args);
    if (!args.empty()) throw UsageError("takes no TEXT; use --text");
    CWaitMessage window;
    if (!window.Create()) throw Failure("the progress window could not be made");
    if (!caption.empty()) window.SetWindowText(Wide(caption).c_str());
    window.SetText(Wide(text).c_str());
    window.Show();
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '#') {
            window.SetText(Wide(line.substr(1)).c_str());
            continue;
        }
        // A number sets the percentage; anything else is passed over, as
        // a progress reader takes what a script prints.
        char* end = nullptr;
        const long percent = std::strtol(line.c_str(), &end, 10);
        if (end != line.c_str() && percent >= 0 && percent <= 100) window.SetProzent(static_cast<int>(percent));
    }
    window.DestroyWindow();
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"msgbox", "TEXT [--caption C] [--type T] [--icon I] [--default N] [--buttons 'A;B'] [--check TEXT [--checked]]",
     "ask a question with the family's message box",
     "Types: ok okcancel abortretryignore yesnocancel yesno retrycancel; icons:\n"
     "stop question exclamation information. --default N makes the N-th button\n"
     "the default. --buttons gives the buttons as texts separated by ';'; then\n"
     "the answer is the pressed button's number from 0. Prints the answer (1 OK,\n"
     "2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No, or the number) and,\n"
     "with --check, the check box's state (0 or 1) on a second line. QX_UI\n"
     "chooses who answers (docs/ui-hosts.md).\n"
     "  qxtool msgbox 'Ersetzen?' --type yesno --icon question  -> 6\n"
     "  qxtool msgbox 'Weiter?' --buttons 'Jetzt;Später' --check 'Nicht mehr fragen'",
     MsgBox},
    {"input", "TEXT [--caption C] [--value V]", "ask for a text with the family's input box",
     "Prints the text entered; exits with 1 when the box was cancelled.\n"
     "  qxtool input 'Vorlauftemperatur:' --value 55",
     Input},
    {"progress", "[--text T] [--caption C]", "show the progress window, driven by standard input",
     "Reads lines from standard input: a number from 0 to 100 sets the\n"
     "percentage, a line '#TEXT' sets the text; the end of the input closes the\n"
     "window. On a terminal the bar is a line on stderr that redraws in place.\n"
     "  for i in 10 50 100; do echo $i; sleep 1; done | qxtool progress --text Kopieren",
     Progress},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
