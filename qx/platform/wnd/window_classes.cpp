// The window classes: the standard controls, the dialog class and those the
// family registers.
#include <algorithm>
#include <map>

#include "qx/platform/base/unicode.h"
#include "qx/platform/wnd/internal/controls.h"
#include "qx/platform/wnd/internal/window_object.h"
#include "qx/platform/wnd/window.h"

namespace {

struct FoldedLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
            return qx::FoldCase(x) < qx::FoldCase(y);
        });
    }
};

std::map<std::wstring, WNDPROC, FoldedLess>& Classes() {
    static std::map<std::wstring, WNDPROC, FoldedLess> classes = {
        {L"Button", qx::wnd::ButtonProc},
        {L"Edit", qx::wnd::EditProc},
        {L"Static", qx::wnd::StaticProc},
        {L"ListBox", qx::wnd::ListBoxProc},
        {L"ComboBox", qx::wnd::ComboBoxProc},
        {L"SysListView32", qx::wnd::ListViewProc},
        {L"msctls_progress32", qx::wnd::ProgressProc},
        {L"#32770", qx::wnd::DialogClassProc},
    };
    return classes;
}

}  // namespace

void RegisterWindowProc(const wchar_t* className, WNDPROC proc) {
    if (!className || !*className || !proc) return;
    Classes()[className] = proc;
}

namespace qx::wnd {

WNDPROC ClassProc(const std::wstring& className) {
    auto it = Classes().find(className);
    return it == Classes().end() ? nullptr : it->second;
}

}  // namespace qx::wnd
