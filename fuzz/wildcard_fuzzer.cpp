// Wildcard matching of arbitrary texts against arbitrary patterns, checked
// against a plain dynamic-programming matcher.
//
// Input: byte 0 bit 0 chooses case-sensitive matching; the rest is UTF-8,
// the pattern up to the first zero byte, the text after it.
//
// What holds: both matchers agree. The reference costs text length times
// pattern length, so it runs only while that product stays small; the
// matcher under test runs on everything, and libFuzzer's time limit catches
// a pattern that makes it slow.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/text/str_util.h"
#include "qx/text/wildcard.h"

namespace {

wchar_t Fold(wchar_t ch, bool caseSensitive) {
    return (!caseSensitive && ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch;
}

// matches[j]: whether the pattern read so far matches the first j characters.
bool ReferenceMatch(std::wstring_view text, std::wstring_view pattern, bool caseSensitive) {
    std::vector<char> matches(text.size() + 1, 0);
    matches[0] = 1;
    for (wchar_t p : pattern) {
        std::vector<char> next(text.size() + 1, 0);
        if (p == L'*') {
            char any = 0;
            for (size_t j = 0; j <= text.size(); ++j) next[j] = any = static_cast<char>(any || matches[j]);
        } else {
            for (size_t j = 1; j <= text.size(); ++j) {
                next[j] = matches[j - 1] && (p == L'?' || Fold(p, caseSensitive) == Fold(text[j - 1], caseSensitive));
            }
        }
        matches.swap(next);
    }
    return matches[text.size()];
}

constexpr size_t kMaxReferenceWork = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool caseSensitive = data[0] & 1;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    size_t zero = rest.find('\0');
    const std::wstring pattern = qx::Utf8ToWide(rest.substr(0, zero));
    const std::wstring text = zero == std::string_view::npos ? std::wstring() : qx::Utf8ToWide(rest.substr(zero + 1));

    bool got = qx::MatchesWildcard(text, pattern, caseSensitive);
    // The C-string form sees the texts up to their first zero character.
    (void)qxStrUtil::MatchesWildcardPattern(text.c_str(), pattern.c_str(), caseSensitive ? 1 : 0);

    if ((text.size() + 1) * (pattern.size() + 1) <= kMaxReferenceWork &&
        got != ReferenceMatch(text, pattern, caseSensitive)) {
        __builtin_trap();
    }
    return 0;
}
