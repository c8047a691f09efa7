#include "tools/qxtool/shown_text.h"

#include <cstdint>

namespace qxtool {

std::wstring EscapeControls(std::wstring_view text) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring shown;
    shown.reserve(text.size());
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code >= 0x20 && code != 0x7F && (code < 0x80 || code > 0x9F)) {
            shown += c;
            continue;
        }
        switch (c) {
            case L'\0': shown += L"\\0"; break;
            case L'\t': shown += L"\\t"; break;
            case L'\n': shown += L"\\n"; break;
            case L'\r': shown += L"\\r"; break;
            default:
                shown += L"\\x";
                shown += kDigits[code >> 4];
                shown += kDigits[code & 0xF];
        }
    }
    return shown;
}

}  // namespace qxtool
