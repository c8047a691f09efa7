// Wordbook files from arbitrary bytes: every line is unescaped and split,
// then the file is registered and read as the current language's wordbook
// and every key is translated.
//
// What holds: a line's entry joins back to its unescaped text around the
// first separator; after reading, each key translates to the first
// translation the file gives it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unordered_map>

#include <unistd.h>

#include "qx/locale/ctr_string.h"
#include "qx/locale/wordbook_line.h"
#include "qx/text/text_codec.h"

namespace {

const std::wstring& Folder() {
    static const std::wstring folder = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() / ("wordbook-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path.wstring() + L"/";
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = qx::DecodeText(bytes, 1252);

    std::unordered_map<std::wstring, std::wstring> expected;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring_view line = std::wstring_view(text).substr(start, end - start);
        if (auto entry = qx::ParseWordbookLine(line)) {
            if (qx::UnescapeWordbookText(line) != entry->key + L" <*> " + entry->translation ||
                entry->key.find(L" <*> ") != std::wstring::npos || entry->translation.empty()) {
                std::abort();
            }
            expected.try_emplace(entry->key, entry->translation);
        }
        start = end + 1;
    }

    const std::wstring base = Folder() + L"fz";
    {
        // A plain write: the library's atomic write flushes to disk, which
        // would make every run wait on it.
        std::ofstream file(std::filesystem::path(base + L".de"), std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file) return 0;
    }
    qx::ResetWordbooks();
    CtrString::setLanguage(L"de");
    CtrString::scanMiniWordBooks(base.c_str());
    for (const auto& [key, translation] : expected) {
        if (translation != CtrString::translate(key.c_str())) std::abort();
    }
    return 0;
}
