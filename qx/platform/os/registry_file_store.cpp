#include "qx/platform/os/registry_file_store.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "qx/platform/os/file_stream.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/internal/registry_file_lock.h"
#include "qx/platform/os/internal/registry_hive.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/registry_file.h"
#include "qx/platform/os/xdg_folders.h"
#include "qx/platform/os/path_split.h"

namespace qx {

namespace {

using detail::FileIdentity;
using detail::Hive;
using detail::HiveKey;

constexpr std::wstring_view kClasses = L"Software\\Classes";

// A kept line as it is written back. A line the file ended inside would
// read as a value once written back with a line end ("dword:0000002" of
// "dword:0000002a"), so it goes back commented out, for a person to mend.
std::wstring KeptText(RegFileLine line) {
    if (line.flaw != RegFileLine::Flaw::CutShort) return std::move(line.text);
    std::wstring text = L";" + line.text;
    for (size_t at = text.find(L'\n'); at != text.npos; at = text.find(L'\n', at + 2)) text.insert(at + 1, 1, L';');
    return text;
}

// One registry file and what was last read from it.
class HiveFile {
public:
    explicit HiveFile(RegRoot root) : root_(root) {}

    void Follow(const std::wstring& path) {
        if (path == path_) return;
        path_ = path;
        native_ = path.empty() ? std::nullopt : ToNativePath(path, false);
        valid_ = false;
    }

    const Hive& Read() {
        Refresh();
        return hive_;
    }

    // A change written beside the file but not yet in place. The file stays
    // locked until the change is committed or dropped; dropped, it leaves the
    // file as it was, and this process reads it again.
    struct Staged {
        HiveFile* file;
        detail::FileLock lock;
        std::unique_ptr<FileReplacer> replacer;  // null when nothing changed
    };

    // Locks the file, brings the content up to date and lets *change* edit
    // it in place (a copy would double the memory of a large file); when
    // *change* says it changed something, the new content is written to a
    // temporary file beside it and counts as unread until it is committed.
    // nullopt when the change cannot be stored. Nothing may read the file
    // between staging and committing.
    std::optional<Staged> Stage(const std::function<bool(Hive&)>& change) {
        if (!native_) return std::nullopt;
        const std::wstring_view folder = FolderPart(path_);
        if (folder.size() > 1) CreateDirectories(std::wstring(folder.substr(0, folder.size() - 1)));
        auto lock = detail::FileLock::Acquire(*native_ + ".lock");
        if (!lock) return std::nullopt;
        Refresh();
        // A file that exists but cannot be read must not be replaced by what
        // little this process knows of it.
        if (unreadable_) return std::nullopt;
        Staged staged{this, std::move(*lock), nullptr};
        // A change that reports nothing changed has left the content alone.
        if (!change(hive_)) return staged;
        valid_ = false;
        staged.replacer = FileReplacer::Create(path_);
        if (!staged.replacer || !staged.replacer->Write(Serialize(hive_))) return std::nullopt;
        return staged;
    }

    // Puts a staged change in place; false when the file could not be
    // replaced (then the content is read again next time).
    bool Commit(Staged& staged) {
        if (!staged.replacer) return true;
        valid_ = staged.replacer->Commit();
        if (!valid_) return false;
        loaded_ = detail::IdentityOf(*native_);
        return true;
    }

    const std::wstring& path() const { return path_; }

private:
    void Refresh() {
        if (!native_) {
            Clear();
            return;
        }
        const FileIdentity now = detail::IdentityOf(*native_);
        if (valid_ && now == loaded_) return;
        Clear();
        loaded_ = now;
        valid_ = true;
        if (!now.exists) return;
        const auto bytes = ReadWholeFile(path_);
        if (!bytes) {
            unreadable_ = true;
            return;
        }
        leading_ = ParseRegFile(*bytes, [this](RegFileSection& section) { Load(section); }).leading;
    }

    void Clear() {
        hive_.Clear();
        leading_.clear();
        foreign_.clear();
        unreadable_ = false;
    }

    // The key below this file's root for a section's key; nullopt for a
    // section this file does not keep.
    std::optional<std::wstring> OwnKey(const RegFileSection& section) const {
        if (section.malformed) return std::nullopt;
        std::wstring_view rest;
        const auto root = SplitRegRoot(section.key, &rest);
        if (!root) return std::nullopt;
        auto key = NormalizeRegKey(rest);
        if (!key) return std::nullopt;
        if (*root == root_) return key;
        if (*root == RegRoot::ClassesRoot && root_ == RegRoot::LocalMachine)
            return key->empty() ? std::wstring(kClasses) : std::wstring(kClasses) + L'\\' + *key;
        return std::nullopt;
    }

    void Load(RegFileSection& section) {
        const auto key = OwnKey(section);
        if (!key) {
            foreign_.push_back(std::move(section));
            return;
        }
        if (section.remove) {
            hive_.Remove(*key);
            return;
        }
        HiveKey& stored = hive_.Create(*key);
        for (RegFileLine& line : section.lines) {
            switch (line.kind) {
                case RegFileLine::Kind::SetValue: stored.Set(line.name, std::move(line.value)); break;
                case RegFileLine::Kind::DeleteValue: stored.Remove(line.name); break;
                case RegFileLine::Kind::Kept: stored.kept.push_back(KeptText(std::move(line))); break;
            }
        }
    }

    std::string Serialize(const Hive& hive) const {
        // A change rarely moves the size far from the file's.
        RegFileWriter writer(loaded_.size + loaded_.size / 16);
        for (const RegFileLine& line : leading_) writer.WriteLine(line);
        const std::wstring rootName = RegRootName(root_);
        for (const auto& [folded, key] : hive.keys()) {
            writer.BeginSection(key.path.empty() ? rootName : rootName + L'\\' + key.path);
            for (const auto& value : key.values) writer.WriteValue(value.name, value.value);
            for (const auto& kept : key.kept) writer.WriteKept(kept);
        }
        for (const RegFileSection& section : foreign_) {
            writer.WriteKept(L"");
            writer.WriteKept(section.header);
            for (const RegFileLine& line : section.lines) writer.WriteLine(line);
        }
        return writer.Finish(RegFileEncoding::Utf8);
    }

    RegRoot root_;
    std::wstring path_;
    std::optional<std::string> native_;
    bool valid_ = false;
    bool unreadable_ = false;
    FileIdentity loaded_;
    Hive hive_;
    std::vector<RegFileLine> leading_;
    std::vector<RegFileSection> foreign_;
};

std::wstring JoinKey(std::wstring_view parent, std::wstring_view key) {
    if (key.empty()) return std::wstring(parent);
    return std::wstring(parent) + L'\\' + std::wstring(key);
}

bool ContainsNoCase(const std::vector<std::wstring>& names, const std::wstring& name) {
    const std::wstring folded = FoldRegName(name);
    for (const auto& n : names)
        if (FoldRegName(n) == folded) return true;
    return false;
}

}  // namespace

RegistryFiles DefaultRegistryFiles() {
    if (const char* dir = std::getenv("QX_REGISTRY_DIR"); dir && dir[0]) {
        std::wstring folder = FromNativePath(dir);
        while (folder.size() > 1 && folder.back() == L'\\') folder.pop_back();
        return {folder + L"\\system.reg", folder + L"\\user.reg"};
    }
    const std::wstring config = XdgConfigHome();
    return {FromNativePath("/etc/qxbase/system.reg"), config.empty() ? L"" : config + L"\\qxbase\\user.reg"};
}

struct FileRegistryStore::State {
    std::optional<RegistryFiles> fixed;
    std::string environment = std::string(1, '\1');  // the variables last seen; matches none at first
    HiveFile system{RegRoot::LocalMachine};
    HiveFile user{RegRoot::CurrentUser};

    // Where a key of *root* lives: the files to look in, in order, with the
    // key's path in each.
    std::vector<std::pair<HiveFile*, std::wstring>> Places(RegRoot root, const std::wstring& key) {
        switch (root) {
            case RegRoot::LocalMachine: return {{&system, key}};
            case RegRoot::CurrentUser: return {{&user, key}};
            case RegRoot::ClassesRoot: break;
        }
        const std::wstring classes = JoinKey(kClasses, key);
        return {{&user, classes}, {&system, classes}};
    }

    // The one place a change to a key of *root* goes to.
    std::pair<HiveFile*, std::wstring> Target(RegRoot root, const std::wstring& key) {
        auto places = Places(root, key);
        if (places.size() > 1 && !places[0].first->Read().Exists(places[0].second)) return places[1];
        return places[0];
    }
};

FileRegistryStore::FileRegistryStore() : state_(std::make_unique<State>()) {}

FileRegistryStore::FileRegistryStore(RegistryFiles files) : state_(std::make_unique<State>()) {
    state_->fixed = std::move(files);
}

FileRegistryStore::~FileRegistryStore() = default;

FileRegistryStore::State& FileRegistryStore::Current() {
    if (state_->fixed) {
        state_->system.Follow(state_->fixed->system);
        state_->user.Follow(state_->fixed->user);
        return *state_;
    }
    // The locations are built again only when a variable they come from
    // changed, which spares every call the path arithmetic.
    std::string environment;
    for (const char* name : {"QX_REGISTRY_DIR", "XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(name);
        environment += value ? value : "";
        environment += '\0';
    }
    if (environment != state_->environment) {
        const RegistryFiles files = DefaultRegistryFiles();
        state_->system.Follow(files.system);
        state_->user.Follow(files.user);
        state_->environment = std::move(environment);
    }
    return *state_;
}

bool FileRegistryStore::KeyExists(RegRoot root, std::wstring_view key) {
    const auto normal = NormalizeRegKey(key);
    if (!normal) return false;
    for (auto& [file, path] : Current().Places(root, *normal))
        if (file->Read().Exists(path)) return true;
    return false;
}

std::optional<RegValue> FileRegistryStore::GetValue(RegRoot root, std::wstring_view key, std::wstring_view name) {
    const auto normal = NormalizeRegKey(key);
    if (!normal) return std::nullopt;
    for (auto& [file, path] : Current().Places(root, *normal)) {
        const HiveKey* stored = file->Read().Find(path);
        if (!stored) continue;
        if (const auto* value = stored->Find(name)) return value->value;
    }
    return std::nullopt;
}

namespace {

std::vector<std::wstring> ValueNamesIn(const Hive& hive, const std::wstring& path) {
    std::vector<std::wstring> names;
    if (const HiveKey* stored = hive.Find(path))
        for (const auto& value : stored->values) names.push_back(value.name);
    return names;
}

std::vector<std::wstring> SubkeyNamesIn(const Hive& hive, const std::wstring& path) { return hive.Subkeys(path); }

// The names *namesIn* gives for the key in every place that holds it, each
// name once (the user's classes before the machine's); nothing when no
// place holds the key.
std::optional<std::vector<std::wstring>> MergedNames(const std::vector<std::pair<HiveFile*, std::wstring>>& places,
                                                     std::vector<std::wstring> (*namesIn)(const Hive&,
                                                                                          const std::wstring&)) {
    std::optional<std::vector<std::wstring>> names;
    for (const auto& [file, path] : places) {
        const Hive& hive = file->Read();
        if (!hive.Exists(path)) continue;
        if (!names) names.emplace();
        for (auto& name : namesIn(hive, path))
            if (!ContainsNoCase(*names, name)) names->push_back(std::move(name));
    }
    return names;
}

}  // namespace

std::optional<std::vector<std::wstring>> FileRegistryStore::ValueNames(RegRoot root, std::wstring_view key) {
    const auto normal = NormalizeRegKey(key);
    if (!normal) return std::nullopt;
    return MergedNames(Current().Places(root, *normal), ValueNamesIn);
}

std::optional<std::vector<std::wstring>> FileRegistryStore::SubkeyNames(RegRoot root, std::wstring_view key) {
    const auto normal = NormalizeRegKey(key);
    if (!normal) return std::nullopt;
    return MergedNames(Current().Places(root, *normal), SubkeyNamesIn);
}

namespace {

// Carries out one edit on *hive*: whether it took effect and whether it
// changed anything.
struct EditEffect {
    bool applied = false;
    bool changed = false;
};

EditEffect ApplyEdit(Hive& hive, const RegEdit& edit, const std::wstring& key) {
    switch (edit.op) {
        case RegEdit::Op::CreateKey: {
            const bool existed = hive.Exists(key);
            if (!existed) hive.Create(key);
            return {true, !existed};
        }
        case RegEdit::Op::DeleteKey: {
            // A root cannot be deleted.
            const bool removed = !key.empty() && hive.Remove(key);
            return {removed, removed};
        }
        case RegEdit::Op::SetValue: {
            if (!IsValidRegValueName(edit.name)) return {};
            HiveKey& stored = hive.Create(key);
            const auto* old = stored.Find(edit.name);
            if (old && old->value == edit.value) return {true, false};
            stored.Set(edit.name, edit.value);
            return {true, true};
        }
        case RegEdit::Op::DeleteValue: {
            HiveKey* found = hive.Find(key);
            const bool removed = found && found->Remove(edit.name);
            return {removed, removed};
        }
    }
    return {};
}

}  // namespace

std::optional<std::size_t> FileRegistryStore::Apply(std::span<const RegEdit> edits) {
    State& state = Current();
    // The edits go to their files in order, each file locked and written once.
    std::vector<std::pair<HiveFile*, std::vector<std::pair<const RegEdit*, std::wstring>>>> byFile;
    for (const RegEdit& edit : edits) {
        const auto key = NormalizeRegKey(edit.key);
        if (!key) continue;
        auto [file, path] = state.Target(edit.root, *key);
        // A class key lies deeper in its file than it is named; the file must
        // still be able to hold it.
        if (!NormalizeRegKey(path)) continue;
        auto it = byFile.begin();
        while (it != byFile.end() && it->first != file) ++it;
        if (it == byFile.end()) it = byFile.insert(byFile.end(), {file, {}});
        it->second.emplace_back(&edit, std::move(path));
    }
    // Both files are locked in one order (by path), so that two processes
    // importing into both cannot wait for each other; both are written beside
    // their targets before either is replaced, so that a file that cannot
    // take the change (read-only, a full disk) keeps the other one unchanged.
    std::sort(byFile.begin(), byFile.end(),
              [](const auto& a, const auto& b) { return a.first->path() < b.first->path(); });
    std::size_t applied = 0;
    std::vector<HiveFile::Staged> staged;
    for (auto& [file, fileEdits] : byFile) {
        auto change = file->Stage([&, &fileEdits = fileEdits](Hive& hive) {
            bool changed = false;
            for (const auto& [edit, path] : fileEdits) {
                const EditEffect effect = ApplyEdit(hive, *edit, path);
                applied += effect.applied;
                changed |= effect.changed;
            }
            return changed;
        });
        if (!change) return std::nullopt;
        staged.push_back(std::move(*change));
    }
    bool stored = true;
    for (HiveFile::Staged& change : staged) stored = change.file->Commit(change) && stored;
    if (!stored) return std::nullopt;
    return applied;
}

}  // namespace qx
