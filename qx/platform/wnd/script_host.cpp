#include "qx/platform/wnd/script_host.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/internal/hosts.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_object.h"

namespace qx {
namespace {

enum class Kind { Press, Type, Key, Check, Select, Click, Close, Wait };

struct Action {
    Kind kind = Kind::Close;
    int line = 0;
    std::string source;
    std::wstring text;
    UINT key = 0;
    bool down = true;
    bool up = true;
    DWORD after = 0;
    int x = 0;
    int y = 0;
};

struct KeyName {
    const char* name;
    UINT key;
};

constexpr KeyName kKeys[] = {
    {"enter", VK_RETURN}, {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE}, {"tab", VK_TAB},
    {"space", VK_SPACE}, {"backspace", VK_BACK}, {"back", VK_BACK}, {"delete", VK_DELETE}, {"home", VK_HOME},
    {"end", VK_END}, {"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP}, {"down", VK_DOWN},
    {"shift", VK_SHIFT}, {"control", VK_CONTROL}, {"ctrl", VK_CONTROL}, {"alt", VK_MENU},
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return lower;
}

std::optional<UINT> KeyOf(std::string_view name) {
    const std::string lower = Lower(name);
    for (const KeyName& key : kKeys) {
        if (lower == key.name) return key.key;
    }
    if (lower.size() == 1 && ((lower[0] >= 'a' && lower[0] <= 'z') || (lower[0] >= '0' && lower[0] <= '9'))) {
        return static_cast<UINT>(lower[0] >= 'a' ? lower[0] - 32 : lower[0]);
    }
    if (lower.size() >= 2 && lower[0] == 'f') {
        int n = 0;
        auto [end, error] = std::from_chars(lower.data() + 1, lower.data() + lower.size(), n);
        if (error == std::errc() && end == lower.data() + lower.size() && n >= 1 && n <= 12) return VK_F1 + static_cast<UINT>(n - 1);
    }
    return std::nullopt;
}

// The character a key types, 0 for one that types none.
wchar_t CharOf(UINT key) {
    if ((key >= 'A' && key <= 'Z')) return static_cast<wchar_t>(key + 32);
    if (key >= '0' && key <= '9') return static_cast<wchar_t>(key);
    if (key == VK_SPACE) return L' ';
    if (key == VK_RETURN) return L'\r';
    if (key == VK_BACK) return L'\b';
    return 0;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

std::optional<long long> Number(std::string_view word, long long low, long long high) {
    long long value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size() || value < low || value > high) return std::nullopt;
    return value;
}

// One line into an action; the error names what is wrong.
std::optional<Action> Parse(std::string_view line, int number, std::string& error) {
    Action action;
    action.line = number;
    action.source = std::string(line);
    const size_t space = line.find_first_of(" \t");
    const std::string verb = Lower(line.substr(0, space));
    std::string_view rest = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    const std::vector<std::string_view> words = Words(rest);
    constexpr long long kDay = 24LL * 3600 * 1000;
    const auto needs = [&](const char* what) {
        error = verb + " needs " + what;
        return std::nullopt;
    };
    if (verb == "press" || verb == "select" || verb == "type") {
        if (verb != "type") {
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
            while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
        }
        if (rest.empty()) return needs(verb == "press" ? "a label or id" : "a text");
        action.kind = verb == "press" ? Kind::Press : verb == "select" ? Kind::Select : Kind::Type;
        action.text = Utf8ToWide(rest);
        return action;
    }
    if (verb == "key") {
        if (words.empty()) return needs("a key name");
        const std::optional<UINT> key = KeyOf(words[0]);
        if (!key) {
            error = "unknown key '" + std::string(words[0]) + "'";
            return std::nullopt;
        }
        action.kind = Kind::Key;
        action.key = *key;
        size_t i = 1;
        if (i < words.size() && (Lower(words[i]) == "down" || Lower(words[i]) == "up")) {
            action.down = Lower(words[i]) == "down";
            action.up = !action.down;
            ++i;
        }
        if (i < words.size() && Lower(words[i]) == "after") {
            const auto ms = i + 1 < words.size() ? Number(words[i + 1], 0, kDay) : std::nullopt;
            if (!ms) return needs("milliseconds after 'after'");
            action.after = static_cast<DWORD>(*ms);
            i += 2;
        }
        if (i != words.size()) {
            error = "unexpected '" + std::string(words[i]) + "'";
            return std::nullopt;
        }
        return action;
    }
    if (verb == "check") {
        if (words.size() != 1 || (Lower(words[0]) != "on" && Lower(words[0]) != "off")) return needs("on or off");
        action.kind = Kind::Check;
        action.down = Lower(words[0]) == "on";
        return action;
    }
    if (verb == "click") {
        const auto x = words.size() == 2 ? Number(words[0], -32768, 32767) : std::nullopt;
        const auto y = words.size() == 2 ? Number(words[1], -32768, 32767) : std::nullopt;
        if (!x || !y) return needs("two coordinates");
        action.kind = Kind::Click;
        action.x = static_cast<int>(*x);
        action.y = static_cast<int>(*y);
        return action;
    }
    if (verb == "wait") {
        const auto ms = words.size() == 1 ? Number(words[0], 0, kDay) : std::nullopt;
        if (!ms) return needs("milliseconds (0 to one day)");
        action.kind = Kind::Wait;
        action.after = static_cast<DWORD>(*ms);
        return action;
    }
    if (verb == "close") {
        if (!words.empty()) return needs("nothing after it");
        action.kind = Kind::Close;
        return action;
    }
    error = "unknown action '" + verb + "'";
    return std::nullopt;
}

void AppendJsonString(std::string& out, std::wstring_view text) {
    out += '"';
    for (char c : WideToUtf8(text)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

std::string Hex(std::uintptr_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "\"0x%llx\"", static_cast<unsigned long long>(value));
    return text;
}

std::string RectJson(const CRect& r) {
    return "[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "]";
}

std::string DescribeChild(HWND dialog, HWND child, int defaultId) {
    const std::string kind = wnd::ControlKind(child);
    CRect rect;
    GetWindowRect(child, &rect);
    CPoint topLeft = rect.TopLeft();
    ScreenToClient(dialog, &topLeft);
    rect = CRect(topLeft.x, topLeft.y, topLeft.x + rect.Width(), topLeft.y + rect.Height());
    std::string out = "{\"class\":";
    AppendJsonString(out, wnd::ClassNameOf(child));
    out += ",\"kind\":\"" + kind + "\",\"id\":" + std::to_string(GetDlgCtrlID(child)) + ",\"text\":";
    AppendJsonString(out, wnd::WindowTextOf(child));
    out += ",\"rect\":" + RectJson(rect);
    out += ",\"style\":" + Hex(static_cast<std::uintptr_t>(GetWindowLongPtr(child, GWL_STYLE)) & 0xFFFFFFFFu);
    out += std::string(",\"enabled\":") + (IsWindowEnabled(child) ? "true" : "false");
    out += std::string(",\"visible\":") + (IsWindowVisible(child) ? "true" : "false");
    out += std::string(",\"focus\":") + (GetFocus() == child ? "true" : "false");
    if (kind == "button") {
        const bool isDefault = (SendMessage(child, WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON) || GetDlgCtrlID(child) == defaultId;
        out += std::string(",\"default\":") + (isDefault ? "true" : "false");
    }
    if (kind == "check" || kind == "radio") out += ",\"checked\":" + std::to_string(SendMessage(child, BM_GETCHECK));
    if (kind == "edit") {
        out += std::string(",\"readOnly\":") + ((GetWindowLongPtr(child, GWL_STYLE) & ES_READONLY) ? "true" : "false");
    }
    if (kind == "combo" || kind == "list") {
        const bool combo = kind == "combo";
        const auto entries = wnd::ListEntries(child);
        out += ",\"items\":[";
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i) out += ',';
            AppendJsonString(out, entries[i]);
        }
        out += "],\"selected\":" + std::to_string(SendMessage(child, combo ? CB_GETCURSEL : LB_GETCURSEL));
    }
    if (kind == "listview") out += ",\"items\":" + std::to_string(SendMessage(child, LVM_GETITEMCOUNT));
    if (kind == "progress") {
        out += ",\"position\":" + std::to_string(SendMessage(child, PBM_GETPOS));
        out += ",\"range\":[" + std::to_string(SendMessage(child, PBM_GETRANGE, TRUE)) + "," +
               std::to_string(SendMessage(child, PBM_GETRANGE, FALSE)) + "]";
    }
    return out + "}";
}

// The control an action without a name acts on: the focused one when it is
// of *kinds*, else the first of them in tab order.
HWND TargetOf(HWND dialog, std::initializer_list<std::string_view> kinds) {
    const auto fits = [&](HWND h) {
        const std::string_view kind = wnd::ControlKind(h);
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end() && IsWindowVisible(h) && IsWindowEnabled(h);
    };
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus) && fits(focus)) return focus;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (fits(child)) return child;
    }
    return nullptr;
}

void PostKey(HWND target, UINT key, bool down, bool up) {
    if (down) {
        PostMessage(target, WM_KEYDOWN, key, 1);
        // As the platform's translation makes a character of a key that
        // types one.
        if (wchar_t ch = CharOf(key); ch && key != VK_RETURN) PostMessage(target, WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
    if (up) PostMessage(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

}  // namespace

struct ScriptHost::Impl {
    std::vector<Action> actions;
    size_t next = 0;
    std::vector<std::string> transcript;
    std::unique_ptr<std::ofstream> file;

    void Write(std::string line) {
        if (file) {
            *file << line << '\n';
            file->flush();
        }
        transcript.push_back(std::move(line));
    }

    // Carries out one action on *dialog*; false with *why* when it cannot.
    bool Perform(HWND dialog, const Action& action, std::string& why) {
        switch (action.kind) {
            case Kind::Press: {
                const std::wstring& label = action.text;
                const auto id = Number(WideToUtf8(label), -32768, 65535);
                for (HWND button : wnd::PushButtons(dialog)) {
                    if (EqualsFolded(wnd::WithoutMnemonics(wnd::WindowTextOf(button)), label) || (id && GetDlgCtrlID(button) == *id)) {
                        if (!IsWindowEnabled(button)) {
                            why = "the button is disabled";
                            return false;
                        }
                        SendMessage(button, BM_CLICK);
                        return true;
                    }
                }
                why = "no button with that label or id";
                return false;
            }
            case Kind::Type: {
                HWND focus = GetFocus();
                if (!focus || (focus != dialog && !IsChild(dialog, focus))) {
                    why = "no control has the focus";
                    return false;
                }
                for (wchar_t ch : action.text) PostMessage(focus, WM_CHAR, static_cast<WPARAM>(ch), 1);
                return true;
            }
            case Kind::Key: {
                if (action.after) {
                    wnd::AdvanceClock(action.after);
                    PumpMessages();
                }
                HWND focus = GetFocus();
                PostKey(focus && IsChild(dialog, focus) ? focus : dialog, action.key, action.down, action.up);
                return true;
            }
            case Kind::Check: {
                HWND box = TargetOf(dialog, {"check", "radio"});
                if (!box) {
                    why = "the window has no check box";
                    return false;
                }
                if ((SendMessage(box, BM_GETCHECK) == BST_CHECKED) != action.down) SendMessage(box, BM_CLICK);
                return true;
            }
            case Kind::Select: {
                HWND list = TargetOf(dialog, {"combo", "list"});
                if (!list) {
                    why = "the window has no list";
                    return false;
                }
                const bool combo = std::string_view(wnd::ControlKind(list)) == "combo";
                const LRESULT index = SendMessage(list, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(action.text.c_str()));
                if (index < 0) {
                    why = "the list has no such entry";
                    return false;
                }
                SetFocus(list);
                wnd::ChooseEntry(list, static_cast<int>(index));
                return true;
            }
            case Kind::Click: {
                CPoint point(action.x, action.y);
                HWND target = ChildWindowFromPoint(dialog, point);
                MapWindowPoints(dialog, target, &point, 1);
                CPoint screen(action.x, action.y);
                ClientToScreen(dialog, &screen);
                SetCursorPos(screen.x, screen.y);
                const LPARAM at = MAKELPARAM(static_cast<unsigned>(point.x) & 0xFFFF, static_cast<unsigned>(point.y) & 0xFFFF);
                PostMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
                PostMessage(target, WM_LBUTTONUP, 0, at);
                return true;
            }
            case Kind::Close: SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE); return true;
            case Kind::Wait:
                wnd::AdvanceClock(action.after);
                return true;
        }
        return false;
    }
};

ScriptHost::ScriptHost() : impl_(std::make_unique<Impl>()) {}
ScriptHost::~ScriptHost() = default;

bool ScriptHost::Load(std::string_view script, std::string* why) {
    std::vector<Action> parsed;
    int number = 0;
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find('\n', start);
        if (end == std::string_view::npos) end = script.size();
        std::string_view line = script.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;
        std::string error;
        std::optional<Action> action = Parse(line.substr(first), number, error);
        if (!action) {
            if (why) *why = "line " + std::to_string(number) + ": " + error;
            return false;
        }
        parsed.push_back(std::move(*action));
    }
    impl_->actions.insert(impl_->actions.end(), parsed.begin(), parsed.end());
    return true;
}

bool ScriptHost::WriteTranscriptTo(const std::string& path) {
    auto file = std::make_unique<std::ofstream>(path, std::ios::app);
    if (!*file) return false;
    impl_->file = std::move(file);
    return true;
}

const std::vector<std::string>& ScriptHost::Transcript() const { return impl_->transcript; }

size_t ScriptHost::PendingActions() const { return impl_->actions.size() - impl_->next; }

std::string ScriptHost::Describe(HWND topLevel) {
    CRect rect;
    GetWindowRect(topLevel, &rect);
    std::string out = "{\"window\":" + Hex(reinterpret_cast<std::uintptr_t>(topLevel)) + ",\"class\":";
    AppendJsonString(out, wnd::ClassNameOf(topLevel));
    out += ",\"text\":";
    AppendJsonString(out, wnd::WindowTextOf(topLevel));
    out += ",\"rect\":" + RectJson(rect);
    out += ",\"style\":" + Hex(static_cast<std::uintptr_t>(GetWindowLongPtr(topLevel, GWL_STYLE)) & 0xFFFFFFFFu);
    out += std::string(",\"modal\":") + (wnd::IsModalDialog(topLevel) ? "true" : "false");
    const LRESULT def = SendMessage(topLevel, DM_GETDEFID);
    const int defaultId = HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID ? LOWORD(static_cast<std::uintptr_t>(def)) : 0;
    out += ",\"children\":[";
    bool first = true;
    for (HWND child = GetWindow(topLevel, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!first) out += ',';
        first = false;
        out += DescribeChild(topLevel, child, defaultId);
    }
    return out + "]}";
}

void ScriptHost::Snapshot(HWND topLevel) {
    std::string description = Describe(topLevel);
    impl_->Write("{\"event\":\"show\"," + description.substr(1));
}

void ScriptHost::Answer(HWND dialog) {
    while (!IsModalLoopEnded(dialog)) {
        if (impl_->next >= impl_->actions.size()) {
            impl_->Write("{\"event\":\"script-end\"}");
            wnd::AnswerWithDefault(dialog);
            break;
        }
        const Action& action = impl_->actions[impl_->next++];
        std::string line = "{\"event\":\"action\",\"line\":" + std::to_string(action.line) + ",\"action\":";
        AppendJsonString(line, Utf8ToWide(action.source));
        impl_->Write(line + "}");
        std::string why;
        if (!impl_->Perform(dialog, action, why)) {
            std::string error = "{\"event\":\"error\",\"line\":" + std::to_string(action.line) + ",\"message\":";
            AppendJsonString(error, Utf8ToWide(why));
            impl_->Write(error + "}");
            std::fprintf(stderr, "qxbase: ui script line %d: %s\n", action.line, why.c_str());
            EndDialog(dialog, IDCANCEL);
            break;
        }
        PumpMessages();
    }
    std::string end = "{\"event\":\"end\",\"window\":" + Hex(reinterpret_cast<std::uintptr_t>(dialog)) + ",\"text\":";
    AppendJsonString(end, wnd::WindowTextOf(dialog));
    impl_->Write(end + ",\"result\":" + std::to_string(wnd::DialogResult(dialog)) + "}");
}

}  // namespace qx

namespace qx::wnd {

std::unique_ptr<UiHost> MakeScriptHostFromEnvironment(std::string* why) {
    auto host = std::make_unique<ScriptHost>();
    if (const char* transcript = std::getenv("QX_UI_TRANSCRIPT"); transcript && *transcript) {
        if (!host->WriteTranscriptTo(transcript)) {
            if (why) *why = std::string("QX_UI_TRANSCRIPT cannot be written: ") + transcript;
            return nullptr;
        }
    }
    const char* path = std::getenv("QX_UI_SCRIPT");
    if (!path || !*path) return host;
    // Scripts are short; a file far larger than any is refused rather than
    // read, and a FIFO or device is refused rather than waited on.
    const std::wstring file = FromNativePath(path);
    const std::optional<std::uint64_t> size = GetFileSize(file);
    std::optional<std::string> script = size && *size <= (1u << 20) ? ReadWholeFile(file) : std::nullopt;
    std::string error;
    if (!script) {
        error = size ? "larger than 1 MiB or no regular file" : "cannot be read";
    } else {
        host->Load(*script, &error);
    }
    if (!error.empty()) {
        if (why) *why = std::string("QX_UI_SCRIPT ") + path + ": " + error;
        return nullptr;
    }
    return host;
}

}  // namespace qx::wnd
