#include "qx/platform/base/unicode.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "qx/platform/base/utf.h"

namespace qx {

wchar_t ToUpper(wchar_t ch) {
    if (ch < 0x80) return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - 32) : ch;
    return static_cast<wchar_t>(u_toupper(static_cast<UChar32>(ch)));
}

wchar_t ToLower(wchar_t ch) {
    if (ch < 0x80) return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch;
    return static_cast<wchar_t>(u_tolower(static_cast<UChar32>(ch)));
}

wchar_t FoldCase(wchar_t ch) {
    if (ch < 0x80) return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch;
    return static_cast<wchar_t>(u_foldCase(static_cast<UChar32>(ch), U_FOLD_CASE_DEFAULT));
}

bool EqualsFolded(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    }
    return true;
}

bool IsSpace(wchar_t ch) {
    if (ch < 0x80) return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
    return u_isspace(static_cast<UChar32>(ch));
}

std::wstring ComposeNfc(std::wstring_view text) {
    // Plain ASCII and Latin-1 below the combining marks is always composed.
    bool simple = true;
    for (wchar_t c : text) {
        if (c >= 0x300) {
            simple = false;
            break;
        }
    }
    if (simple) return std::wstring(text);

    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return std::wstring(text);
    std::u16string units = WideToUtf16(text);
    icu::UnicodeString source(false, units.data(), static_cast<int32_t>(units.size()));
    if (nfc->isNormalized(source, status) && U_SUCCESS(status)) return std::wstring(text);
    status = U_ZERO_ERROR;
    icu::UnicodeString composed = nfc->normalize(source, status);
    if (U_FAILURE(status)) return std::wstring(text);
    return Utf16ToWide(std::u16string_view(composed.getBuffer(), static_cast<size_t>(composed.length())));
}

}  // namespace qx
