#include "qx/text/wildcard.h"

namespace qx {
namespace {

wchar_t FoldAsciiLetter(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch; }

struct Exact {
    wchar_t operator()(wchar_t ch) const { return ch; }
};

struct AsciiFolded {
    wchar_t operator()(wchar_t ch) const { return FoldAsciiLetter(ch); }
};

// Greedy matching that remembers only the most recent star. When the
// pattern after it fails at some point, that star takes one more character
// and the rest is tried again; an earlier star never needs to give anything
// back, because the later one can absorb whatever it would have.
// Whether *part* (no stars, "?" for any character) matches *text*, which has
// the same length.
template <class Fold>
bool MatchPart(std::wstring_view text, std::wstring_view part, Fold fold) {
    for (size_t i = 0; i < part.size(); ++i) {
        if (part[i] != L'?' && fold(part[i]) != fold(text[i])) return false;
    }
    return true;
}

template <class Fold>
bool Match(std::wstring_view text, std::wstring_view pattern, Fold fold) {
    constexpr size_t kNoStar = std::wstring_view::npos;
    const size_t lastStar = pattern.rfind(L'*');
    size_t t = 0;
    size_t p = 0;
    size_t afterStar = kNoStar;  // the pattern position just after the most recent star
    size_t starText = 0;         // where the current attempt after that star began in the text

    // Moves *from* to the first text position where the pattern part after
    // the star can begin: a literal there must match its first character.
    auto nextCandidate = [&](size_t from) {
        if (pattern[afterStar] != L'?') {
            const wchar_t first = fold(pattern[afterStar]);
            while (from < text.size() && fold(text[from]) != first) ++from;
        }
        return from;
    };

    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == L'*') {
            while (p < pattern.size() && pattern[p] == L'*') ++p;
            if (p == pattern.size()) return true;  // a trailing star takes the rest
            if (p == lastStar + 1) {
                // After the last star the rest of the pattern can only match
                // the end of the text, so compare it there once.
                const std::wstring_view tail = pattern.substr(p);
                if (tail.size() > text.size() - t) return false;
                return MatchPart(text.substr(text.size() - tail.size()), tail, fold);
            }
            afterStar = p;
            starText = t = nextCandidate(t);
            continue;
        }
        if (p < pattern.size() && (pattern[p] == L'?' || fold(pattern[p]) == fold(text[t]))) {
            ++p;
            ++t;
            continue;
        }
        // A mismatch, or the pattern ended before the text.
        if (afterStar == kNoStar) return false;
        starText = t = nextCandidate(starText + 1);
        p = afterStar;
    }
    while (p < pattern.size() && pattern[p] == L'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(std::wstring_view text, std::wstring_view pattern, bool caseSensitive) {
    return caseSensitive ? Match(text, pattern, Exact{}) : Match(text, pattern, AsciiFolded{});
}

}  // namespace qx
