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

std::optional<std::uint64_t> RegValue::AsQword() const {
    if (type != kRegQword || data.size() != 8) return std::nullopt;
    std::uint64_t n = 0;
    for (int i = 7; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(data[i]);
    return n;
}

std::optional<std::vector<std::wstring>> RegValue::AsStrings() const {
    if (type != kRegMultiSz || data.size() % 2 != 0) return std::nullopt;
    std::wstring text = Utf16BytesToWide(data, false);
    // The last string's zero, then the list's.
    for (int i = 0; i < 2 && !text.empty() && text.back() == L'\0'; ++i) text.pop_back();
    std::vector<std::wstring> strings;
    if (text.empty()) return strings;
    for (size_t start = 0;;) {
        const size_t end = text.find(L'\0', start);
        strings.push_back(text.substr(start, end - start));
        if (end == text.npos) return strings;
        start = end + 1;
    }
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

// The length of *text* in UTF-16 code units, the measure of Windows' limits.
size_t Utf16Length(std::wstring_view text) {
    size_t length = text.size();
    if constexpr (sizeof(wchar_t) > 2)
        for (wchar_t c : text) length += static_cast<std::uint32_t>(c) > 0xFFFF;
    return length;
}

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
    if (HoldsLineBreakOrZero(key) || Utf16Length(key) > kMaxRegKeyPathLength) return std::nullopt;
    size_t depth = 0;
    for (size_t start = 0; !key.empty() && start <= key.size(); ++depth) {
        const size_t end = std::min(key.find(L'\\', start), key.size());
        if (end == start || Utf16Length(key.substr(start, end - start)) > kMaxRegKeyNameLength ||
            depth == kMaxRegKeyDepth)
            return std::nullopt;
        start = end + 1;
    }
    return std::wstring(key);
}

bool IsValidRegValueName(std::wstring_view name) {
    return Utf16Length(name) <= kMaxRegValueNameLength && !HoldsLineBreakOrZero(name);
}

std::wstring FoldRegName(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) c = FoldCase(c);
    return folded;
}

}  // namespace qx
