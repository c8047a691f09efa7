#include "qx/platform/gfx/internal/face_aliases.h"

#include <cwctype>

#include "qx/platform/base/utf.h"

namespace qx::gfx {
namespace {

struct FaceAlias {
    const wchar_t* windowsFace;
    const char* family;
};

// Liberation faces have the advance widths of the faces they stand for, so
// reports keep their line breaks.
constexpr FaceAlias kAliases[] = {
    {L"Arial", "Liberation Sans"},
    {L"MS Sans Serif", "Liberation Sans"},
    {L"MS Shell Dlg", "Liberation Sans"},
    {L"MS Shell Dlg 2", "Liberation Sans"},
    {L"Times New Roman", "Liberation Serif"},
    {L"Courier New", "Liberation Mono"},
    {L"Courier", "Liberation Mono"},
};

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::string FontconfigFamilyFor(std::wstring_view faceName) {
    if (faceName.empty()) return "Liberation Sans";
    for (const FaceAlias& alias : kAliases) {
        if (EqualsIgnoringAsciiCase(faceName, alias.windowsFace)) return alias.family;
    }
    return WideToUtf8(faceName);
}

}  // namespace qx::gfx
