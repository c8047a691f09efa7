// The edit control: text with a selection, a limit and a read-only state.
#include <algorithm>

#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/internal/edit_field.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

// The platform's limit before EM_LIMITTEXT.
constexpr size_t kDefaultLimit = 30000;

struct EditState : ControlState {
    EditState() { field.limit = kDefaultLimit; }
    EditField field;
};

void Changed(HWND hwnd) {
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyChanged(hwnd);
}

// Notifies what an edit did: EN_MAXTEXT when the limit cut it, the change.
void Edited(HWND hwnd, bool changed, bool cut) {
    if (cut) NotifyParent(hwnd, EN_MAXTEXT);
    if (changed) Changed(hwnd);
}

wchar_t Filtered(const Window& w, wchar_t ch) {
    if (ch < L' ') return ch;
    if ((w.style & ES_NUMBER) && (ch < L'0' || ch > L'9')) return 0;
    if (w.style & ES_UPPERCASE) ch = ToUpper(ch);
    if (w.style & ES_LOWERCASE) ch = ToLower(ch);
    return ch;
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    EditField& field = StateOf<EditState>(*w).field;
    const bool readOnly = (w->style & ES_READONLY) != 0;
    bool cut = false;
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            if ((w->style & ES_MULTILINE) && (w->style & ES_WANTRETURN)) code |= DLGC_WANTALLKEYS;
            return code;
        }
        case WM_SETTEXT: {
            std::wstring text = TextAt(lParam);
            if (text.size() > field.limit) text.resize(field.limit);
            w->text = text;
            field.selStart = field.selEnd = 0;
            // A multi-line edit does not report text set by its program.
            if (!(w->style & ES_MULTILINE)) Changed(hwnd);
            else NotifyChanged(hwnd);
            return TRUE;
        }
        case EM_GETSEL: return field.Report(w->text, wParam, lParam);
        case EM_SETSEL:
            field.Select(w->text, static_cast<long>(static_cast<LPARAM>(wParam)), static_cast<long>(lParam));
            NotifyChanged(hwnd);
            return 0;
        case EM_REPLACESEL: {
            const bool changed = field.Replace(w->text, TextAt(lParam), &cut);
            Edited(hwnd, changed, cut);
            return 0;
        }
        case EM_LIMITTEXT:
            field.limit = wParam ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
            return 0;
        case EM_GETLIMITTEXT: return static_cast<LRESULT>(field.limit);
        case EM_SETREADONLY:
            if (wParam) w->style |= ES_READONLY;
            else w->style &= ~ES_READONLY;
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
            return TRUE;
        case EM_GETLINECOUNT: return 1 + std::count(w->text.begin(), w->text.end(), L'\n');
        case WM_CHAR: {
            const wchar_t ch = Filtered(*w, static_cast<wchar_t>(wParam));
            if (readOnly || ch == 0) return 0;
            const bool changed = ch == L'\r' && (w->style & ES_MULTILINE) ? field.Replace(w->text, L"\r\n", &cut)
                                                                         : field.Type(w->text, ch, &cut);
            Edited(hwnd, changed, cut);
            return 0;
        }
        case WM_KEYDOWN: {
            bool changed = false;
            if (field.Key(w->text, static_cast<UINT>(wParam), readOnly, &changed)) {
                if (changed) Changed(hwnd);
                else NotifyChanged(hwnd);
            }
            return 0;
        }
        case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
        case WM_SETFOCUS: NotifyParent(hwnd, EN_SETFOCUS); return 0;
        case WM_KILLFOCUS: NotifyParent(hwnd, EN_KILLFOCUS); return 0;
        case WM_PAINT: return PaintControl(hwnd, PaintEdit);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
