// The combo box: a list with an edit field (CBS_DROPDOWN, CBS_SIMPLE) or
// with the selected entry's text in its place (CBS_DROPDOWNLIST).
#include <algorithm>
#include <optional>

#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/internal/edit_field.h"
#include "qx/platform/wnd/internal/item_list.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

struct ComboState : ControlState {
    ItemList list;
    EditField field;
    bool dropped = false;
};

std::optional<ListOp> OpOf(UINT message) {
    switch (message) {
        case CB_ADDSTRING: return ListOp::Add;
        case CB_INSERTSTRING: return ListOp::Insert;
        case CB_DELETESTRING: return ListOp::Delete;
        case CB_RESETCONTENT: return ListOp::Reset;
        case CB_GETCOUNT: return ListOp::Count;
        case CB_GETCURSEL: return ListOp::GetCurrent;
        case CB_SETCURSEL: return ListOp::SetCurrent;
        case CB_GETLBTEXT: return ListOp::GetText;
        case CB_GETLBTEXTLEN: return ListOp::GetTextLength;
        case CB_FINDSTRING: return ListOp::Find;
        case CB_FINDSTRINGEXACT: return ListOp::FindExact;
        case CB_SELECTSTRING: return ListOp::Select;
        case CB_GETITEMDATA: return ListOp::GetData;
        case CB_SETITEMDATA: return ListOp::SetData;
        default: return std::nullopt;
    }
}

bool IsDropDownList(const Window& w) { return (w.style & 0x3) == CBS_DROPDOWNLIST; }

// The field shows the current entry's text (or nothing without one).
void ShowCurrent(Window& w, ComboState& state) {
    w.text = state.list.Valid(state.list.current) ? state.list.At(state.list.current).text : L"";
    state.field.SelectAll(w.text);
}

void UserSelect(HWND hwnd, Window& w, ComboState& state, int index) {
    if (!state.list.Valid(index) || index == state.list.current) return;
    state.list.current = index;
    ShowCurrent(w, state);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyChanged(hwnd);
    NotifyParent(hwnd, CBN_SELCHANGE);
    NotifyParent(hwnd, CBN_SELENDOK);
}

}  // namespace

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto& state = StateOf<ComboState>(*w);
    if (std::optional<ListOp> op = OpOf(message)) {
        const int before = state.list.current;
        const LRESULT result = ApplyListOp(state.list, *op, wParam, lParam, (w->style & CBS_SORT) != 0);
        if (ChangesList(*op)) {
            if (state.list.current != before || *op == ListOp::SetCurrent || *op == ListOp::Reset) ShowCurrent(*w, state);
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
        }
        return result;
    }
    switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (IsDropDownList(*w) ? 0u : static_cast<UINT>(DLGC_HASSETSEL));
        case WM_SETTEXT: {
            // A list without an edit field can only show one of its entries.
            std::wstring text = TextAt(lParam);
            if (IsDropDownList(*w)) {
                const int found = state.list.Find(-1, text, true);
                if (found < 0) return CB_ERR;
                state.list.current = found;
                ShowCurrent(*w, state);
            } else {
                w->text = text;
                state.field.Select(w->text, 0, 0);
            }
            NotifyChanged(hwnd);
            return TRUE;
        }
        case CB_GETEDITSEL: return state.field.Report(w->text, wParam, lParam);
        case CB_SETEDITSEL:
            if (IsDropDownList(*w)) return CB_ERR;
            state.field.Select(w->text, static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                               static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lParam))));
            NotifyChanged(hwnd);
            return TRUE;
        case CB_LIMITTEXT:
            if (IsDropDownList(*w)) return CB_ERR;
            state.field.limit = wParam ? static_cast<size_t>(wParam) : 0x7FFFFFFE;
            return TRUE;
        case CB_SHOWDROPDOWN:
            if (state.dropped != (wParam != 0)) {
                state.dropped = wParam != 0;
                NotifyParent(hwnd, state.dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
                NotifyChanged(hwnd);
            }
            return TRUE;
        case CB_GETDROPPEDSTATE: return state.dropped ? TRUE : FALSE;
        case WM_CHAR: {
            if (IsDropDownList(*w)) {
                // Typing a letter selects the next entry beginning with it.
                const wchar_t ch = static_cast<wchar_t>(wParam);
                if (ch >= L' ') UserSelect(hwnd, *w, state, state.list.Find(state.list.current, std::wstring(1, ch), false));
                return 0;
            }
            if (!state.field.Type(w->text, static_cast<wchar_t>(wParam))) return 0;
            NotifyParent(hwnd, CBN_EDITUPDATE);
            NotifyParent(hwnd, CBN_EDITCHANGE);
            NotifyChanged(hwnd);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_DOWN) UserSelect(hwnd, *w, state, std::min(state.list.current + 1, state.list.Count() - 1));
            if (wParam == VK_UP) UserSelect(hwnd, *w, state, std::max(state.list.current - 1, 0));
            return 0;
        case WM_LBUTTONDOWN: SetFocus(hwnd); return 0;
        case WM_SETFOCUS: NotifyParent(hwnd, CBN_SETFOCUS); return 0;
        case WM_KILLFOCUS:
            if (state.dropped) SendMessage(hwnd, CB_SHOWDROPDOWN, FALSE);
            NotifyParent(hwnd, CBN_KILLFOCUS);
            return 0;
        case WM_PAINT: return PaintControl(hwnd, PaintComboBox);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
