#include "qx/locale/ctr_string.h"

#include <cwchar>
#include <list>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "qx/locale/wordbook_line.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/os/file_search.h"
#include "qx/platform/os/path_split.h"

namespace qx {
namespace {

constexpr wchar_t kNoTranslation[] = L"xx";

// Lets the key table be searched with the caller's text, without building a
// std::wstring for every translate.
struct KeyHash {
    using is_transparent = void;
    size_t operator()(std::wstring_view key) const { return std::hash<std::wstring_view>{}(key); }
};

struct Language {
    explicit Language(std::wstring languageCode, bool isLoaded = false)
        : code(std::move(languageCode)), loaded(isLoaded) {}

    std::wstring code;
    bool loaded = false;
    std::vector<std::wstring> files;
    std::unordered_map<unsigned, std::wstring> texts;  // by key identifier
};

struct NarrowKey {
    std::string bytes;  // the key as it was converted
    std::wstring wide;
};

bool SameLanguage(std::wstring_view a, std::wstring_view b) {
    return CString(std::wstring(a)).CompareNoCase(std::wstring(b).c_str()) == 0;
}

// The text the key convention shows for a key without translation.
const wchar_t* KeyText(const wchar_t* key) {
    if (*key != L'@') return key;
    const wchar_t* second = std::wcschr(key + 1, L'@');
    return second ? second + 1 : L"";
}

// The wordbook tables and their lock. Languages sit in a list whose head is
// the current language; entries are moved, never copied, so texts handed out
// stay where they are.
class WordbookTables {
public:
    static WordbookTables& Instance() {
        static WordbookTables tables;
        return tables;
    }

    void Scan(const wchar_t* path) {
        std::lock_guard lock(mutex_);
        ScanLocked(path);
    }

    void SetLanguage(const wchar_t* lang) {
        std::lock_guard lock(mutex_);
        SetLanguageLocked(lang);
    }

    void ResetLanguage() {
        std::lock_guard lock(mutex_);
        if (stack_.size() <= 1) return;
        stack_.pop_back();
        const std::wstring previous = stack_.back();
        SetLanguageLocked(previous.c_str());
        stack_.pop_back();
    }

    const wchar_t* Translate(const wchar_t* key) {
        std::lock_guard lock(mutex_);
        return TranslateLocked(key);
    }

    const wchar_t* Translate(const char* key) {
        std::lock_guard lock(mutex_);
        auto it = narrowKeys_.find(key);
        if (it == narrowKeys_.end() || it->second.bytes != key) {
            NarrowKey converted{key, CodePageToWide(key, 1252)};
            it = narrowKeys_.insert_or_assign(key, std::move(converted)).first;
        }
        return TranslateLocked(it->second.wide.c_str());
    }

    void Reset() {
        std::lock_guard lock(mutex_);
        keyIds_.clear();
        languages_.clear();
        stack_.clear();
        narrowKeys_.clear();
        scanned_.clear();
    }

    std::wstring CurrentLanguage() {
        std::lock_guard lock(mutex_);
        return languages_.empty() ? std::wstring() : languages_.front().code;
    }

private:
    void ScanLocked(const wchar_t* path) {
        if (!path || !scanned_.insert(path).second) return;
        const std::wstring_view base(path);
        const bool isFolder = !base.empty() && IsPathSeparator(base.back());
        const std::wstring folder(FolderPart(base));
        bool registered = false;
        if (auto search = FileSearch::Start(std::wstring(base) + (isFolder ? L"*.??" : L".??"))) {
            while (const FoundEntry* entry = search->Next()) {
                if (entry->folder) continue;
                const size_t dot = entry->name.rfind(L'.');
                if (dot == std::wstring::npos || entry->name.size() - dot != 3) continue;
                const std::wstring code = entry->name.substr(dot + 1);
                if (SameLanguage(code, L"db")) continue;
                Register(folder + entry->name, code);
                registered = true;
            }
        }
        // A program's own wordbooks may also be named "wordbook.xx" beside
        // it. A relative base looks in the current folder, not in the root.
        if (!isFolder && !registered && base.find(L"wordbook") == std::wstring_view::npos) {
            ScanLocked((folder + L"wordbook").c_str());
        }
    }

    Language* Find(std::wstring_view code) {
        for (Language& language : languages_) {
            if (SameLanguage(language.code, code)) return &language;
        }
        return nullptr;
    }

    void Register(const std::wstring& file, const std::wstring& code) {
        if (languages_.empty()) languages_.push_back(Language(kNoTranslation));
        Language* language = Find(code);
        if (!language) {
            if (!stack_.empty() && SameLanguage(stack_.back(), code)) {
                languages_.push_front(Language(code, true));
                language = &languages_.front();
            } else {
                languages_.push_back(Language(code));
                language = &languages_.back();
            }
        }
        for (const std::wstring& known : language->files) {
            if (known == file) return;
        }
        language->files.push_back(file);
        if (language->loaded) Read(file, *language);
    }

    void SetLanguageLocked(const wchar_t* lang) {
        const std::wstring code(lang ? lang : L"");
        stack_.push_back(code);
        if (languages_.empty()) return;
        auto it = languages_.begin();
        while (it != languages_.end() && !SameLanguage(it->code, code)) ++it;
        if (it == languages_.end()) {
            it = languages_.begin();
            while (it->code != kNoTranslation) ++it;
        }
        languages_.splice(languages_.begin(), languages_, it);
        Language& current = languages_.front();
        if (current.loaded) return;
        for (const std::wstring& file : current.files) Read(file, current);
        current.loaded = true;
    }

    // Reads wordbook *file* into *language*: the first text of a key wins,
    // within a file and across the language's files in registration order.
    void Read(const std::wstring& file, Language& language) {
        ReadWordbook(file.c_str(), [&](WordbookEntry&& entry) {
            const unsigned id = IdOf(std::move(entry.key));
            language.texts.try_emplace(id, std::move(entry.translation));
        });
    }

    unsigned IdOf(std::wstring key) {
        auto it = keyIds_.find(std::wstring_view(key));
        if (it != keyIds_.end()) return it->second;
        const unsigned id = static_cast<unsigned>(keyIds_.size()) + 1;
        keyIds_.emplace(std::move(key), id);
        return id;
    }

    const wchar_t* TranslateLocked(const wchar_t* key) {
        if (!key) return L"";
        if (!languages_.empty()) {
            const Language& current = languages_.front();
            auto id = keyIds_.find(std::wstring_view(key));
            if (id != keyIds_.end()) {
                auto text = current.texts.find(id->second);
                if (text != current.texts.end()) return text->second.c_str();
            }
        }
        return KeyText(key);
    }

    std::mutex mutex_;
    std::unordered_map<std::wstring, unsigned, KeyHash, std::equal_to<>> keyIds_;
    std::list<Language> languages_;
    std::vector<std::wstring> stack_;  // most recent last
    std::unordered_map<const char*, NarrowKey> narrowKeys_;
    std::unordered_set<std::wstring> scanned_;
};

}  // namespace

void ResetWordbooks() { WordbookTables::Instance().Reset(); }

std::wstring CurrentWordbookLanguage() { return WordbookTables::Instance().CurrentLanguage(); }

}  // namespace qx

void CtrString::scanMiniWordBooks(const wchar_t* path) { qx::WordbookTables::Instance().Scan(path); }

void CtrString::setLanguage(const wchar_t* lang) { qx::WordbookTables::Instance().SetLanguage(lang); }

void CtrString::resetLanguage() { qx::WordbookTables::Instance().ResetLanguage(); }

const wchar_t* CtrString::translate(const wchar_t* key) { return qx::WordbookTables::Instance().Translate(key); }

const wchar_t* CtrString::translate(const char* key) {
    if (!key) return L"";
    return qx::WordbookTables::Instance().Translate(key);
}
