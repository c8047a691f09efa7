// The list box: entries with item data, one or several selected.
#include <algorithm>
#include <optional>

#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/internal/item_list.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

struct ListBoxState : ControlState {
    ItemList list;
};

std::optional<ListOp> OpOf(UINT message) {
    switch (message) {
        case LB_ADDSTRING: return ListOp::Add;
        case LB_INSERTSTRING: return ListOp::Insert;
        case LB_DELETESTRING: return ListOp::Delete;
        case LB_RESETCONTENT: return ListOp::Reset;
        case LB_GETCOUNT: return ListOp::Count;
        case LB_GETCURSEL: return ListOp::GetCurrent;
        case LB_SETCURSEL: return ListOp::SetCurrent;
        case LB_GETTEXT: return ListOp::GetText;
        case LB_GETTEXTLEN: return ListOp::GetTextLength;
        case LB_FINDSTRING: return ListOp::Find;
        case LB_FINDSTRINGEXACT: return ListOp::FindExact;
        case LB_SELECTSTRING: return ListOp::Select;
        case LB_GETITEMDATA: return ListOp::GetData;
        case LB_SETITEMDATA: return ListOp::SetData;
        default: return std::nullopt;
    }
}

bool Multiple(const Window& w) { return (w.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }

// The user chose entry *index*: it becomes the current (and, in a single
// selection list, the only selected) one and the parent hears of it.
void UserSelect(HWND hwnd, Window& w, ItemList& list, int index) {
    if (!list.Valid(index)) return;
    if (Multiple(w)) {
        list.At(index).selected = !list.At(index).selected;
    } else if (list.current == index) {
        return;
    }
    list.current = index;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyChanged(hwnd);
    if (w.style & LBS_NOTIFY) NotifyParent(hwnd, LBN_SELCHANGE);
}

}  // namespace

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    ItemList& list = StateOf<ListBoxState>(*w).list;
    if (std::optional<ListOp> op = OpOf(message)) {
        const LRESULT result = ApplyListOp(list, *op, wParam, lParam, (w->style & LBS_SORT) != 0);
        if (ChangesList(*op)) {
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
        }
        return result;
    }
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case LB_SETSEL: {
            const int index = static_cast<int>(lParam);
            if (!Multiple(*w)) return LB_ERR;
            for (int i = 0; i < list.Count(); ++i) {
                if (index == -1 || i == index) list.At(i).selected = wParam != 0;
            }
            NotifyChanged(hwnd);
            return index == -1 || list.Valid(index) ? LB_OKAY : LB_ERR;
        }
        case LB_GETSEL: {
            const int index = static_cast<int>(wParam);
            if (!list.Valid(index)) return LB_ERR;
            return Multiple(*w) ? (list.At(index).selected ? 1 : 0) : (list.current == index ? 1 : 0);
        }
        case LB_GETSELCOUNT: {
            if (!Multiple(*w)) return LB_ERR;
            int count = 0;
            for (int i = 0; i < list.Count(); ++i) count += list.At(i).selected ? 1 : 0;
            return count;
        }
        case LB_GETTOPINDEX: return list.top;
        case LB_SETTOPINDEX:
            if (!list.Valid(static_cast<int>(wParam))) return LB_ERR;
            list.top = static_cast<int>(wParam);
            NotifyChanged(hwnd);
            return LB_OKAY;
        case WM_LBUTTONDOWN: {
            SetFocus(hwnd);
            UserSelect(hwnd, *w, list, list.top + GET_Y_LPARAM(lParam) / std::max(1, ListItemHeight(hwnd)));
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            if (w->style & LBS_NOTIFY) NotifyParent(hwnd, LBN_DBLCLK);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DOWN) UserSelect(hwnd, *w, list, std::min(list.current + 1, list.Count() - 1));
            if (wParam == VK_UP) UserSelect(hwnd, *w, list, std::max(list.current - 1, 0));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (w->style & LBS_NOTIFY) NotifyParent(hwnd, message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_PAINT: return PaintControl(hwnd, PaintListBox);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

}  // namespace qx::wnd
