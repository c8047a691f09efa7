#include "qx/install/internal/reg_message.h"

#include <string>

#include "qx/message/message_table.h"
#include "qx/platform/wnd/message_box.h"

namespace qx::detail {

void ShowRegMessage(const char* message, const wchar_t* argument) {
    const std::wstring_view format = TranslateMessage(message);
    std::wstring text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && (format[i + 1] == L's' || format[i + 1] == L'%')) {
            text += format[i + 1] == L's' ? (argument ? argument : L"") : L"%";
            ++i;
            continue;
        }
        text += format[i];
    }
    ShowMessage(text.c_str(), L"", MB_OK);
}

}  // namespace qx::detail
