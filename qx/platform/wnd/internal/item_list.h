// The entries of a list box or of a combo box's list: texts with item data,
// the current selection, and the platform's find-by-prefix rules.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/wnd/window_types.h"

namespace qx::wnd {

class ItemList {
public:
    struct Item {
        std::wstring text;
        LPARAM data = 0;
        bool selected = false;  // multiple-selection list boxes
    };

    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // Appends, or inserts in sorted place; returns the index.
    int Add(std::wstring text, bool sorted);
    // At *index*, or at the end for -1; -1 for an index past the end.
    int Insert(int index, std::wstring text);
    // The count left, or -1 for a bad index.
    int Remove(int index);
    void Clear();
    // The first entry after *after* (-1: from the start), wrapping round,
    // whose text begins with *prefix* (or equals it when *exact*), letter
    // case ignored; -1 when none does.
    int Find(int after, const std::wstring& prefix, bool exact) const;

    Item& At(int index) { return items_[static_cast<size_t>(index)]; }
    const Item& At(int index) const { return items_[static_cast<size_t>(index)]; }

    int current = -1;
    int top = 0;

private:
    std::vector<Item> items_;
};

}  // namespace qx::wnd

namespace qx::wnd {

// The list operations list boxes and combo boxes share under their own
// message numbers (LB_ADDSTRING and CB_ADDSTRING, ...).
enum class ListOp { Add, Insert, Delete, Reset, Count, GetCurrent, SetCurrent, GetText, GetTextLength, Find,
                    FindExact, Select, GetData, SetData };

// Carries out *op* with the platform's parameters and results (-1 for an
// error). SetCurrent and Select change ItemList::current; the caller
// notifies.
LRESULT ApplyListOp(ItemList& list, ListOp op, WPARAM wParam, LPARAM lParam, bool sorted);
// Whether *op* may change the entries or the selection.
bool ChangesList(ListOp op);

}  // namespace qx::wnd
