#include "qx/tree/tree_item.h"

#include <array>
#include <functional>
#include <string_view>
#include <unordered_set>

#include "qx/platform/base/utf.h"
#include "qx/platform/os/clipboard.h"
#include "qx/tree/internal/item_memory.h"
#include "qx/tree/internal/name_pool.h"

namespace {

struct NameHash {
    using is_transparent = void;
    size_t operator()(std::wstring_view s) const { return std::hash<std::wstring_view>{}(s); }
    size_t operator()(const CString& s) const { return (*this)(std::wstring_view(s.str())); }
};

struct NameEqual {
    using is_transparent = void;
    bool operator()(const CString& a, const CString& b) const { return a.str() == b.str(); }
    bool operator()(const CString& a, std::wstring_view b) const { return a.str() == b; }
    bool operator()(std::wstring_view a, const CString& b) const { return a == b.str(); }
};

// The process-wide name pool. Entries are never removed: items point at
// them for as long as the library is loaded. A hash set keeps look-ups flat
// however many names a document brings.
class NamePool {
public:
    static NamePool& Instance() {
        static NamePool pool;
        return pool;
    }

    const CString* Intern(std::wstring_view name) {
        // A document repeats a handful of names over and over: a small cache
        // indexed by a cheap mix of the name answers most look-ups with one
        // comparison, without hashing the whole name.
        const CString*& cached = recent_[CacheSlot(name)];
        if (cached && cached->str() == name) return cached;
        auto it = names_.find(name);
        if (it == names_.end()) {
            it = names_.emplace(std::wstring(name)).first;
            bytes_ += (name.size() + 1) * sizeof(wchar_t);
            if (name.find(L'\0') != std::wstring_view::npos) holdsZero_ = true;
        }
        cached = &*it;
        return cached;
    }

    // The entry of *name* without adding it; null when there is none.
    const CString* Find(std::wstring_view name) const {
        if (name.empty()) return &empty_;
        auto it = names_.find(name);
        return it == names_.end() ? nullptr : &*it;
    }
    bool HoldsZero() const { return holdsZero_; }

    const CString* Empty() const { return &empty_; }
    size_t Size() const { return names_.size(); }
    size_t Bytes() const { return bytes_ + names_.size() * sizeof(CString); }

private:
    static size_t CacheSlot(std::wstring_view name) {
        const size_t n = name.size();
        const size_t mix = n * 31 + (n ? static_cast<size_t>(name[0]) * 7 + static_cast<size_t>(name[n - 1]) * 13 +
                                              static_cast<size_t>(name[n / 2]) * 17
                                        : 0);
        return mix % kCacheSlots;
    }

    static constexpr size_t kCacheSlots = 256;
    std::unordered_set<CString, NameHash, NameEqual> names_;
    std::array<const CString*, kCacheSlots> recent_{};
    CString empty_;
    size_t bytes_ = 0;
    bool holdsZero_ = false;  // a name with a zero inside was added
};

}  // namespace

CTreeItem::CTreeItem() : m_name(NamePool::Instance().Empty()) {}

void* CTreeItem::operator new(size_t bytes) { return qx::detail::AllocateItem(bytes); }

void CTreeItem::operator delete(void* item) noexcept { qx::detail::FreeItem(item); }

CTreeItem::~CTreeItem() = default;

void CTreeItem::SetName(const wchar_t* name) {
    if (name) SetName(std::wstring_view(name));
}

void CTreeItem::SetName(std::wstring_view name) {
    if (!name.empty()) m_name = NamePool::Instance().Intern(name);
}

bool CTreeItem::WriteToClipBoard(wchar_t separator) const {
    if (!qx::OpenClipboard()) return false;
    qx::EmptyClipboard();
    unsigned format = qx::RegisterClipboardFormatName(GetItemType() == 1 ? L"QUORIX_TREEITEM_NODE"
                                                                     : L"QUORIX_TREEITEM_LEAF");
    std::wstring text(size_t{GetTextLength(-1)} + 1, L'\0');
    wchar_t* cursor = text.data();
    WriteToMem(cursor, -1, separator);
    std::string bytes = qx::WideToUtf16Bytes(text, false);  // the terminating zero included
    qx::SetClipboardData(format, bytes);
    qx::CloseClipboard();
    return true;
}

namespace qx::detail {

bool FindPooledName(const wchar_t* name, const CString*& entry) {
    const NamePool& pool = NamePool::Instance();
    if (pool.HoldsZero()) return false;
    entry = pool.Find(name ? std::wstring_view(name) : std::wstring_view());
    return true;
}

}  // namespace qx::detail

namespace qx {

size_t NamePoolSize() { return NamePool::Instance().Size(); }
size_t NamePoolBytes() { return NamePool::Instance().Bytes(); }

}  // namespace qx
