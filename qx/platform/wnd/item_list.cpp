#include "qx/platform/wnd/internal/item_list.h"

#include <algorithm>

#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/internal/controls.h"

namespace qx::wnd {
namespace {

bool LessFolded(const std::wstring& a, const std::wstring& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](wchar_t x, wchar_t y) { return FoldCase(x) < FoldCase(y); });
}

bool BeginsFolded(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && EqualsFolded(std::wstring_view(text).substr(0, prefix.size()), prefix);
}

}  // namespace

int ItemList::Add(std::wstring text, bool sorted) {
    auto at = items_.end();
    if (sorted) {
        at = std::upper_bound(items_.begin(), items_.end(), text,
                              [](const std::wstring& t, const Item& item) { return LessFolded(t, item.text); });
    }
    const int index = static_cast<int>(at - items_.begin());
    items_.insert(at, Item{std::move(text)});
    if (current >= index) ++current;
    return index;
}

int ItemList::Insert(int index, std::wstring text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    items_.insert(items_.begin() + index, Item{std::move(text)});
    if (current >= index) ++current;
    return index;
}

int ItemList::Remove(int index) {
    if (!Valid(index)) return -1;
    items_.erase(items_.begin() + index);
    if (current == index) current = -1;
    else if (current > index) --current;
    top = std::min(top, std::max(0, Count() - 1));
    return Count();
}

void ItemList::Clear() {
    items_.clear();
    current = -1;
    top = 0;
}

int ItemList::Find(int after, const std::wstring& prefix, bool exact) const {
    const int count = Count();
    if (count == 0) return -1;
    const int start = (after < -1 || after >= count) ? -1 : after;
    for (int step = 1; step <= count; ++step) {
        const int i = (start + step) % count;
        const std::wstring& text = items_[static_cast<size_t>(i)].text;
        if (exact ? EqualsFolded(text, prefix) : BeginsFolded(text, prefix)) return i;
    }
    return -1;
}

}  // namespace qx::wnd

namespace qx::wnd {

LRESULT ApplyListOp(ItemList& list, ListOp op, WPARAM wParam, LPARAM lParam, bool sorted) {
    const int index = static_cast<int>(static_cast<LPARAM>(wParam));
    const auto text = [&] {
        const auto* p = reinterpret_cast<const wchar_t*>(lParam);
        return p ? std::wstring(p) : std::wstring();
    };
    switch (op) {
        case ListOp::Add: return list.Add(text(), sorted);
        case ListOp::Insert: return list.Insert(index, text());
        case ListOp::Delete: return list.Remove(index);
        case ListOp::Reset: list.Clear(); return 0;
        case ListOp::Count: return list.Count();
        case ListOp::GetCurrent: return list.current;
        case ListOp::SetCurrent:
            if (index == -1) {
                list.current = -1;
                return -1;
            }
            if (!list.Valid(index)) return -1;
            list.current = index;
            return index;
        case ListOp::GetText: {
            if (!list.Valid(index)) return -1;
            return CopyToCallerBuffer(list.At(index).text, lParam);
        }
        case ListOp::GetTextLength: return list.Valid(index) ? static_cast<LRESULT>(list.At(index).text.size()) : -1;
        case ListOp::Find: return list.Find(index, text(), false);
        case ListOp::FindExact: return list.Find(index, text(), true);
        case ListOp::Select: {
            const int found = list.Find(index, text(), false);
            if (found >= 0) list.current = found;
            return found;
        }
        case ListOp::GetData: return list.Valid(index) ? list.At(index).data : -1;
        case ListOp::SetData:
            if (!list.Valid(index)) return -1;
            list.At(index).data = lParam;
            return 0;
    }
    return -1;
}

bool ChangesList(ListOp op) {
    switch (op) {
        case ListOp::Add: case ListOp::Insert: case ListOp::Delete: case ListOp::Reset: case ListOp::SetCurrent:
        case ListOp::Select: case ListOp::SetData: return true;
        default: return false;
    }
}

}  // namespace qx::wnd
