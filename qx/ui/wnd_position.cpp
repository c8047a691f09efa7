#include "qx/ui/wnd_position.h"

#include <optional>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/cwnd.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace {

constexpr const wchar_t* kPositionFormat = L"top=%i, bottom=%i, left=%i, right=%i";

// Stored coordinates beyond this are no place on any screen; refusing them
// keeps the rectangle's arithmetic within int.
constexpr long long kMaxCoordinate = 1'000'000;

// Dialogs and property sheets share the dialog class.
bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    GetClassName(window, name, 16);
    return std::wstring_view(name) == L"#32770";
}

const wchar_t* SkipSpace(const wchar_t* p) {
    while (qx::IsSpace(*p)) ++p;
    return p;
}

// Reads the four numbers the way the stored format writes them: the names
// in their order, white space allowed around the numbers and commas, and
// whatever follows the fourth number ignored. nullopt when a field is
// missing or out of range.
std::optional<CRect> ParsePosition(const CString& text) {
    static constexpr const wchar_t* kFields[] = {L"top=", L"bottom=", L"left=", L"right="};
    long long values[4] = {};
    const wchar_t* p = text.GetString();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            p = SkipSpace(p);
            if (*p != L',') return std::nullopt;
            ++p;
        }
        p = SkipSpace(p);
        const std::wstring_view field(kFields[i]);
        if (std::wstring_view(p).substr(0, field.size()) != field) return std::nullopt;
        p += field.size();
        const wchar_t* end = p;
        values[i] = qx::ParseInteger(p, &end);
        if (end == p || values[i] < -kMaxCoordinate || values[i] > kMaxCoordinate) return std::nullopt;
        p = end;
    }
    return CRect(static_cast<int>(values[2]), static_cast<int>(values[0]), static_cast<int>(values[3]),
                 static_cast<int>(values[1]));
}

bool Intersect(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Moves the window to a screen rectangle (a child is placed in its parent's
// client coordinates).
void Place(HWND window, const CRect& rect) {
    CPoint at = rect.TopLeft();
    if ((GetWindowLongPtr(window, GWL_STYLE) & WS_CHILD) && GetParent(window)) ScreenToClient(GetParent(window), &at);
    MoveWindow(window, at.x, at.y, rect.Width(), rect.Height(), TRUE);
}

}  // namespace

BOOL StoreWndPosition(HWND window, HKEY rootKey, const wchar_t* subKey, const wchar_t* valueName) {
    CRect rect;
    if (!IsWindow(window) || !GetWindowRect(window, &rect)) return FALSE;
    if (!RegCreateKeyW(rootKey, subKey)) return FALSE;
    CString text;
    text.Format(kPositionFormat, rect.top, rect.bottom, rect.left, rect.right);
    return RegSetValueW(rootKey, subKey, valueName, text.GetString()) ? TRUE : FALSE;
}

BOOL RestoreWndPosition(HWND window, HKEY rootKey, const wchar_t* subKey, const wchar_t* valueName, BOOL checkParent) {
    if (!IsWindow(window)) return FALSE;
    const bool dialog = IsDialog(window);
    HWND parent = GetParent(window);
    CString text;
    if (!RegQueryValueW(rootKey, subKey, valueName, text)) {
        if (dialog && parent && IsWindowVisible(parent)) CWnd::FromHandle(window)->CenterWindow();
        return FALSE;
    }
    const std::optional<CRect> stored = ParsePosition(text);
    if (!stored) return FALSE;
    CRect rect = *stored;
    CRect current;
    GetWindowRect(window, &current);
    if (dialog && !(GetWindowLongPtr(window, GWL_STYLE) & WS_THICKFRAME)) {
        // A dialog the user cannot size keeps the size its template gives,
        // which a stored value from another layout must not change.
        rect.right = rect.left + current.Width();
        rect.bottom = rect.top + current.Height();
    }
    if (rect.IsRectEmpty()) return FALSE;
    if (checkParent && parent) {
        CRect around;
        GetWindowRect(parent, &around);
        if (!Intersect(rect, around)) {
            // Saved beside another parent window: keep the size, centre
            // over this one.
            SetWindowPos(window, nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            CWnd::FromHandle(window)->CenterWindow();
            GetWindowRect(window, &rect);
        }
    }
    // The strip the user grabs to move the window must be reachable.
    const CRect strip(rect.left, rect.top, rect.right, rect.top + GetSystemMetrics(SM_CYSIZE));
    if (!MonitorFromRect(&strip, MONITOR_DEFAULTTONULL)) return FALSE;
    Place(window, rect);
    return TRUE;
}
