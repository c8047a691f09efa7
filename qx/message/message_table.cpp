#include "qx/message/message_table.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

#include "qx/platform/base/codepage.h"
#include "qx/platform/wnd/data_exchange.h"

namespace qx {
namespace {

struct CachedConversion {
    std::string bytes;  // the message as it was converted
    std::wstring wide;
};

// The message table and the conversion cache; they live to the end of the
// process so that texts handed out stay valid.
struct MessageState {
    MessageTable table;
    std::unordered_map<const char*, CachedConversion> conversions;
};

MessageState& State() {
    static MessageState state;
    return state;
}

// Code page 1252, with the German letters fixed to their code points
// whatever the conversion gave.
std::wstring ConvertGerman(std::string_view bytes) {
    std::wstring wide = CodePageToWide(bytes, 1252);
    if (wide.size() != bytes.size()) return wide;
    for (size_t i = 0; i < bytes.size(); ++i) {
        switch (static_cast<unsigned char>(bytes[i])) {
            case 0xC4: wide[i] = 0x00C4; break;
            case 0xD6: wide[i] = 0x00D6; break;
            case 0xDC: wide[i] = 0x00DC; break;
            case 0xDF: wide[i] = 0x00DF; break;
            case 0xE4: wide[i] = 0x00E4; break;
            case 0xF6: wide[i] = 0x00F6; break;
            case 0xFC: wide[i] = 0x00FC; break;
            default: break;
        }
    }
    return wide;
}

}  // namespace

const wchar_t* TranslateMessage(const wchar_t* key) {
    if (!key) return L"";
    const wchar_t* text = key;
    auto& table = State().table;
    if (!table.empty()) {
        auto it = table.find(key);
        if (it != table.end() && !it->second.empty()) text = it->second.c_str();
    }
    if (*text != L'@') return text;
    const wchar_t* second = std::wcschr(text + 1, L'@');
    return second ? second + 1 : L"";
}

const wchar_t* TranslateMessage(const char* message) {
    if (!message) return L"";
    auto& cache = State().conversions;
    auto it = cache.find(message);
    if (it == cache.end() || it->second.bytes != message) {
        CachedConversion conversion{message, ConvertGerman(message)};
        it = cache.insert_or_assign(message, std::move(conversion)).first;
    }
    return TranslateMessage(it->second.wide.c_str());
}

void ReplaceMessageTable(MessageTable table) { State().table.swap(table); }

void ClearMessageTable() { State().table.clear(); }

size_t MessageTableSize() { return State().table.size(); }

void ClearMessageConversionCache() { State().conversions.clear(); }

namespace {

// The framework's texts (the data exchange's messages) are translated like
// the library's own once the library is loaded.
const wchar_t* TranslateFrameworkText(const wchar_t* text) { return TranslateMessage(text); }
[[maybe_unused]] const bool g_frameworkTranslationInstalled = (SetFrameworkTextTranslation(TranslateFrameworkText), true);

}  // namespace

}  // namespace qx
