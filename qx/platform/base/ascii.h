// ASCII letters, digits and case, and the small text helpers built on them,
// for the many places where a file format or a name gives meaning to ASCII
// only (record keywords, hex digits, file endings). Unicode case folding is
// CString's business (CompareNoCase); these fold A-Z and nothing else.
// Each works on narrow and wide text alike.
#pragma once

#include <string_view>
#include <vector>

namespace qx {

template <typename Char>
constexpr bool IsAsciiLetter(Char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

template <typename Char>
constexpr bool IsAsciiDigit(Char c) {
    return c >= '0' && c <= '9';
}

// The value of a hexadecimal digit (either case); -1 for anything else.
template <typename Char>
constexpr int HexDigitValue(Char c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

template <typename Char>
constexpr Char AsciiLower(Char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <typename Char>
constexpr Char AsciiUpper(Char c) {
    return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}

namespace detail {

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

template <typename Char>
constexpr std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

template <typename Char>
std::vector<std::basic_string_view<Char>> SplitList(std::basic_string_view<Char> text, Char separator) {
    std::vector<std::basic_string_view<Char>> pieces;
    for (;;) {
        const size_t end = text.find(separator);
        pieces.push_back(text.substr(0, end));
        if (end == std::basic_string_view<Char>::npos) return pieces;
        text.remove_prefix(end + 1);
    }
}

}  // namespace detail

// Narrow and wide forms of each, so that strings, literals and views all
// convert without naming the character type.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return detail::EqualsIgnoringAsciiCase(a, b);
}
constexpr bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return detail::EqualsIgnoringAsciiCase(a, b);
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
constexpr bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}
constexpr bool EndsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

// *text* without the spaces and tabs at either end.
constexpr std::string_view TrimBlanks(std::string_view text) { return detail::TrimBlanks(text); }
constexpr std::wstring_view TrimBlanks(std::wstring_view text) { return detail::TrimBlanks(text); }

// The pieces of *text* between the *separator*s, empty ones included ("a;;b"
// gives "a", "", "b"; "" gives one empty piece).
inline std::vector<std::string_view> SplitList(std::string_view text, char separator) {
    return detail::SplitList(text, separator);
}
inline std::vector<std::wstring_view> SplitList(std::wstring_view text, wchar_t separator) {
    return detail::SplitList(text, separator);
}

}  // namespace qx
