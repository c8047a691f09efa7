#include "qx/platform/wnd/dialog_box.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/internal/dialog_state.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/internal/window_table.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/ui_host.h"

using qx::wnd::Find;
using qx::wnd::Window;

namespace qx::wnd {
namespace {

struct DialogState : ControlState {
    std::unique_ptr<CFont> font;
    CSize baseUnits{6, 13};
    int defaultId = 0;
    bool modal = false;
    bool ended = false;
    LRESULT result = 0;
    HWND savedFocus = nullptr;
};

DialogState* DialogOf(HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w || !w->control) return nullptr;
    return dynamic_cast<DialogState*>(w->control.get());
}

// The average character width and the height of *font*, the measure of
// dialog units.
CSize BaseUnitsOf(CFont& font) {
    CMemoryDC dc;
    dc.SelectObject(&font);
    const CSize extent = dc.GetTextExtent(CString(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    return CSize((extent.cx / 26 + 1) / 2, std::max(1, static_cast<int>(metrics.tmHeight)));
}

int MulDivRound(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

CRect ToPixels(const CRect& units, CSize base) {
    return CRect(MulDivRound(units.left, base.cx, 4), MulDivRound(units.top, base.cy, 8),
                 MulDivRound(units.right, base.cx, 4), MulDivRound(units.bottom, base.cy, 8));
}

bool WantsFocus(HWND hwnd) {
    Window* w = Find(hwnd);
    return w && (w->style & WS_TABSTOP) && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

HWND DialogAncestor(HWND hwnd) {
    for (HWND h = hwnd; h; h = GetParent(h)) {
        if (DialogOf(h)) return h;
        Window* w = Find(h);
        if (!w || !IsChildWindow(*w)) break;
    }
    return nullptr;
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button && !IsWindowEnabled(button)) return;
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(id), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

int DefaultId(HWND dialog) {
    const LRESULT value = SendMessage(dialog, DM_GETDEFID);
    return HIWORD(static_cast<std::uintptr_t>(value)) == DC_HASDEFID ? LOWORD(static_cast<std::uintptr_t>(value)) : IDOK;
}

void FocusControl(HWND control) {
    SetFocus(control);
    if (SendMessage(control, WM_GETDLGCODE) & DLGC_HASSETSEL) SendMessage(control, EM_SETSEL, 0, -1);
}

std::map<unsigned, std::vector<std::uint8_t>>& BuiltInTemplates() {
    static std::map<unsigned, std::vector<std::uint8_t>> templates;
    return templates;
}

qx::DialogTemplateSource& ModuleTemplates() {
    static qx::DialogTemplateSource source;
    return source;
}

// Key states as the queued key messages left them.
std::map<int, bool>& KeysDown() {
    static std::map<int, bool> keys;
    return keys;
}

}  // namespace

LRESULT DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    if (auto proc = reinterpret_cast<DLGPROC>(w->dialogLongs[1])) {
        w->dialogLongs[0] = 0;
        const LRESULT handled = proc(hwnd, message, wParam, lParam);
        if (!(w = Find(hwnd))) return 0;
        if (handled) {
            // These report their result directly; the others through
            // DWLP_MSGRESULT.
            if (message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) return handled;
            return w->dialogLongs[0];
        }
    }
    DialogState* state = DialogOf(hwnd);
    switch (message) {
        case WM_CLOSE: PressButton(hwnd, IDCANCEL); return 0;
        case DM_GETDEFID: {
            if (state && state->defaultId) return static_cast<LRESULT>(MAKELONG(static_cast<unsigned>(state->defaultId), DC_HASDEFID));
            for (HWND child : w->children) {
                if ((Find(child)->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && SendMessage(child, WM_GETDLGCODE) & DLGC_BUTTON) {
                    return static_cast<LRESULT>(MAKELONG(static_cast<unsigned>(GetDlgCtrlID(child)), DC_HASDEFID));
                }
            }
            return 0;
        }
        case DM_SETDEFID: {
            if (!state) return FALSE;
            const int id = static_cast<int>(wParam);
            if (HWND old = GetDlgItem(hwnd, DefaultId(hwnd)); old && (SendMessage(old, WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON)) {
                SendMessage(old, BM_SETSTYLE, BS_PUSHBUTTON | (Find(old)->style & ~BS_TYPEMASK & 0xFFFF), TRUE);
            }
            state->defaultId = id;
            if (HWND button = GetDlgItem(hwnd, id); button && (SendMessage(button, WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON)) {
                SendMessage(button, BM_SETSTYLE, BS_DEFPUSHBUTTON | (Find(button)->style & ~BS_TYPEMASK & 0xFFFF), TRUE);
            }
            return TRUE;
        }
        case WM_NEXTDLGCTL: {
            HWND target = lParam ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
            if (target && IsChild(hwnd, target)) FocusControl(target);
            return 0;
        }
        case WM_ACTIVATE:
            if (state && LOWORD(wParam) == 0) state->savedFocus = GetFocus();
            if (state && LOWORD(wParam) != 0 && state->savedFocus && IsWindow(state->savedFocus)) SetFocus(state->savedFocus);
            return 0;
        case WM_GETDLGCODE: return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

bool IsDialogMessageForAny(const MSG& msg) {
    HWND dialog = DialogAncestor(msg.hwnd);
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) KeysDown()[static_cast<int>(msg.wParam)] = msg.message == WM_KEYDOWN;
    if (!dialog) return false;
    MSG copy = msg;
    return IsDialogMessage(dialog, &copy) != FALSE;
}

}  // namespace qx::wnd

using qx::wnd::DialogState;

HWND CreateDialogIndirectParam(const qx::DialogTemplate& dialog, HWND parent, DLGPROC proc, LPARAM init) {
    HWND owner = parent ? GetTopLevelWindow(parent) : nullptr;
    if (owner == GetDesktopWindow()) owner = nullptr;
    auto state = std::make_unique<DialogState>();
    CFont* font = &qx::DefaultGuiFont();
    if (dialog.style & DS_SETFONT) {
        state->font = std::make_unique<CFont>();
        // A template's font size is taken within what a dialog can use, so
        // that a broken one cannot ask for a font of thousands of pixels.
        const int points = dialog.pointSize >= 1 && dialog.pointSize <= 72 ? dialog.pointSize : 8;
        const int height = -qx::wnd::MulDivRound(points, qx::ScreenDpi(), 72);
        state->font->CreateFont(height, 0, 0, 0, dialog.weight, dialog.italic, false, false, 1, dialog.faceName.c_str());
        font = state->font.get();
    }
    state->baseUnits = qx::wnd::BaseUnitsOf(*font);
    const CSize base = state->baseUnits;

    // A modal frame is the extended style's, as the platform makes it; it
    // adds no caption.
    const DWORD style = dialog.style & ~WS_VISIBLE;
    const DWORD exStyle = dialog.exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0u);
    CRect client = qx::wnd::ToPixels(CRect(0, 0, dialog.rect.Width(), dialog.rect.Height()), base);
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
    CPoint at(qx::wnd::MulDivRound(dialog.rect.left, base.cx, 4), qx::wnd::MulDivRound(dialog.rect.top, base.cy, 8));
    const bool child = (style & WS_CHILD) != 0;
    if (!child && !(style & DS_ABSALIGN) && owner) ClientToScreen(owner, &at);
    const std::wstring className = dialog.className.empty() ? L"#32770" : dialog.className;
    HWND hwnd = CreateWindowEx(exStyle, className.c_str(), dialog.title.c_str(), style, at.x, at.y,
                               client.Width(), client.Height(), child ? parent : owner, 0);
    if (!hwnd) return nullptr;
    Window* w = Find(hwnd);
    if (className == L"#32770") w->control = std::move(state);
    w->dialogLongs[1] = reinterpret_cast<LONG_PTR>(proc);
    w->helpId = dialog.helpId;
    SendMessage(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (style & DS_CENTER) {
        CRect frame, around;
        GetWindowRect(hwnd, &frame);
        if (owner) {
            GetWindowRect(owner, &around);
        } else {
            around = qx::ScreenLayout().front().workArea;
        }
        MoveWindow(hwnd, around.left + (around.Width() - frame.Width()) / 2, around.top + (around.Height() - frame.Height()) / 2,
                   frame.Width(), frame.Height(), FALSE);
    }

    HWND firstTab = nullptr;
    for (const qx::DialogItemTemplate& item : dialog.items) {
        const CRect r = qx::wnd::ToPixels(item.rect, base);
        HWND control = CreateWindowEx(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), item.text.c_str(),
                                      item.style | WS_CHILD, r.left, r.top, r.Width(), r.Height(), hwnd, item.id);
        if (!control) {
            DestroyWindow(hwnd);
            return nullptr;
        }
        if (Window* c = Find(control)) c->helpId = item.helpId;
        SendMessage(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!firstTab && qx::wnd::WantsFocus(control)) firstTab = control;
    }
    const LRESULT focusDefault = SendMessage(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), init);
    if (!IsWindow(hwnd)) return nullptr;
    if (focusDefault && firstTab && IsWindow(firstTab)) qx::wnd::FocusControl(firstTab);
    if (dialog.style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOWNORMAL);
    return hwnd;
}

LRESULT DialogBoxIndirectParam(const qx::DialogTemplate& dialog, HWND parent, DLGPROC proc, LPARAM init) {
    HWND owner = parent ? GetTopLevelWindow(parent) : nullptr;
    qx::DialogTemplate hidden = dialog;
    hidden.style &= ~WS_VISIBLE;
    HWND hwnd = CreateDialogIndirectParam(hidden, owner, proc, init);
    if (!hwnd) return -1;
    DialogState* state = qx::wnd::DialogOf(hwnd);
    if (!state) {
        DestroyWindow(hwnd);
        return -1;
    }
    state->modal = true;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!state->ended) {
        ShowWindow(hwnd, SW_SHOWNORMAL);
        qx::CurrentUiHost().RunModalLoop(hwnd);
    }
    state = qx::wnd::DialogOf(hwnd);
    // A host that returned without an answer (or a dialog destroyed under
    // its loop) counts as cancelled.
    const LRESULT result = state && state->ended ? state->result : IDCANCEL;
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    DestroyWindow(hwnd);
    return result;
}

BOOL EndDialog(HWND dialog, LRESULT result) {
    DialogState* state = qx::wnd::DialogOf(dialog);
    if (!state) return FALSE;
    state->ended = true;
    state->result = result;
    return TRUE;
}

namespace qx {

bool IsModalLoopEnded(HWND dialog) {
    DialogState* state = qx::wnd::DialogOf(dialog);
    return !state || state->ended;
}

void SetBuiltInDialogTemplate(unsigned id, std::vector<std::uint8_t> data) {
    qx::wnd::BuiltInTemplates()[id] = std::move(data);
}

void SetModuleDialogTemplateSource(DialogTemplateSource source) { qx::wnd::ModuleTemplates() = std::move(source); }

std::optional<DialogTemplate> FindDialogTemplate(unsigned id) {
    if (const DialogTemplateSource& source = qx::wnd::ModuleTemplates()) {
        if (const std::string* bytes = source(id)) return ReadDialogTemplate(bytes->data(), bytes->size());
    }
    const auto& builtIn = qx::wnd::BuiltInTemplates();
    auto it = builtIn.find(id);
    if (it == builtIn.end()) return std::nullopt;
    return ReadDialogTemplate(it->second.data(), it->second.size());
}

}  // namespace qx

BOOL IsDialogMessage(HWND dialog, MSG* msg) {
    if (!msg || !IsWindow(dialog) || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
    if (msg->message != WM_KEYDOWN) return FALSE;
    const LRESULT code = SendMessage(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if (code & DLGC_WANTALLKEYS) return FALSE;
    switch (msg->wParam) {
        case VK_TAB: {
            if (code & DLGC_WANTTAB) return FALSE;
            const bool back = GetKeyState(VK_SHIFT) < 0;
            if (HWND next = GetNextDlgTabItem(dialog, GetFocus(), back ? TRUE : FALSE)) qx::wnd::FocusControl(next);
            return TRUE;
        }
        case VK_RETURN: {
            HWND focus = GetFocus();
            const LRESULT focusCode = focus ? SendMessage(focus, WM_GETDLGCODE) : 0;
            const int id = (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) ? GetDlgCtrlID(focus) : qx::wnd::DefaultId(dialog);
            qx::wnd::PressButton(dialog, id);
            return TRUE;
        }
        case VK_ESCAPE: qx::wnd::PressButton(dialog, IDCANCEL); return TRUE;
        default: return FALSE;
    }
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    Window* d = Find(dialog);
    if (!d) return nullptr;
    std::vector<HWND> stops;
    for (HWND child : d->children) {
        if (qx::wnd::WantsFocus(child)) stops.push_back(child);
    }
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), control);
    if (it == stops.end()) return previous ? stops.back() : stops.front();
    const auto index = static_cast<size_t>(it - stops.begin());
    return previous ? stops[(index + stops.size() - 1) % stops.size()] : stops[(index + 1) % stops.size()];
}

BOOL MapDialogRect(HWND dialog, CRect* rect) {
    DialogState* state = qx::wnd::DialogOf(dialog);
    if (!state || !rect) return FALSE;
    *rect = qx::wnd::ToPixels(*rect, state->baseUnits);
    return TRUE;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) return FALSE;
    SendMessage(button, BM_SETCHECK, check);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendMessage(GetDlgItem(dialog, id), BM_GETCHECK));
}

LONG_PTR GetDialogBaseUnits() {
    const CSize base = qx::wnd::BaseUnitsOf(qx::DefaultGuiFont());
    return static_cast<LONG_PTR>(MAKELONG(static_cast<unsigned>(base.cx), static_cast<unsigned>(base.cy)));
}

short GetKeyState(int virtualKey) {
    auto& keys = qx::wnd::KeysDown();
    auto it = keys.find(virtualKey);
    return it != keys.end() && it->second ? static_cast<short>(0x8000) : 0;
}

namespace qx::wnd {

bool IsModalDialog(HWND hwnd) {
    DialogState* state = DialogOf(hwnd);
    return state && state->modal;
}

LRESULT DialogResult(HWND hwnd) {
    DialogState* state = DialogOf(hwnd);
    return state && state->ended ? state->result : IDCANCEL;
}

}  // namespace qx::wnd
