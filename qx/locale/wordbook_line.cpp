#include "qx/locale/wordbook_line.h"

#include <vector>

#include "qx/text/text_codec.h"
#include "qx/text/text_files.h"

namespace qx {
namespace {

constexpr std::wstring_view kSeparator = L" <*> ";

}  // namespace

std::wstring UnescapeWordbookText(std::wstring_view line) {
    std::wstring text;
    text.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if ((c != L'\\' && c != L'&') || i + 1 == line.size()) {
            text += c;
            continue;
        }
        const wchar_t next = line[i + 1];
        if (next == L'n') text += L'\n';
        else if (next == L'r') text += L'\r';
        else if (next == L'"' && c == L'\\') text += L'"';
        else {
            // Unknown sequences are kept whole, so "&&n" stays "&&n" rather
            // than turning into "&" and a line feed.
            text += c;
            text += next;
        }
        ++i;
    }
    return text;
}

std::wstring EscapeWordbookText(std::wstring_view text) {
    std::wstring line;
    line.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\n') line += L"\\n";
        else if (c == L'\r') line += L"\\r";
        else line += c;
    }
    return line;
}

std::optional<WordbookEntry> ParseWordbookLine(std::wstring_view line) {
    std::wstring text = UnescapeWordbookText(line);
    const size_t split = text.find(kSeparator);
    if (split == std::wstring::npos || split + kSeparator.size() == text.size()) return std::nullopt;
    return WordbookEntry{text.substr(0, split), text.substr(split + kSeparator.size())};
}

bool ReadWordbook(const wchar_t* path, const std::function<void(WordbookEntry&&)>& sink) {
    if (!path) return false;
    const std::optional<std::wstring> text = ReadTextFile(path, 1252, false);
    if (!text) return false;
    std::vector<std::wstring_view> lines;
    SplitTextLines(*text, lines);
    for (const std::wstring_view line : lines) {
        if (std::optional<WordbookEntry> entry = ParseWordbookLine(line)) sink(std::move(*entry));
    }
    return true;
}

}  // namespace qx
