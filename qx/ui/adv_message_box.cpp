#include "qx/ui/adv_message_box.h"

#include "qx/message/string_table.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/ui/adv_msg_box.h"

namespace {

// Every message box of the library is the family's box: installed as the
// window layer's default when the library is loaded.
int FamilyBox(const wchar_t* text, const wchar_t* caption, unsigned flags) { return advMessageBox(text, flags, caption); }
[[maybe_unused]] const bool g_familyBoxInstalled = (qx::SetDefaultMessageBox(FamilyBox), true);

}  // namespace

int advMessageBox(const wchar_t* text, const wchar_t* buttons, unsigned flags, const wchar_t* caption,
                  const wchar_t* checkText, int* checkState) {
    CAdvMsgBox box(text, buttons, flags, caption, checkText, checkState, nullptr);
    return static_cast<int>(box.DoModal());
}

int advMessageBox(const wchar_t* text, unsigned flags, const wchar_t* caption) {
    return advMessageBox(text, nullptr, flags, caption, nullptr, nullptr);
}

int advMessageBox(unsigned resourceId, unsigned flags, const wchar_t* caption) {
    const std::optional<std::wstring> text = qx::LoadResourceString(resourceId);
    return advMessageBox(text ? text->c_str() : L"", flags, caption);
}

int advInputBox(const wchar_t* text, unsigned flags, const wchar_t* caption, CString& value) {
    CAdvMsgBox box(text, nullptr, flags, caption, nullptr, nullptr, &value);
    return static_cast<int>(box.DoModal());
}
