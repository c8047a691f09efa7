#include "qx/tree/node.h"

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "qx/text/sub_str.h"
#include "qx/tree/internal/name_pool.h"

namespace {

bool AtLineEnd(const wchar_t* c) { return *c == L'\n' || (*c == L'\r' && c[1] == L'\n'); }

bool NamesEqual(const CString& a, const wchar_t* b, bool noCase) {
    return noCase ? a.CompareNoCase(b) == 0 : a.Compare(b) == 0;
}

// Position of the first item after *after* (from the head when null) in
// *list*; null with *found* false when *after* is not in the list.
template <typename T>
POSITION StartAfter(const CTypedPtrList<T>& list, T* after, bool& found) {
    found = true;
    if (!after) return list.GetHeadPosition();
    POSITION pos = list.Find(after);
    if (!pos) {
        found = false;
        return nullptr;
    }
    list.GetNext(pos);
    return pos;
}

template <typename T>
T* FindNamed(const CTypedPtrList<T>& list, const wchar_t* name, T* after, bool noCase) {
    bool found;
    POSITION pos = StartAfter(list, after, found);
    const CString* entry = nullptr;
    if (!noCase && qx::detail::FindPooledName(name, entry)) {
        // Names are pooled: the same text is the same entry.
        if (!entry) return nullptr;
        while (pos) {
            T* item = list.GetNext(pos);
            if (&item->GetName() == entry) return item;
        }
        return nullptr;
    }
    while (pos) {
        T* item = list.GetNext(pos);
        if (NamesEqual(item->GetName(), name, noCase)) return item;
    }
    return nullptr;
}

template <typename T>
T* ItemAt(const CTypedPtrList<T>& list, unsigned n) {
    POSITION pos = n < static_cast<unsigned>(list.GetCount()) ? list.FindIndex(static_cast<int>(n)) : nullptr;
    return pos ? list.GetAt(pos) : nullptr;
}

// Removes *item* from *list*; a cursor standing on it becomes null, since it
// could not be used any more.
template <typename T>
bool Unlink(CTypedPtrList<T>& list, T* item, POSITION& cursor) {
    POSITION pos = list.Find(item);
    if (!pos) return false;
    if (cursor == pos) cursor = nullptr;
    list.RemoveAt(pos);
    return true;
}

// Moves every child of *node* onto *stack*, so that deleting it later does
// not recurse: deep trees are torn down without using the call stack. The
// last child goes first, so that the stack gives the nodes back in the
// order of the document, which is the order a reader placed them in memory.
void DetachChildren(CTypedPtrList<CNode>& children, std::vector<CNode*>& stack) {
    for (POSITION pos = children.GetTailPosition(); pos;) stack.push_back(children.GetPrev(pos));
    children.RemoveAll();
}

}  // namespace

CNode::CNode(const wchar_t* name) { SetName(name); }

CNode::CNode(const CNode& other) : CTreeItem() { *this = other; }

CNode::~CNode() {
    DeleteAllLeaves();
    DeleteAllChildren();
}

CNode& CNode::operator=(const CNode& other) {
    if (this == &other) return *this;
    DeleteAllChildren();
    DeleteAllLeaves();
    SetName(other.GetName());
    // Copy breadth-wise with an explicit list of pending pairs so that depth
    // costs no stack. A new node starts with the flag false and its children
    // are filled before it is appended, so only this node's direct children
    // end up with this node's flag.
    std::vector<std::pair<const CNode*, CNode*>> pending{{&other, this}};
    while (!pending.empty()) {
        auto [source, target] = pending.back();
        pending.pop_back();
        bool flag = target == this ? m_simpleXML : false;
        for (POSITION pos = source->m_children.GetHeadPosition(); pos;) {
            const CNode* child = source->m_children.GetNext(pos);
            auto* copy = new CNode(child->GetName());
            copy->m_simpleXML = flag;
            target->m_children.AddTail(copy);
            pending.emplace_back(child, copy);
        }
        for (POSITION pos = source->m_leaves.GetHeadPosition(); pos;) {
            const CLeaf* leaf = source->m_leaves.GetNext(pos);
            auto* copy = new CLeaf(leaf->GetName());
            copy->SetRawData(leaf->GetRawData());
            target->m_leaves.AddTail(copy);
        }
    }
    return *this;
}

CNode* CNode::AddChild(CNode* child) {
    if (!child) return nullptr;
    child->m_simpleXML = m_simpleXML;
    m_children.AddTail(child);
    return child;
}

CNode* CNode::AddChild(const wchar_t* name) { return AddChild(new CNode(name)); }

CLeaf* CNode::AddLeaf(CLeaf* leaf) {
    if (leaf) m_leaves.AddTail(leaf);
    return leaf;
}

CLeaf* CNode::AddLeaf(const wchar_t* name, const wchar_t* value, bool raw) {
    return AddLeaf(new CLeaf(name, value, raw));
}

CLeaf* CNode::AddLeaf(const wchar_t* name, int value, bool raw) {
    return AddLeaf(name, qx::FormatTreeInt(value, L"%d"), raw);
}

CLeaf* CNode::AddLeaf(const wchar_t* name, double value, bool raw) {
    return AddLeaf(name, qx::FormatTreeDouble(value), raw);
}

CNode* CNode::InsertChild(CNode* child, CNode* after) {
    if (!child) return nullptr;
    POSITION pos = after ? m_children.Find(after) : nullptr;
    if (pos) {
        m_children.InsertAfter(pos, child);
    } else {
        m_children.AddHead(child);
    }
    return child;
}

bool CNode::DeleteChild(CNode* child, bool keep) {
    if (!child || !Unlink(m_children, child, m_childCursor)) return false;
    if (!keep) delete child;
    return true;
}

bool CNode::DeleteLeaf(CLeaf* leaf, bool keep) {
    if (!leaf || !Unlink(m_leaves, leaf, m_leafCursor)) return false;
    if (!keep) delete leaf;
    return true;
}

void CNode::DeleteAllChildren(bool keep) {
    m_childCursor = nullptr;
    if (keep) {
        m_children.RemoveAll();
        return;
    }
    std::vector<CNode*> doomed;
    DetachChildren(m_children, doomed);
    while (!doomed.empty()) {
        CNode* node = doomed.back();
        doomed.pop_back();
        DetachChildren(node->m_children, doomed);
        delete node;  // has no children left, so its destructor does not recurse
    }
}

void CNode::DeleteAllLeaves(bool keep) {
    m_leafCursor = nullptr;
    if (!keep) {
        for (POSITION pos = m_leaves.GetHeadPosition(); pos;) delete m_leaves.GetNext(pos);
    }
    m_leaves.RemoveAll();
}

CNode* CNode::GetChild(unsigned n) const { return ItemAt(m_children, n); }
CLeaf* CNode::GetLeaf(unsigned n) const { return ItemAt(m_leaves, n); }

CNode* CNode::GetFirstChild() {
    m_childCursor = m_children.GetHeadPosition();
    return GetNextChild();
}

CNode* CNode::GetNextChild() { return m_childCursor ? m_children.GetNext(m_childCursor) : nullptr; }

CNode* CNode::GetLastChild() const { return m_children.IsEmpty() ? nullptr : m_children.GetTail(); }

CLeaf* CNode::GetFirstLeaf() {
    m_leafCursor = m_leaves.GetHeadPosition();
    return GetNextLeaf();
}

CLeaf* CNode::GetNextLeaf() { return m_leafCursor ? m_leaves.GetNext(m_leafCursor) : nullptr; }

POSITION CNode::GetFirstChildPos() { return m_childCursor = m_children.GetHeadPosition(); }
POSITION CNode::GetFirstLeafPos() { return m_leafCursor = m_leaves.GetHeadPosition(); }

CNode* CNode::GetNextChild(POSITION& pos) {
    m_childCursor = pos;
    return pos ? m_children.GetNext(pos) : nullptr;
}

CLeaf* CNode::GetNextLeaf(POSITION& pos) {
    m_leafCursor = pos;
    return pos ? m_leaves.GetNext(pos) : nullptr;
}

POSITION CNode::GetChildPos(CNode* child) const { return child ? m_children.Find(child) : nullptr; }

CNode* CNode::FindChild(const wchar_t* name, CNode* after, bool noCase) const {
    return FindNamed(m_children, name, after, noCase);
}

CLeaf* CNode::FindLeaf(const wchar_t* name, CLeaf* after, bool noCase) const {
    return FindNamed(m_leaves, name, after, noCase);
}

CLeaf* CNode::FindLeafExact(const wchar_t* name) const { return FindNamed<CLeaf>(m_leaves, name, nullptr, false); }

CNode* CNode::FindChildByAttributeValue(const wchar_t* childName, const wchar_t* leafName, const wchar_t* value,
                                        CNode* after) const {
    bool found;
    POSITION pos = StartAfter(m_children, after, found);
    while (pos) {
        CNode* child = m_children.GetNext(pos);
        if (childName && child->GetName().Compare(childName) != 0) continue;
        CLeaf* leaf = child->FindLeafExact(leafName);
        if (!leaf) continue;
        CString first;
        qxSubStrUtil::GetInit(leaf->GetRawData(), L':');
        qxSubStrUtil::Get(first);
        if (first.Compare(value) == 0) return child;
    }
    return nullptr;
}

CNode* CNode::ResolvePath(const wchar_t* path, bool create) {
    if (!path || !*path) return this;
    // A component counts only when a backslash follows it, so a path
    // without one, or starting with one, names no node.
    if (*path == L'\\' || !std::wcschr(path, L'\\')) return nullptr;
    CNode* current = this;
    for (const wchar_t* p = path;;) {
        const wchar_t* end = std::wcschr(p, L'\\');
        if (!end || end == p) break;
        CString component(std::wstring(p, end));
        CNode* next = current->FindChild(component, nullptr, false);
        if (!next) {
            if (!create) return nullptr;
            next = current->AddChild(component);
        }
        current = next;
        p = end + 1;
    }
    return current;
}

CString CNode::GetStrLeafValue(const wchar_t* path, const wchar_t* leafName, int index, wchar_t separator,
                               const wchar_t* defaultValue) {
    CString text;
    return ReadLeafValue(path, leafName, index, separator, text) ? text : CString(defaultValue);
}

double CNode::GetDblLeafValue(const wchar_t* path, const wchar_t* leafName, int index, wchar_t separator,
                              double defaultValue) {
    CString text;
    if (!ReadLeafValue(path, leafName, index, separator, text)) return defaultValue;
    return qx::PackedValueToDouble(text);
}

int CNode::GetIntLeafValue(const wchar_t* path, const wchar_t* leafName, int index, wchar_t separator,
                           int defaultValue) {
    CString text;
    if (!ReadLeafValue(path, leafName, index, separator, text)) return defaultValue;
    return qx::PackedValueToInt(text);
}

bool CNode::ReadLeafValue(const wchar_t* path, const wchar_t* leafName, int index, wchar_t separator,
                          CString& out) {
    CNode* node = ResolvePath(path, false);
    CLeaf* leaf = node ? node->FindLeafExact(leafName) : nullptr;
    return leaf && leaf->ReadValueAt(index, separator, out);
}

bool CNode::SetStrLeafValue(const wchar_t* path, const wchar_t* leafName, int index, const wchar_t* value,
                            wchar_t separator) {
    CNode* node = ResolvePath(path, true);
    if (!node) return false;
    CLeaf* leaf = node->FindLeafExact(leafName);
    if (!leaf) leaf = node->AddLeaf(new CLeaf(leafName));

    // Rebuild the list: the current values in order, *value* at *index*,
    // empty values for positions past the end. A packed list is one line:
    // the reader stops at a line end without moving, so the values stop
    // there too, and a raw value holding a line feed cannot keep this loop
    // going.
    CString current = leaf->GetRawData();
    CQxSubStr reader;
    reader.GetInit(current, separator);
    bool hasCurrent = !current.IsEmpty();
    CQxSubStr builder;
    builder.AddInit(separator);
    for (int i = 1;; ++i) {
        CString taken;
        bool more = false;
        if (hasCurrent) more = reader.Get(taken) && !AtLineEnd(reader.m_readCursor);
        builder.Add(i == index ? value : taken.GetString());
        if (i >= index && !more) break;
        hasCurrent = more;
    }
    CString rebuilt;
    builder.AddEnd(rebuilt);
    leaf->SetRawData(rebuilt);
    return true;
}

bool CNode::SetDblLeafValue(const wchar_t* path, const wchar_t* leafName, int index, double value,
                            const wchar_t* format, wchar_t separator) {
    return SetStrLeafValue(path, leafName, index, qx::FormatTreeDouble(value, format), separator);
}

bool CNode::SetIntLeafValue(const wchar_t* path, const wchar_t* leafName, int index, int value,
                            const wchar_t* format, wchar_t separator) {
    return SetStrLeafValue(path, leafName, index, qx::FormatTreeInt(value, format), separator);
}
