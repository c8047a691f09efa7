// File-name wildcards as the Windows file search reads them.
//
// The family's patterns ("Map_*.Region?", "*.csv", "*.") were written for
// that search, so they keep its meaning here, including its quirks from the
// days of 8.3 names:
//
//   "*" and "*.*"  every name
//   "*"            any run of characters, dots included ("*.txt" => "a.b.txt")
//   "?"            one character that is not a dot; a run of "?" at a dot or
//                  at the end of the name may also match nothing
//                  ("Log?.csv" => "Log1.csv" and "Log.csv", not "Log12.csv")
//   "."            before "*" or "?", or at the end of the pattern: a dot or
//                  the end of the name ("a.*" => "a" and "a.txt")
//   "*." at the end  names without a dot (no extension), and "." and ".."
//   anything else  itself, ignoring case (simple case folding)
//
// Matching takes time proportional to the name's length times the pattern's
// length, whatever the pattern: no backtracking that could explode on
// "a*a*a*a*a*b".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// A pattern prepared once for matching many names.
class QX_API FileNamePattern {
public:
    explicit FileNamePattern(std::wstring_view pattern);

    bool Matches(std::wstring_view name) const;

private:
    enum class Kind : unsigned char {
        kLiteral,  // one character, folded
        kAnyRun,   // "*"
        kNoDotRun, // "*" of a final "*.": any run that leaves out the name's last dot
        kAnyOne,   // "?": one character other than a dot, or nothing at a dot or the end
        kDotOrEnd, // "." before "*", "?" or the end
    };
    struct Element {
        Kind kind;
        wchar_t ch;
    };

    // Literal text around at most one "*", the common case ("*.csv", "Log_*",
    // "data.zip", "*"): the name matches when its ends do.
    struct Ends {
        std::wstring head, tail;  // folded
        bool star;
    };

    std::vector<Element> elements_;
    std::optional<Ends> ends_;
};

// FileNamePattern(pattern).Matches(name), for a single test.
QX_API bool MatchesFileNamePattern(std::wstring_view name, std::wstring_view pattern);

}  // namespace qx
