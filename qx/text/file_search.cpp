#include "qx/text/file_search.h"

#include <vector>

#include "qx/platform/os/file_search.h"
#include "qx/text/internal/folder_search.h"

namespace qx {

namespace {

using detail::EntryKind;

// The one owner of the open searches.
class SearchStack {
public:
    static constexpr size_t kCapacity = 64;

    static SearchStack& Instance() {
        static SearchStack stack;
        return stack;
    }

    int Size() const { return static_cast<int>(searches_.size()); }
    bool Full() const { return searches_.size() == kCapacity; }
    FileSearch* Top() { return searches_.empty() ? nullptr : &searches_.back(); }
    void Push(FileSearch search) { searches_.push_back(std::move(search)); }
    void Pop() {
        if (!searches_.empty()) searches_.pop_back();
    }
    void Clear() { searches_.clear(); }

private:
    std::vector<FileSearch> searches_;
};

int GetFirst(const wchar_t* folder, const wchar_t* pattern, EntryKind kind, CString& name) {
    SearchStack& stack = SearchStack::Instance();
    if (stack.Full()) return 0;
    auto search = detail::StartSearchOfKind(folder, pattern, kind, name);
    if (!search) return 0;
    stack.Push(std::move(*search));
    return 1;
}

int GetNext(EntryKind kind, CString& name) {
    SearchStack& stack = SearchStack::Instance();
    FileSearch* top = stack.Top();
    if (!top) return 0;
    if (detail::NextOfKind(*top, kind, name)) return 1;
    stack.Pop();
    return 0;
}

}  // namespace

int OpenFileSearchCount() { return SearchStack::Instance().Size(); }

void ResetFileSearchStack() { SearchStack::Instance().Clear(); }

}  // namespace qx

using qx::detail::EntryKind;

int GetFirstFileName(const wchar_t* folder, const wchar_t* pattern, CString& name) {
    return qx::GetFirst(folder, pattern, EntryKind::kFile, name);
}

int GetNextFileName(CString& name) { return qx::GetNext(EntryKind::kFile, name); }

int GetFirstDirName(const wchar_t* folder, const wchar_t* pattern, CString& name) {
    return qx::GetFirst(folder, pattern, EntryKind::kFolder, name);
}

int GetNextDirName(CString& name) { return qx::GetNext(EntryKind::kFolder, name); }

void StopDirIteration() { qx::SearchStack::Instance().Pop(); }

int GetDirNames(const wchar_t* folder, const wchar_t* pattern, CStringArray& names) {
    names.RemoveAll();
    const auto path = qx::detail::FolderSearchPath(folder, pattern);
    if (!path) return 0;
    auto search = qx::FileSearch::Start(*path);
    if (!search) return 0;
    CString name;
    while (qx::detail::NextOfKind(*search, EntryKind::kFolder, name)) names.Add(name);
    return 1;
}
