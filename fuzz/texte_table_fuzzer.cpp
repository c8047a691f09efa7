// Message tables of language modules from arbitrary bytes, and language
// module containers.
//
// Byte 0: bits 0-2 choose the module's language (and so the code page of
// 8-bit translations); bit 3 set reads the rest as a module container
// instead of a bare table.
//
// What holds for a table: writing its entries in the UTF-16 form and
// reading that again gives the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "qx/locale/language_module.h"
#include "qx/locale/texte_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const wchar_t* const kLanguages[] = {L"de", L"pl", L"ru", L"el", L"tr", L"lt", L"xx", L""};
    const std::wstring_view language = kLanguages[data[0] & 7];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    if (data[0] & 8) {
        if (auto module = qx::LanguageModule::FromBytes(bytes)) {
            module->Texts(language);
            module->Strings();
            module->Resource("DIALOG", "100");
        }
        return 0;
    }
    const qx::TextTable table = qx::ReadTexteTable(bytes, language);
    if (qx::ReadTexteTable(qx::WriteTexteTable(table), language) != table) std::abort();
    return 0;
}
