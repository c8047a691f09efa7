#include "qx/locale/language_module.h"

#include <charconv>
#include <unordered_set>
#include <utility>
#include <vector>

#include "qx/locale/wordbook_line.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/zip_store.h"

namespace qx {
namespace {

constexpr std::string_view kTexteType = "TEXTE";
constexpr std::string_view kTexteId = "1";

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

std::optional<LanguageModule> LanguageModule::Open(std::wstring_view path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return FromBytes(*bytes);
}

std::optional<LanguageModule> LanguageModule::FromBytes(std::string_view bytes) {
    std::optional<std::vector<ZipMember>> members = ReadZipMembers(bytes);
    if (!members) return std::nullopt;
    LanguageModule module;
    for (ZipMember& member : *members) {
        const size_t slash = member.name.find('/');
        if (slash == std::string::npos) continue;
        // The first member of a name wins, as the first resource of an
        // identifier does.
        module.resources_[Upper(std::string_view(member.name).substr(0, slash))].try_emplace(
            member.name.substr(slash + 1), std::move(member.data));
    }
    return module;
}

const std::string* LanguageModule::Resource(std::string_view type, std::string_view id) const {
    auto byType = resources_.find(Upper(type));
    if (byType == resources_.end()) return nullptr;
    auto byId = byType->second.find(id);
    return byId == byType->second.end() ? nullptr : &byId->second;
}

std::vector<std::string> LanguageModule::ResourceIds(std::string_view type) const {
    std::vector<std::string> ids;
    auto byType = resources_.find(Upper(type));
    if (byType == resources_.end()) return ids;
    for (const auto& entry : byType->second) ids.push_back(entry.first);
    return ids;
}

MessageTable LanguageModule::Texts(std::wstring_view language) const {
    MessageTable texts;
    ForEachText(language, [&texts](std::wstring key, std::wstring translation) {
        texts.insert_or_assign(std::move(key), std::move(translation));
    });
    return texts;
}

void LanguageModule::ForEachText(std::wstring_view language, const TexteEntrySink& onEntry) const {
    if (const std::string* table = Resource(kTexteType, kTexteId)) ForEachTexteEntry(*table, language, onEntry);
}

std::unordered_map<unsigned, std::wstring> LanguageModule::Strings() const {
    std::unordered_map<unsigned, std::wstring> strings;
    auto byType = resources_.find("STRING");
    if (byType == resources_.end()) return strings;
    for (const auto& [id, data] : byType->second) {
        unsigned number = 0;
        const char* end = id.data() + id.size();
        auto [stop, error] = std::from_chars(id.data(), end, number);
        if (id.empty() || error != std::errc() || stop != end) continue;
        std::string_view text(data);
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        strings.emplace(number, Utf8ToWide(text));
    }
    return strings;
}

bool BuildLanguageModule(const wchar_t* wordbook, const wchar_t* module) {
    if (!module) return false;
    TextTable entries;
    std::unordered_set<std::wstring> seen;
    const bool read = ReadWordbook(wordbook, [&](WordbookEntry&& entry) {
        if (seen.insert(entry.key).second) entries.emplace_back(std::move(entry.key), std::move(entry.translation));
    });
    if (!read) return false;
    const std::string member = std::string(kTexteType) + "/" + std::string(kTexteId);
    std::optional<std::string> bytes = WriteZipMembers({ZipMember{member, WriteTexteTable(entries)}});
    return bytes && WriteFileAtomically(module, *bytes);
}

}  // namespace qx
