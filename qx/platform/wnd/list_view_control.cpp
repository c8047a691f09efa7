// The list view in report form: rows of texts under columns, with item
// data and the selected and focused states.
#include <algorithm>
#include <string>
#include <vector>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/internal/classic_look.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

struct Row {
    std::vector<std::wstring> texts;  // one per subitem
    LPARAM data = 0;
    UINT state = 0;
};

struct ListViewState : ControlState {
    std::vector<Row> rows;
    std::vector<std::pair<std::wstring, int>> columns;  // text, width
    int top = 0;
};

bool Valid(const ListViewState& state, int item) { return item >= 0 && item < static_cast<int>(state.rows.size()); }

std::wstring& TextOf(Row& row, int subItem) {
    if (row.texts.size() <= static_cast<size_t>(subItem)) row.texts.resize(static_cast<size_t>(subItem) + 1);
    return row.texts[static_cast<size_t>(subItem)];
}

void NotifyItemChanged(HWND hwnd, const Row& row, int item, UINT oldState) {
    Window* w = Find(hwnd);
    if (!w || !IsChildWindow(*w)) return;
    NMLISTVIEW change;
    change.hdr = {hwnd, static_cast<UINT_PTR>(w->id), LVN_ITEMCHANGED};
    change.iItem = item;
    change.uNewState = row.state;
    change.uOldState = oldState;
    change.uChanged = LVIF_STATE;
    change.lParam = row.data;
    SendMessage(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&change));
}

void SetState(HWND hwnd, ListViewState& state, int item, UINT value, UINT mask, bool singleSelection) {
    if (singleSelection && (mask & value & LVIS_SELECTED)) {
        for (int i = 0; i < static_cast<int>(state.rows.size()); ++i) {
            if (i != item && (state.rows[static_cast<size_t>(i)].state & LVIS_SELECTED)) SetState(hwnd, state, i, 0, LVIS_SELECTED, false);
        }
    }
    if (mask & value & LVIS_FOCUSED) {
        for (int i = 0; i < static_cast<int>(state.rows.size()); ++i) {
            if (i != item && (state.rows[static_cast<size_t>(i)].state & LVIS_FOCUSED)) SetState(hwnd, state, i, 0, LVIS_FOCUSED, false);
        }
    }
    if (!Valid(state, item)) return;
    Row& row = state.rows[static_cast<size_t>(item)];
    const UINT old = row.state;
    row.state = (row.state & ~mask) | (value & mask);
    if (row.state != old) NotifyItemChanged(hwnd, row, item, old);
}

void Notify(HWND hwnd, UINT code, int item) {
    Window* w = Find(hwnd);
    if (!w || !IsChildWindow(*w)) return;
    NMITEMACTIVATE activate;
    activate.hdr = {hwnd, static_cast<UINT_PTR>(w->id), code};
    activate.iItem = item;
    SendMessage(w->parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&activate));
}

LRESULT CopyText(const std::wstring& text, LVITEM* item) {
    if (!item || !item->pszText || item->cchTextMax <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(item->cchTextMax - 1));
    std::copy_n(text.begin(), n, item->pszText);
    item->pszText[n] = L'\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    auto& state = StateOf<ListViewState>(*w);
    const bool single = (w->style & LVS_SINGLESEL) != 0;
    auto* item = reinterpret_cast<LVITEM*>(lParam);
    const int index = static_cast<int>(static_cast<LPARAM>(wParam));
    const auto changed = [&] {
        InvalidateRect(hwnd, nullptr, TRUE);
        NotifyChanged(hwnd);
    };
    switch (message) {
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case LVM_GETITEMCOUNT: return static_cast<LRESULT>(state.rows.size());
        case LVM_INSERTCOLUMN: {
            auto* column = reinterpret_cast<LVCOLUMN*>(lParam);
            if (!column) return -1;
            const int at = std::clamp(index, 0, static_cast<int>(state.columns.size()));
            state.columns.insert(state.columns.begin() + at,
                                 {(column->mask & LVCF_TEXT) && column->pszText ? column->pszText : L"",
                                  (column->mask & LVCF_WIDTH) ? column->cx : 100});
            changed();
            return at;
        }
        case LVM_INSERTITEM: {
            if (!item) return -1;
            const int at = std::clamp(item->iItem, 0, static_cast<int>(state.rows.size()));
            Row row;
            if ((item->mask & LVIF_TEXT) && item->pszText) TextOf(row, 0) = item->pszText;
            if (item->mask & LVIF_PARAM) row.data = item->lParam;
            state.rows.insert(state.rows.begin() + at, row);
            if (item->mask & LVIF_STATE) SetState(hwnd, state, at, item->state, item->stateMask, single);
            changed();
            return at;
        }
        case LVM_DELETEITEM:
            if (!Valid(state, index)) return FALSE;
            state.rows.erase(state.rows.begin() + index);
            changed();
            return TRUE;
        case LVM_DELETEALLITEMS:
            state.rows.clear();
            state.top = 0;
            changed();
            return TRUE;
        case LVM_GETITEM: {
            if (!item || !Valid(state, item->iItem)) return FALSE;
            Row& row = state.rows[static_cast<size_t>(item->iItem)];
            if (item->mask & LVIF_TEXT) CopyText(TextOf(row, item->iSubItem), item);
            if (item->mask & LVIF_PARAM) item->lParam = row.data;
            if (item->mask & LVIF_STATE) item->state = row.state & item->stateMask;
            return TRUE;
        }
        case LVM_SETITEM: {
            if (!item || !Valid(state, item->iItem) || item->iSubItem < 0) return FALSE;
            Row& row = state.rows[static_cast<size_t>(item->iItem)];
            if ((item->mask & LVIF_TEXT) && item->pszText) TextOf(row, item->iSubItem) = item->pszText;
            if (item->mask & LVIF_PARAM) row.data = item->lParam;
            if (item->mask & LVIF_STATE) SetState(hwnd, state, item->iItem, item->state, item->stateMask, single);
            changed();
            return TRUE;
        }
        case LVM_GETITEMTEXT:
            if (!item || !Valid(state, index) || item->iSubItem < 0) return 0;
            return CopyText(TextOf(state.rows[static_cast<size_t>(index)], item->iSubItem), item);
        case LVM_SETITEMTEXT:
            if (!item || !Valid(state, index) || item->iSubItem < 0) return FALSE;
            TextOf(state.rows[static_cast<size_t>(index)], item->iSubItem) = item->pszText ? item->pszText : L"";
            changed();
            return TRUE;
        case LVM_SETITEMSTATE:
            if (!item) return FALSE;
            if (index == -1) {
                for (int i = 0; i < static_cast<int>(state.rows.size()); ++i) SetState(hwnd, state, i, item->state, item->stateMask, false);
            } else {
                if (!Valid(state, index)) return FALSE;
                SetState(hwnd, state, index, item->state, item->stateMask, single);
            }
            changed();
            return TRUE;
        case LVM_GETITEMSTATE:
            return Valid(state, index) ? static_cast<LRESULT>(state.rows[static_cast<size_t>(index)].state & static_cast<UINT>(lParam)) : 0;
        case LVM_GETNEXTITEM: {
            const UINT flags = static_cast<UINT>(lParam) & (LVNI_SELECTED | LVNI_FOCUSED);
            for (int i = std::max(index + 1, 0); i < static_cast<int>(state.rows.size()); ++i) {
                if ((state.rows[static_cast<size_t>(i)].state & flags) == flags) return i;
            }
            return -1;
        }
        case LVM_ENSUREVISIBLE:
            if (!Valid(state, index)) return FALSE;
            state.top = std::min(state.top, index);
            NotifyChanged(hwnd);
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            SetFocus(hwnd);
            const int height = std::max(1, ListItemHeight(hwnd));
            const int hit = state.top + (GET_Y_LPARAM(lParam) - height) / height;  // below the header row
            if (Valid(state, hit)) SetState(hwnd, state, hit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED, single);
            changed();
            Notify(hwnd, message == WM_LBUTTONDOWN ? NM_CLICK : NM_DBLCLK, Valid(state, hit) ? hit : -1);
            return 0;
        }
        case WM_PAINT: return PaintControl(hwnd, PaintListView);
        default: return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

// The columns of a list view for painters; public messages give the rest.
std::vector<std::pair<std::wstring, int>> ListViewColumns(HWND hwnd) {
    // Only a list view's state is a list view's: another window's is not
    // looked at (nor made).
    Window* w = Find(hwnd);
    if (!w || !w->control || !dynamic_cast<ListViewState*>(w->control.get())) return {};
    return static_cast<ListViewState&>(*w->control).columns;
}

}  // namespace qx::wnd
