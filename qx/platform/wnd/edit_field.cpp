#include "qx/platform/wnd/internal/edit_field.h"

#include <algorithm>

#include "qx/platform/wnd/window_constants.h"

namespace qx::wnd {

size_t EditField::First(const std::wstring& text) const { return std::min({selStart, selEnd, text.size()}); }
size_t EditField::Last(const std::wstring& text) const { return std::min(std::max(selStart, selEnd), text.size()); }

void EditField::Select(const std::wstring& text, long start, long end) {
    const size_t length = text.size();
    if (start < 0) {
        selStart = selEnd = std::min(selEnd, length);
        return;
    }
    selStart = std::min(static_cast<size_t>(start), length);
    selEnd = end < 0 ? length : std::min(static_cast<size_t>(end), length);
}

void EditField::SelectAll(const std::wstring& text) {
    selStart = 0;
    selEnd = text.size();
}

bool EditField::Replace(std::wstring& text, std::wstring insert, bool* cut) {
    const size_t start = First(text), end = Last(text);
    const size_t room = limit - std::min(limit, text.size() - (end - start));
    if (cut) *cut = insert.size() > room;
    if (insert.size() > room) insert.resize(room);
    if (insert.empty() && start == end) return false;
    text.replace(start, end - start, insert);
    selStart = selEnd = start + insert.size();
    return true;
}

bool EditField::Type(std::wstring& text, wchar_t ch, bool* cut) {
    if (cut) *cut = false;
    if (ch == L'\b') {
        if (selStart == selEnd && First(text) > 0) selStart = First(text) - 1;
        return Replace(text, L"");
    }
    if (ch < L' ') return false;
    return Replace(text, std::wstring(1, ch), cut);
}

bool EditField::Key(std::wstring& text, UINT key, bool readOnly, bool* changed) {
    *changed = false;
    const size_t length = text.size();
    size_t caret = std::min(selEnd, length);
    switch (key) {
        case VK_LEFT: caret = caret > 0 ? caret - 1 : 0; break;
        case VK_RIGHT: caret = std::min(caret + 1, length); break;
        case VK_HOME: caret = 0; break;
        case VK_END: caret = length; break;
        case VK_DELETE:
            if (readOnly) return true;
            if (selStart == selEnd && selEnd < length) ++selEnd;
            *changed = Replace(text, L"");
            return true;
        default: return false;
    }
    selStart = selEnd = caret;
    return true;
}

LRESULT EditField::Report(const std::wstring& text, WPARAM start, LPARAM end) const {
    const auto first = static_cast<DWORD>(First(text)), last = static_cast<DWORD>(Last(text));
    if (auto* out = reinterpret_cast<DWORD*>(start)) *out = first;
    if (auto* out = reinterpret_cast<DWORD*>(end)) *out = last;
    return static_cast<LRESULT>(MAKELONG(first, last));
}

}  // namespace qx::wnd
