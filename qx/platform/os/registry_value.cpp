#include "qx/platform/os/registry_value.h"

#include <algorithm>
#include <array>

#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"

namespace qx {

RegValue RegValue::Text(std::wstring_view text, std::uint32_t type) {
    std::string bytes = WideToUtf16Bytes(text, false);
    bytes.append(2, '\0');
    return {type, std::move(bytes)};
}

RegValue RegValue::Number(std::uint32_t number) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    return {kRegDword, std::move(bytes)};
}

RegValue RegValue::Bytes(std::string bytes, std::uint32_t type) { return {type, std::move(bytes)}; }

std::optional<std::wstring> RegValue::AsText() const {
    if (type != kRegSz && type != kRegExpandSz) return std::nullopt;
    size_t end = 0;
    while (end + 1 < data.size() && (data[end] != '\0' || data[end + 1] != '\0')) end += 2;
    return Utf16BytesToWide(std::string_view(data).substr(0, end), false);
}

std::optional<std::uint32_t> RegValue::AsNumber() const {
    if (type != kRegDword || data.size() < 4) return std::nullopt;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(data[i]);
    return n;
}

namespace {

struct RootName {
    RegRoot root;
    const wchar_t* longName;
    const wchar_t* shortName;
};

constexpr std::array<RootName, 3> kRootNames = {{
    {RegRoot::ClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},
    {RegRoot::CurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
    {RegRoot::LocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"},
}};

bool HoldsLineBreakOrZero(std::wstring_view text) { return text.find_first_of(std::wstring_view(L"\r\n\0", 3)) != text.npos; }

}  // namespace

const wchar_t* RegRootName(RegRoot root) {
    for (const RootName& r : kRootNames)
        if (r.root == root) return r.longName;
    return L"";
}

std::optional<RegRoot> SplitRegRoot(std::wstring_view path, std::wstring_view* rest) {
    const size_t end = path.find(L'\\');
    const std::wstring_view first = path.substr(0, end);
    for (const RootName& r : kRootNames) {
        if (!EqualsFolded(first, r.longName) && !EqualsFolded(first, r.shortName)) continue;
        if (rest) *rest = end == path.npos ? std::wstring_view() : path.substr(end + 1);
        return r.root;
    }
    return std::nullopt;
}

std::optional<std::wstring> NormalizeRegKey(std::wstring_view key) {
    while (!key.empty() && key.front() == L'\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == L'\\') key.remove_suffix(1);
    if (HoldsLineBreakOrZero(key)) return std::nullopt;
    size_t depth = 0;
    for (size_t start = 0; !key.empty() && start <= key.size(); ++depth) {
        const size_t end = std::min(key.find(L'\\', start), key.size());
        if (end == start || end - start > kMaxRegKeyNameLength || depth == kMaxRegKeyDepth) return std::nullopt;
        start = end + 1;
    }
    return std::wstring(key);
}

bool IsValidRegValueName(std::wstring_view name) { return !HoldsLineBreakOrZero(name); }

std::wstring FoldRegName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = FoldCase(c);
    return folded;
}

}  // namespace qx
