// CTreeItem: the common base of the nodes and leaves of a tree document.
//
// Names go through a process-wide name pool: every distinct name text is
// stored once and shared by all items that carry it, so large trees with
// thousands of leaves named alike hold each name once. The pool lives until
// the library is unloaded and is not thread-safe (one thread at a time, as
// the whole tree API).
#pragma once

#include <string_view>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx::detail {
struct PooledName;
}

class QX_API CTreeItem {
public:
    virtual ~CTreeItem();

    // Items read from a document share large chunks of memory (see
    // qx/tree/internal/item_memory.h); items are created with new and
    // deleted with delete as always.
    static void* operator new(size_t bytes);
    static void operator delete(void* item) noexcept;

    // 1 for a node, 2 for a leaf.
    virtual int GetItemType() const = 0;
    // Characters WriteToMem writes at level *indent* (-1: no indentation at
    // any depth), the terminating zero not counted. A text longer than an
    // unsigned counts raises CMemoryException: the indentation of a deep
    // tree grows with the square of its depth.
    virtual unsigned GetTextLength(int indent) const = 0;
    // Writes the item's text form at *cursor* and advances it; a zero
    // follows the text (not counted). Room for GetTextLength + 1 characters
    // must be there. The count it returns is checked as GetTextLength's.
    virtual unsigned WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const = 0;
    // Reads one item of the text form at *cursor* into this item and
    // advances the cursor past it; throws CExcRead on malformed text. A node
    // keeps what it holds and appends what it reads. Returns the number of
    // characters consumed.
    virtual unsigned long ReadFromMem(const wchar_t*& cursor, wchar_t separator) = 0;
    // Lists the item on the debug output, *level* bars deep.
    virtual void DumpToDebugger(int level) const = 0;

    // Null or empty leaves the name as it was.
    void SetName(const wchar_t* name);
    // The same for a name that need not end with a zero.
    void SetName(std::wstring_view name);
    const CString& GetName() const { return *m_name; }

    // Puts the item's text form, unindented, on the clipboard under the
    // format "QUORIX_TREEITEM_NODE" or "QUORIX_TREEITEM_LEAF" as UTF-16 with
    // a terminating zero. False when the clipboard cannot be opened.
    bool WriteToClipBoard(wchar_t separator = L':') const;

protected:
    CTreeItem();
    CTreeItem(const CTreeItem&) = delete;
    CTreeItem& operator=(const CTreeItem&) = delete;

private:
    friend struct qx::detail::PooledName;

    const CString* m_name;  // points into the name pool
};

namespace qx {

// Number of distinct names the pool holds, and the bytes it uses for them.
QX_API size_t NamePoolSize();
QX_API size_t NamePoolBytes();

}  // namespace qx
