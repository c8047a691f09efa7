// The terminal host: a modal window becomes questions on the terminal (its
// caption and text, a y/n question per check box, an edited line per input
// field, numbered buttons of which Enter takes the default); a progress bar
// of a modeless window is one line on stderr that redraws in place.
#include <algorithm>
#include <cmath>
#include <map>

#include "qx/platform/base/unicode.h"
#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/internal/hosts.h"

namespace qx::wnd {
namespace {

bool Is(HWND hwnd, std::string_view kind) { return ControlKind(hwnd) == kind; }

bool Usable(HWND hwnd) { return IsWindowVisible(hwnd) && IsWindowEnabled(hwnd); }

// What a control is asked by: its own text, else the static text in front
// of it.
std::wstring LabelOf(HWND control) {
    if (!Is(control, "edit") && !Is(control, "combo") && !Is(control, "list")) return WithoutMnemonics(WindowTextOf(control));
    std::wstring label;
    for (HWND h = GetWindow(GetParent(control), GW_CHILD); h && h != control; h = GetWindow(h, GW_HWNDNEXT)) {
        if (Is(h, "static") && IsWindowVisible(h) && !WindowTextOf(h).empty()) label = WithoutMnemonics(WindowTextOf(h));
    }
    while (!label.empty() && (label.back() == L':' || IsSpace(label.back()))) label.pop_back();
    return label.empty() ? L"Eingabe" : label;
}

std::optional<bool> YesOrNo(const std::wstring& answer) {
    std::wstring lower;
    for (wchar_t c : answer) lower += ToLower(c);
    if (lower == L"y" || lower == L"yes" || lower == L"j" || lower == L"ja") return true;
    if (lower == L"n" || lower == L"no" || lower == L"nein") return false;
    return std::nullopt;
}

std::optional<size_t> NumberIn(const std::wstring& answer, size_t count) {
    if (answer.empty() || answer.size() > 4 || !std::all_of(answer.begin(), answer.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return std::nullopt;
    }
    const size_t n = std::stoul(answer);
    return n >= 1 && n <= count ? std::optional<size_t>(n - 1) : std::nullopt;
}

// Asks one check box; false when the input ended.
bool AskCheck(HWND box) {
    for (;;) {
        const bool on = SendMessage(box, BM_GETCHECK) == BST_CHECKED;
        const auto answer = ReadTerminalLine(LabelOf(box) + (on ? L"? [Y/n] " : L"? [y/N] "), L"");
        if (!answer) return false;
        if (answer->empty()) return true;
        if (std::optional<bool> yes = YesOrNo(*answer)) {
            if (*yes != on) SendMessage(box, BM_CLICK);
            return true;
        }
    }
}

bool AskEdit(HWND edit) {
    const auto answer = ReadTerminalLine(LabelOf(edit) + L": ", WindowTextOf(edit));
    if (!answer) return false;
    SetWindowText(edit, answer->c_str());
    return true;
}

bool AskChoice(HWND list) {
    const bool combo = Is(list, "combo");
    const std::vector<std::wstring> entries = ListEntries(list);
    if (entries.empty()) return true;
    std::wstring row;
    for (size_t i = 0; i < entries.size(); ++i) row += (i ? L"  [" : L"[") + std::to_wstring(i + 1) + L"] " + entries[i];
    WriteToTerminal(row + L"\n");
    const size_t count = entries.size();
    for (;;) {
        const LRESULT current = SendMessage(list, combo ? CB_GETCURSEL : LB_GETCURSEL);
        const std::wstring hint = current >= 0 ? L" [" + std::to_wstring(current + 1) + L"]" : L"";
        const auto answer = ReadTerminalLine(LabelOf(list) + hint + L": ", L"");
        if (!answer) return false;
        if (answer->empty()) return true;
        if (std::optional<size_t> index = NumberIn(*answer, count)) {
            ChooseEntry(list, static_cast<int>(*index));
            return true;
        }
    }
}

// One round of questions; false when the input ended.
bool Ask(HWND dialog) {
    WriteToTerminal(L"\n" + WindowTextOf(dialog) + L"\n");
    if (std::wstring message = DialogMessage(dialog); !message.empty()) WriteToTerminal(message + L"\n");
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!Usable(child)) continue;
        const bool asked = Is(child, "check") ? AskCheck(child)
                           : Is(child, "edit") && !(GetWindowLongPtr(child, GWL_STYLE) & ES_READONLY) ? AskEdit(child)
                           : Is(child, "combo") || Is(child, "list")                                  ? AskChoice(child)
                                                                                                      : true;
        if (!asked) return false;
    }
    const std::vector<HWND> buttons = PushButtons(dialog);
    if (buttons.empty()) return false;
    std::wstring row;
    for (size_t i = 0; i < buttons.size(); ++i) {
        row += (i ? L"  [" : L"[") + std::to_wstring(i + 1) + L"] " + WithoutMnemonics(WindowTextOf(buttons[i]));
    }
    WriteToTerminal(row + L"\n");
    const LRESULT def = SendMessage(dialog, DM_GETDEFID);
    HWND defaultButton = HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID ? GetDlgItem(dialog, LOWORD(static_cast<std::uintptr_t>(def))) : nullptr;
    for (;;) {
        const auto answer = ReadTerminalLine(L"> ", L"");
        if (!answer) return false;
        HWND chosen = answer->empty() ? (defaultButton ? defaultButton : buttons.front()) : nullptr;
        if (std::optional<size_t> index = NumberIn(*answer, buttons.size())) chosen = buttons[*index];
        for (HWND button : buttons) {
            if (!chosen && !answer->empty() && EqualsFolded(WithoutMnemonics(WindowTextOf(button)), *answer)) chosen = button;
        }
        if (chosen && IsWindowEnabled(chosen)) {
            SendMessage(chosen, BM_CLICK);
            return true;
        }
        WriteToTerminal(L"? 1-" + std::to_wstring(buttons.size()) + L"\n");
    }
}

class TerminalHost : public UiHost {
public:
    const char* Name() const override { return "terminal"; }

    void RunModalLoop(HWND dialog) override {
        SettleModalWindow(dialog);
        EndBarLine();
        while (!IsModalLoopEnded(dialog)) {
            if (!Ask(dialog)) {
                // Nobody answers any more: as a program without a user.
                AnswerWithDefault(dialog);
                break;
            }
            PumpMessages();
        }
    }

    // Bars of modeless windows (a modal one is asked instead).
    void WindowChanged(HWND hwnd) override {
        if (Is(hwnd, "progress") && IsWindowVisible(hwnd) && !IsModalDialog(GetTopLevelWindow(hwnd))) ShowProgress(hwnd);
    }
    void WindowShown(HWND topLevel) override {
        for (HWND child = GetWindow(topLevel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) WindowChanged(child);
    }
    void WindowHidden(HWND topLevel) override { Forget(topLevel); }
    void WindowDestroyed(HWND hwnd) override { Forget(GetTopLevelWindow(hwnd)); }

private:
    void ShowProgress(HWND bar) {
        PBRANGE range;
        SendMessage(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        const double span = static_cast<double>(range.iHigh) - range.iLow;
        const double done = static_cast<double>(SendMessage(bar, PBM_GETPOS)) - range.iLow;
        const int percent = span > 0 ? static_cast<int>(std::clamp(std::floor(100.0 * done / span), 0.0, 100.0)) : 0;
        HWND top = GetTopLevelWindow(bar);
        auto [it, added] = shown_.try_emplace(top, -1);
        if (!added && it->second == percent) return;
        it->second = percent;
        std::wstring text = DialogMessage(top);
        std::replace(text.begin(), text.end(), L'\n', L' ');
        if (TerminalIsDumb()) {
            WriteToTerminal(text + L" " + std::to_wstring(percent) + L"%\n");
            return;
        }
        constexpr int kWidth = 30;
        const int filled = percent * kWidth / 100;
        WriteToTerminal(L"\r\x1b[K" + text + L" [" + std::wstring(static_cast<size_t>(filled), L'#') +
                        std::wstring(static_cast<size_t>(kWidth - filled), L'.') + L"] " + std::to_wstring(percent) + L"%");
        barLine_ = true;
    }
    void Forget(HWND top) {
        if (shown_.erase(top)) EndBarLine();
    }
    void EndBarLine() {
        if (barLine_) WriteToTerminal(L"\n");
        barLine_ = false;
    }

    std::map<HWND, int> shown_;  // the percent last shown, by window
    bool barLine_ = false;
};

}  // namespace

std::unique_ptr<UiHost> MakeTerminalHost() { return std::make_unique<TerminalHost>(); }

}  // namespace qx::wnd
