#include "qx/platform/os/message_box.h"

#include <array>
#include <cstdio>
#include <string>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/process_info.h"
#include "qx/platform/os/path_split.h"

namespace qx {

namespace {

int DefaultHandler(const wchar_t* text, const wchar_t* caption, unsigned flags) {
    const std::string line = WideToUtf8(caption) + ": " + WideToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return DefaultMessageButton(flags);
}

// The one owner of the installed handler.
class MessageHandlers {
public:
    static MessageHandlers& Instance() {
        static MessageHandlers handlers;
        return handlers;
    }

    MessageHandler Exchange(MessageHandler handler) { return std::exchange(handler_, std::move(handler)); }

    int Show(const wchar_t* text, const wchar_t* caption, unsigned flags) const {
        return handler_ ? handler_(text, caption, flags) : DefaultHandler(text, caption, flags);
    }

private:
    MessageHandler handler_;
};

}  // namespace

int DefaultMessageButton(unsigned flags) {
    // The buttons of each box type, left to right.
    static constexpr std::array<std::array<int, 3>, 6> kButtons = {{
        {IDOK, 0, 0},                      // MB_OK
        {IDOK, IDCANCEL, 0},               // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},      // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},           // MB_YESNOCANCEL
        {IDYES, IDNO, 0},                  // MB_YESNO
        {IDRETRY, IDCANCEL, 0},            // MB_RETRYCANCEL
    }};
    const unsigned type = flags & MB_TYPEMASK;
    const auto& buttons = kButtons[type < kButtons.size() ? type : MB_OK];
    const unsigned index = (flags & MB_DEFMASK) >> 8;
    return index < buttons.size() && buttons[index] != 0 ? buttons[index] : buttons[0];
}

int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned flags) {
    return MessageHandlers::Instance().Show(text ? text : L"", caption ? caption : L"", flags);
}

int ShowAppMessage(const wchar_t* text, unsigned flags) {
    std::wstring title(NamePart(ProgramPath()));
    size_t dot = title.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) title.resize(dot);
    return ShowMessage(text, title.c_str(), flags);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
    return MessageHandlers::Instance().Exchange(std::move(handler));
}

}  // namespace qx
