#include "qx/platform/wnd/cwnd.h"

#include <map>
#include <memory>
#include <string>

#include "qx/platform/os/path_split.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/wnd/data_exchange.h"
#include "qx/platform/wnd/internal/message_pump.h"
#include "qx/platform/wnd/screen.h"

namespace {

// The one owner of the handle maps: permanent objects (attached by the
// application) and temporary ones (made by FromHandle).
struct HandleMaps {
    std::map<HWND, CWnd*> permanent;
    std::map<HWND, std::unique_ptr<CWnd>> temporary;
    CWnd* mainWindow = nullptr;
    std::wstring appName;

    static HandleMaps& Instance() {
        static HandleMaps maps;
        return maps;
    }

    // Temporary objects of windows that are gone are dropped before the
    // map grows, so it stays as large as the windows alive.
    void SweepTemporaries() {
        for (auto it = temporary.begin(); it != temporary.end();) {
            if (IsWindow(it->first)) {
                ++it;
            } else {
                it->second->m_hWnd = nullptr;
                it = temporary.erase(it);
            }
        }
    }
};

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd && HandleMaps::Instance().permanent.count(m_hWnd)) {
        // An object that goes before its window takes its window along, as
        // the framework does, so no message finds a dead object.
        HWND hwnd = m_hWnd;
        UnsubclassWindow();
        Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto& maps = HandleMaps::Instance();
    auto it = maps.permanent.find(hwnd);
    return it == maps.permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    if (!hwnd || !IsWindow(hwnd)) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(hwnd)) return permanent;
    auto& maps = HandleMaps::Instance();
    auto it = maps.temporary.find(hwnd);
    if (it != maps.temporary.end()) return it->second.get();
    if (maps.temporary.size() >= 64) maps.SweepTemporaries();
    auto wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = hwnd;
    CWnd* result = wrapper.get();
    maps.temporary.emplace(hwnd, std::move(wrapper));
    return result;
}

BOOL CWnd::Attach(HWND hwnd) {
    if (m_hWnd || !IsWindow(hwnd) || FromHandlePermanent(hwnd)) return FALSE;
    auto& maps = HandleMaps::Instance();
    if (auto it = maps.temporary.find(hwnd); it != maps.temporary.end()) {
        it->second->m_hWnd = nullptr;
        maps.temporary.erase(it);
    }
    maps.permanent[hwnd] = this;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd) HandleMaps::Instance().permanent.erase(hwnd);
    m_hWnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    if (!Attach(hwnd)) return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FrameworkWindowProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper) ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, const CRect& rect,
                    CWnd* parent, UINT id, void* param) {
    HWND hwnd = ::CreateWindowEx(exStyle, className, windowName, style & ~WS_VISIBLE, rect.left, rect.top, rect.Width(),
                                 rect.Height(), parent ? parent->m_hWnd : nullptr, static_cast<int>(id), param);
    if (!hwnd || !SubclassWindow(hwnd)) return FALSE;
    if (style & WS_VISIBLE) ::ShowWindow(hwnd, SW_SHOW);
    return TRUE;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetTopLevelWindow(m_hWnd)); }

void CWnd::SetWindowText(const wchar_t* text) { ::SetWindowText(m_hWnd, text); }

void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLength(m_hWnd);
    std::wstring buffer(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    buffer.resize(static_cast<size_t>(std::max(0, ::GetWindowText(m_hWnd, buffer.data(), static_cast<int>(buffer.size())))));
    text = CString(buffer.c_str());
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
void CWnd::SetDlgItemText(int id, const wchar_t* text) { ::SetDlgItemText(m_hWnd, id, text); }

int CWnd::GetDlgItemText(int id, CString& text) const {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (!item) {
        text.Empty();
        return 0;
    }
    FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }

namespace {

// Removes and adds style bits at *index* (GWL_STYLE, GWL_EXSTYLE); with
// *flags*, SetWindowPos tells the window (SWP_FRAMECHANGED, ...). False
// when nothing changed.
BOOL ModifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
    if (!::IsWindow(hwnd)) return FALSE;
    const auto style = static_cast<DWORD>(::GetWindowLongPtr(hwnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtr(hwnd, index, static_cast<LONG_PTR>(changed));
    if (flags) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ModifyStyleBits(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) { return ModifyStyleBits(m_hWnd, GWL_EXSTYLE, remove, add, flags); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
void CWnd::SetFont(CFont* font, BOOL redraw) { ::SetWindowFont(m_hWnd, font, redraw); }
CFont* CWnd::GetFont() const { return ::GetWindowFont(m_hWnd); }
DWORD CWnd::GetWindowContextHelpId() const { return ::GetWindowContextHelpId(m_hWnd); }
BOOL CWnd::SetWindowContextHelpId(DWORD id) { return ::SetWindowContextHelpId(m_hWnd, id); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
void CWnd::MoveWindow(const CRect& rect, BOOL repaint) { MoveWindow(rect.left, rect.top, rect.Width(), rect.Height(), repaint); }

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, width, height, flags);
}

void CWnd::GetWindowRect(CRect* rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(CRect* rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(CPoint* point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(CPoint* point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ClientToScreen(CRect* rect) const {
    if (!rect) return;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<CPoint*>(rect), 2);
}

void CWnd::ScreenToClient(CRect* rect) const {
    if (!rect) return;
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<CPoint*>(rect), 2);
}

void CWnd::CenterWindow(CWnd* alternate) {
    CRect frame;
    GetWindowRect(&frame);
    HWND around = alternate ? alternate->m_hWnd : (GetStyle() & WS_CHILD ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
    CRect area;
    HMONITOR monitor = MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info;
    GetMonitorInfo(monitor, &info);
    const CRect work = info.rcWork;
    if (around && ::IsWindowVisible(around)) {
        ::GetWindowRect(around, &area);
    } else {
        area = work;
    }
    int x = area.left + (area.Width() - frame.Width()) / 2;
    int y = area.top + (area.Height() - frame.Height()) / 2;
    if (!(GetStyle() & WS_CHILD)) {
        // Kept on the monitor, the caption first.
        x = std::max(work.left, std::min(x, work.right - frame.Width()));
        y = std::max(work.top, std::min(y, work.bottom - frame.Height()));
    }
    CPoint at(x, y);
    if (GetStyle() & WS_CHILD) ::ScreenToClient(::GetParent(m_hWnd), &at);
    SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const CRect* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const { return ::SendMessage(m_hWnd, message, wParam, lParam); }
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const { return ::PostMessage(m_hWnd, message, wParam, lParam); }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (OnCommand(wParam, lParam)) return 0;
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (OnNotify(wParam, lParam, &result)) return result;
            break;
        }
        case WM_TIMER: OnTimer(wParam); return 0;
        case WM_PAINT: OnPaint(); return 0;
        case WM_DESTROY: OnDestroy(); return 0;
        default: break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_pfnSuper ? ::CallWindowProc(m_pfnSuper, m_hWnd, message, wParam, lParam)
                      : ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
void CWnd::OnTimer(UINT_PTR) { DefWindowProc(WM_TIMER, 0, 0); }
void CWnd::OnPaint() { DefWindowProc(WM_PAINT, 0, 0); }
void CWnd::OnDestroy() { DefWindowProc(WM_DESTROY, 0, 0); }
void CWnd::PostNcDestroy() {}

LRESULT FrameworkWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* window = CWnd::FromHandlePermanent(hwnd);
    if (!window) return ::DefWindowProc(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window's own procedure hears of the end, then the object is
        // let go of the handle.
        WNDPROC super = window->m_pfnSuper;
        const LRESULT result = super ? ::CallWindowProc(super, hwnd, message, wParam, lParam) : 0;
        window->m_pfnSuper = nullptr;
        window->Detach();
        if (HandleMaps::Instance().mainWindow == window) HandleMaps::Instance().mainWindow = nullptr;
        window->PostNcDestroy();
        return result;
    }
    return window->WindowProc(message, wParam, lParam);
}

CWnd* AfxGetMainWnd() { return HandleMaps::Instance().mainWindow; }
void AfxSetMainWnd(CWnd* window) { HandleMaps::Instance().mainWindow = window; }

const wchar_t* AfxGetAppName() {
    std::wstring& name = HandleMaps::Instance().appName;
    if (name.empty()) {
        name = std::wstring(qx::NamePart(qx::ProgramPath()));
        const size_t dot = name.rfind(L'.');
        if (dot != std::wstring::npos && dot > 0) name.resize(dot);
    }
    return name.c_str();
}

void AfxSetAppName(const wchar_t* name) { HandleMaps::Instance().appName = name ? name : L""; }

namespace qx::wnd {

bool PreTranslateForFramework(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* window = CWnd::FromHandlePermanent(hwnd); window && window->PreTranslateMessage(&msg)) return true;
        if (!(::GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

}  // namespace qx::wnd
