// The edit control: text with a selection, a limit and a read-only state.
#include <algorithm>

#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

// The platform's limit before EM_LIMITTEXT.
constexpr size_t kDefaultLimit = 30000;

struct EditState : ControlState {
    size_t selStart = 0;
    size_t selEnd = 0;
    size_t limit = kDefaultLimit;
    bool modified = false;
};

void Changed(HWND hwnd) {
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyChanged(hwnd);
}

// Replaces the selection with *insert*, cut to what the limit leaves room
// for; EN_MAXTEXT tells the parent when something was cut.
void ReplaceSelection(HWND hwnd, Window& w, EditState& state, std::wstring insert) {
    const size_t start = std::min({state.selStart, state.selEnd, w.text.size()});
    const size_t end = std::min(std::max(state.selStart, state.selEnd), w.text.size());
    const size_t room = state.limit - std::min(state.limit, w.text.size() - (end - start));
    if (insert.size() > room) {
        insert.resize(room);
        NotifyParent(hwnd, EN_MAXTEXT);
        if (insert.empty() && start == end) return;
    }
    w.text.replace(start, end - start, insert);
    state.selStart = state.selEnd = start + insert.size();
    state.modified = true;
    Changed(hwnd);
}

std::wstring Filtered(const Window& w, wchar_t ch) {
    if ((w.style & ES_NUMBER) && (ch < L'0' || ch > L'9')) return {};
    if (w.style & ES_UPPERCASE) ch = ToUpper(ch);
    if (w.style & ES_LOWERCASE) ch = ToLower(ch);
    return std::wstring(1, ch);
}

void SetSelection(HWND hwnd, EditState& state, const Window& w, long start, long end) {
    const size_t length = w.text.size();
    if (start < 0) {
        state.selStart = state.selEnd = std::min(state.selEnd, length);
    } else {
        state.selStart = std::min(static_cast<size_t>(start), length);
        state.selEnd = end < 0 ? length : std::min(static_cast<size_t>(end), length);
    }
    NotifyChanged(hwnd);
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto& state = StateOf<EditState>(*w);
    const bool readOnly = (w->style & ES_READONLY) != 0;
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            if ((w->style & ES_MULTILINE) && (w->style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_SETTEXT: {
            std::wstring text = TextAt(lParam);
            if (text.size() > state.limit) text.resize(state.limit);
            w->text = text;
            state.selStart = state.selEnd = 0;
            state.modified = false;
            if (!(w->style & ES_MULTILINE)) Changed(hwnd);
            else NotifyChanged(hwnd);
            return TRUE;
        }
        case EM_GETSEL: {
            if (auto* start = reinterpret_cast<DWORD*>(wParam)) *start = static_cast<DWORD>(std::min(state.selStart, state.selEnd));
            if (auto* end = reinterpret_cast<DWORD*>(lParam)) *end = static_cast<DWORD>(std::max(state.selStart, state.selEnd));
            return static_cast<LRESULT>(MAKELONG(static_cast<unsigned>(std::min(state.selStart, state.selEnd)),
                                                 static_cast<unsigned>(std::max(state.selStart, state.selEnd))));
        }
        case EM_SETSEL:
            SetSelection(hwnd, state, *w, static_cast<long>(static_cast<LPARAM>(wParam)), static_cast<long>(lParam));
            return 0;
        case EM_REPLACESEL: ReplaceSelection(hwnd, *w, state, TextAt(lParam)); return 0;
        case EM_LIMITTEXT:
            state.limit = wParam ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT: return static_cast<LRESULT>(state.limit);
        case EM_SETREADONLY:
            if (wParam) w->style |= ES_READONLY;
            else w->style &= ~ES_READONLY;
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
            return TRUE;
        case EM_GETLINECOUNT: return 1 + std::count(w->text.begin(), w->text.end(), L'\n');
        case WM_CHAR: {
            const auto ch = static_cast<wchar_t>(wParam);
            if (readOnly) return 0;
            if (ch == L'\b') {
                if (state.selStart == state.selEnd && state.selStart > 0) --state.selStart;
                ReplaceSelection(hwnd, *w, state, L"");
            } else if (ch == L'\r' && (w->style & ES_MULTILINE)) {
                ReplaceSelection(hwnd, *w, state, L"\r\n");
            } else if (ch >= L' ') {
                if (std::wstring text = Filtered(*w, ch); !text.empty()) ReplaceSelection(hwnd, *w, state, text);
            }
            return 0;
        }
        case WM_KEYDOWN: {
            const size_t length = w->text.size();
            size_t& caret = state.selEnd;
            switch (wParam) {
                case VK_LEFT: caret = caret > 0 ? caret - 1 : 0; break;
                case VK_RIGHT: caret = std::min(caret + 1, length); break;
                case VK_HOME: caret = 0; break;
                case VK_END: caret = length; break;
                case VK_DELETE:
                    if (readOnly) return 0;
                    if (state.selStart == state.selEnd && state.selEnd < length) ++state.selEnd;
                    ReplaceSelection(hwnd, *w, state, L"");
                    return 0;
                default: return 0;
            }
            state.selStart = caret;
            NotifyChanged(hwnd);
            return 0;
        }
        case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
        case WM_SETFOCUS: NotifyParent(hwnd, EN_SETFOCUS); return 0;
        case WM_KILLFOCUS: NotifyParent(hwnd, EN_KILLFOCUS); return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (CDC* dc = BeginPaint(hwnd, &paint)) PaintEdit(*dc, hwnd);
            EndPaint(hwnd, &paint);
            return 0;
        }
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
