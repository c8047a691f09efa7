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
TextTable ReadPairs(StringReader reader, DecodeKey decodeKey, DecodeText decodeText) {
    TextTable table;
    std::string_view key;
    std::string_view text;
    while (reader.Next(key) && !key.empty() && reader.Next(text)) {
        std::wstring translation = decodeText(text);
        if (IsUntranslated(translation)) continue;
        table.emplace_back(decodeKey(key), std::move(translation));
    }
    return table;
}

}  // namespace

TextTable ReadTexteTable(std::string_view bytes, std::wstring_view language) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        const auto utf16 = [](std::string_view s) { return Utf16BytesToWide(s, false); };
        return ReadPairs(StringReader(bytes.substr(2), 2), utf16, utf16);
    }
    const int page = LanguageCodePage(CString(std::wstring(language)));
    const unsigned textPage = page < 0 ? kCpAcp : static_cast<unsigned>(page);
    return ReadPairs(
        StringReader(bytes, 1), [](std::string_view s) { return CodePageToWide(s, kCpAcp); },
        [textPage](std::string_view s) { return CodePageToWide(s, textPage); });
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
