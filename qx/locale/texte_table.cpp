#include "qx/locale/texte_table.h"

#include "qx/locale/language_codes.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/utf.h"

namespace qx {
namespace {

bool IsUntranslated(std::wstring_view text) { return text.empty() || text == L" <*> " || text == L"<*?*>"; }

// Splits a table into its zero-terminated strings of *unit* bytes each.
class StringReader {
public:
    StringReader(std::string_view bytes, size_t unit) : bytes_(bytes), unit_(unit) {}

    // The next string without its terminator; false when no terminated
    // string is left.
    bool Next(std::string_view& text) {
        for (size_t end = pos_; end + unit_ <= bytes_.size(); end += unit_) {
            if (bytes_.substr(end, unit_).find_first_not_of('\0') != std::string_view::npos) continue;
            text = bytes_.substr(pos_, end - pos_);
            pos_ = end + unit_;
            return true;
        }
        return false;
    }

private:
    std::string_view bytes_;
    size_t unit_;
    size_t pos_ = 0;
};

template <typename DecodeKey, typename DecodeText>
void ReadPairs(StringReader reader, DecodeKey decodeKey, DecodeText decodeText, const TexteEntrySink& onEntry) {
    std::string_view key;
    std::string_view text;
    while (reader.Next(key) && !key.empty() && reader.Next(text)) {
        std::wstring translation = decodeText(text);
        if (IsUntranslated(translation)) continue;
        onEntry(decodeKey(key), std::move(translation));
    }
}

}  // namespace

void ForEachTexteEntry(std::string_view bytes, std::wstring_view language, const TexteEntrySink& onEntry) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        const auto utf16 = [](std::string_view s) { return Utf16BytesToWide(s, false); };
        ReadPairs(StringReader(bytes.substr(2), 2), utf16, utf16, onEntry);
        return;
    }
    const int page = LanguageCodePage(CString(std::wstring(language)));
    const unsigned textPage = page < 0 ? kCpAcp : static_cast<unsigned>(page);
    ReadPairs(
        StringReader(bytes, 1), [](std::string_view s) { return CodePageToWide(s, kCpAcp); },
        [textPage](std::string_view s) { return CodePageToWide(s, textPage); }, onEntry);
}

TextTable ReadTexteTable(std::string_view bytes, std::wstring_view language) {
    TextTable table;
    ForEachTexteEntry(bytes, language, [&table](std::wstring key, std::wstring translation) {
        table.emplace_back(std::move(key), std::move(translation));
    });
    return table;
}

std::string WriteTexteTable(const TextTable& entries) {
    std::string bytes = "\xFF\xFE";
    const std::string terminator(2, '\0');
    for (const auto& [key, translation] : entries) {
        if (key.empty() || IsUntranslated(translation) || key.find(L'\0') != std::wstring::npos ||
            translation.find(L'\0') != std::wstring::npos) {
            continue;
        }
        bytes += WideToUtf16Bytes(key, false) + terminator;
        bytes += WideToUtf16Bytes(translation, false) + terminator;
    }
    return bytes + terminator + terminator;
}

}  // namespace qx
