#include "qx/platform/os/file_name_pattern.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>

#include "qx/platform/base/unicode.h"

namespace qx {

namespace {

// File names are mostly ASCII; folding those needs no table look-up.
wchar_t Fold(wchar_t ch) {
    if (ch < 0x80) return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + (L'a' - L'A')) : ch;
    return FoldCase(ch);
}

}  // namespace

FileNamePattern::FileNamePattern(std::wstring_view pattern) {
    if (pattern == L"*.*") pattern = L"*";
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t ch = pattern[i];
        const bool last = i + 1 == pattern.size();
        const wchar_t next = last ? L'\0' : pattern[i + 1];
        Kind kind = Kind::kLiteral;
        if (ch == L'*') kind = (next == L'.' && i + 2 == pattern.size()) ? Kind::kNoDotRun : Kind::kAnyRun;
        else if (ch == L'?') kind = Kind::kAnyOne;
        else if (ch == L'.' && (last || next == L'*' || next == L'?')) kind = Kind::kDotOrEnd;
        elements_.push_back({kind, kind == Kind::kLiteral ? Fold(ch) : ch});
    }

    Ends ends{{}, {}, false};
    for (const Element& e : elements_) {
        if (e.kind == Kind::kLiteral) {
            (ends.star ? ends.tail : ends.head) += e.ch;
        } else if (e.kind == Kind::kAnyRun && !ends.star) {
            ends.star = true;
        } else {
            return;
        }
    }
    ends_ = std::move(ends);
}

// A simulation of the pattern as an automaton whose states are the positions
// in the pattern: every character of the name moves the whole set of
// reachable positions at once, so no choice is ever retried.
bool FileNamePattern::Matches(std::wstring_view name) const {
    if (ends_) {
        const auto& [head, tail, star] = *ends_;
        if (star ? name.size() < head.size() + tail.size() : name.size() != head.size()) return false;
        const auto foldedEqual = [](std::wstring_view text, std::wstring_view folded) {
            for (size_t i = 0; i < text.size(); ++i)
                if (Fold(text[i]) != folded[i]) return false;
            return true;
        };
        return foldedEqual(name.substr(0, head.size()), head) &&
            foldedEqual(name.substr(name.size() - tail.size()), tail);
    }
    const size_t count = elements_.size();
    const size_t lastDot = name.rfind(L'.');
    // Two sets of count + 1 flags; a file name pattern rarely needs more
    // than the inline room, so matching a name allocates nothing.
    constexpr size_t kInline = 64;
    std::array<unsigned char, 2 * kInline> inlineFlags;
    std::vector<unsigned char> heapFlags;
    unsigned char* flags = inlineFlags.data();
    if (count + 1 > kInline) {
        heapFlags.resize(2 * (count + 1));
        flags = heapFlags.data();
    }
    std::span<unsigned char> reached(flags, count + 1), following(flags + count + 1, count + 1);
    std::fill(reached.begin(), reached.end(), 0);
    reached[0] = 1;
    for (size_t pos = 0;; ++pos) {
        const bool atEnd = pos == name.size();
        const wchar_t ch = atEnd ? L'\0' : name[pos];
        // Steps that consume nothing only lead forward, so one pass in order
        // adds everything they reach.
        for (size_t i = 0; i < count; ++i) {
            if (!reached[i]) continue;
            switch (elements_[i].kind) {
                case Kind::kAnyRun:
                case Kind::kNoDotRun: reached[i + 1] = 1; break;
                case Kind::kAnyOne: if (atEnd || ch == L'.') reached[i + 1] = 1; break;
                case Kind::kDotOrEnd: if (atEnd) reached[i + 1] = 1; break;
                case Kind::kLiteral: break;
            }
        }
        if (atEnd) return reached[count] != 0;

        const wchar_t folded = Fold(ch);
        std::fill(following.begin(), following.end(), 0);
        bool alive = false;
        for (size_t i = 0; i < count; ++i) {
            if (!reached[i]) continue;
            const Element& e = elements_[i];
            bool stay = false, advance = false;
            switch (e.kind) {
                case Kind::kAnyRun: stay = true; break;
                case Kind::kNoDotRun: stay = ch != L'.' || pos != lastDot; break;
                case Kind::kAnyOne: advance = ch != L'.'; break;
                case Kind::kDotOrEnd: advance = ch == L'.'; break;
                case Kind::kLiteral: advance = folded == e.ch; break;
            }
            if (stay) following[i] = 1;
            if (advance) following[i + 1] = 1;
            alive = alive || stay || advance;
        }
        if (!alive) return false;
        std::swap(reached, following);
    }
}

bool MatchesFileNamePattern(std::wstring_view name, std::wstring_view pattern) {
    return FileNamePattern(pattern).Matches(name);
}

}  // namespace qx
