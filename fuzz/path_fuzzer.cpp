// The path algebra on input-controlled paths: normalising, cleaning and
// making one path relative to another.
//
// Input: the path, a zero byte, the base (UTF-8), up to the next zero byte;
// without a zero byte the base is empty. The family passes paths as
// zero-terminated text, so neither holds a zero character.
//
// What holds:
// - Normalized and CleanPath never lengthen a path; a normalised path holds
//   no slash and no doubled backslash from its third character on (the
//   first two may open a network path); normalising it again changes
//   nothing.
// - When path - base gives a relative form (anything other than the path
//   itself), the normalised base ^ that form names the same place as the
//   path: both split into the same folder names after normalising, ignoring
//   case. (The base is normalised first because trailing white space and
//   separators, which normalising drops, would be inside the joined path.)
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/text/path.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// The folder names operator- compares: those of the normalised path after
// its root (the network root or the drive).
std::vector<CString> Names(const CPath& path) {
    const std::wstring normalized = path.Normalized().str();
    size_t root = path.Normalized().GetDrive().GetLength();
    if (normalized.starts_with(L"\\\\")) root = std::min(normalized.find(L'\\', 2), normalized.size());
    std::wstring_view rest = std::wstring_view(normalized).substr(root);
    std::vector<CString> names;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(L'\\'), rest.size());
        if (end > 0) names.emplace_back(std::wstring(rest.substr(0, end)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return names;
}

bool SameNames(const std::vector<CString>& a, const std::vector<CString>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].CompareNoCase(b[i]) != 0) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t zero = bytes.find('\0');
    const CPath path(qx::Utf8ToWide(bytes.substr(0, zero)));
    const std::string_view rest = zero == std::string_view::npos ? std::string_view() : bytes.substr(zero + 1);
    const CPath base(qx::Utf8ToWide(rest.substr(0, rest.find('\0'))));

    const CPath normalized = path.Normalized();
    Check(normalized.GetLength() <= path.GetLength());
    Check(normalized.Find(L'/') < 0);
    Check(normalized.Find(L"\\\\", 2) < 0);
    Check(normalized.Normalized() == normalized);

    CString cleaned = path;
    CleanPath(cleaned);
    Check(cleaned.GetLength() <= path.GetLength());

    const CPath relative = path - base;
    if (relative != path) {
        const CPath joined = base.Normalized() ^ relative;
        Check(SameNames(Names(joined), Names(path)));
    }
    return 0;
}
