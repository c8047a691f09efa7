// CNode: a named node of a tree document with an ordered list of child nodes
// and an ordered list of leaves.
//
// Ownership: a node owns its children and leaves; items handed to AddChild,
// AddLeaf and InsertChild become the node's, and deleting a node deletes its
// whole subtree. Each node has a child cursor and a leaf cursor for the
// GetFirst/GetNext walks; the operations that walk the lists internally
// (writing, finding, copying from) leave them alone. Node paths are written
// "A\B\" : a component counts only when a backslash follows it.
#pragma once

#include "qx/platform/base/list.h"
#include "qx/tree/leaf.h"
#include "qx/tree/tree_item.h"

class QX_API CNode : public CTreeItem {
public:
    explicit CNode(const wchar_t* name = nullptr);
    // A deep copy, as operator= makes it.
    CNode(const CNode& other);
    ~CNode() override;
    // Deep copy of *other*'s name, children and leaves. The simple XML flags
    // are not copied: the direct children take this node's flag, deeper
    // nodes get false.
    CNode& operator=(const CNode& other);

    int GetItemType() const override { return 1; }
    unsigned GetTextLength(int indent) const override;
    unsigned WriteToMem(wchar_t*& cursor, int indent, wchar_t separator) const override;
    unsigned long ReadFromMem(const wchar_t*& cursor, wchar_t separator) override;
    void DumpToDebugger(int level) const override;

    // The node's text form (indented from level 0, or not at all). The
    // other arguments mirror WriteToFile and do not change the text. A text
    // longer than a CString holds raises CMemoryException, *out* unchanged
    // (qx::WriteTreeText writes any length in pieces).
    bool WriteToString(CString& out, bool encode = false, bool indent = true, bool utf8 = false,
                       unsigned codePage = 0, wchar_t separator = L':') const;

    // Writes the node as a tree file, replacing *path* atomically: UTF-8
    // with its mark, or code page *codePage* (0: the default 8-bit code
    // page) without one; with *encode* in the encoded form. A path ending in
    // ".vdi" gets the VDI export instead of the tree text. False when the
    // file cannot be written; the previous file is then unchanged.
    bool WriteToFile(const wchar_t* path, bool encode = false, bool indent = true, bool utf8 = false,
                     unsigned codePage = 0, wchar_t separator = L':') const;

    // Reads a tree file (any of its encodings, see qx/text/text_codec.h) and
    // returns a new root the caller owns; null when the file cannot be read.
    // A read error deletes what was read and throws CExcRead. *isUnicode*,
    // when given, tells whether the file has a byte-order mark, so that it
    // can be written back in the same form. A ".vdi" path goes through the
    // VDI import.
    static CNode* ReadFromFile(const wchar_t* path, bool encoded = false, wchar_t separator = L':',
                               bool* isUnicode = nullptr, unsigned codePage = 0);

    // Building and ownership.
    CNode* AddChild(CNode* child);  // takes this node's simple XML flag
    CNode* AddChild(const wchar_t* name);
    CLeaf* AddLeaf(CLeaf* leaf);
    CLeaf* AddLeaf(const wchar_t* name, const wchar_t* value, bool raw = false);
    CLeaf* AddLeaf(const wchar_t* name, int value, bool raw = false);
    CLeaf* AddLeaf(const wchar_t* name, double value, bool raw = false);
    // Right after *after*, or first when *after* is null or not a child.
    CNode* InsertChild(CNode* child, CNode* after);
    // False, with nothing changed, when the item is not a direct child.
    bool DeleteChild(CNode* child, bool keep = false);
    bool DeleteLeaf(CLeaf* leaf, bool keep = false);
    void DeleteAllChildren(bool keep = false);
    void DeleteAllLeaves(bool keep = false);
    void setSimpleXML(bool on) { m_simpleXML = on; }
    bool isSimpleXML() const { return m_simpleXML; }
    void OutputDebugStringW() {}

    // Navigation.
    unsigned NrOfChildren() const { return static_cast<unsigned>(m_children.GetCount()); }
    unsigned NrOfLeaves() const { return static_cast<unsigned>(m_leaves.GetCount()); }
    CNode* GetChild(unsigned n) const;
    CLeaf* GetLeaf(unsigned n) const;
    CNode* GetFirstChild();
    CNode* GetNextChild();
    CNode* GetLastChild() const;
    CLeaf* GetFirstLeaf();
    CLeaf* GetNextLeaf();
    POSITION GetFirstChildPos();
    POSITION GetFirstLeafPos();
    CNode* GetNextChild(POSITION& pos);
    CLeaf* GetNextLeaf(POSITION& pos);
    POSITION GetChildPos(CNode* child) const;
    // Direct children (leaves) only; null when none matches or when *after*
    // is given and is not one of them.
    CNode* FindChild(const wchar_t* name, CNode* after = nullptr, bool noCase = false) const;
    CLeaf* FindLeaf(const wchar_t* name, CLeaf* after = nullptr, bool noCase = false) const;
    // The first child after *after* named *childName* (any name when null)
    // whose first leaf named *leafName* has *value* as its first value.
    CNode* FindChildByAttributeValue(const wchar_t* childName, const wchar_t* leafName, const wchar_t* value,
                                     CNode* after = nullptr) const;

    // Typed leaf access by node path; index counts from 1 (0 also means the
    // first). Getters give the default when the path, the leaf or the value
    // is missing. Setters create missing nodes and the leaf, fill positions
    // past the end with empty values and return true; a non-empty path that
    // names no node (no backslash, or a leading one) changes nothing and
    // gives false.
    CString GetStrLeafValue(const wchar_t* path, const wchar_t* leafName, int index = 1, wchar_t separator = L':',
                            const wchar_t* defaultValue = L"");
    double GetDblLeafValue(const wchar_t* path, const wchar_t* leafName, int index = 1, wchar_t separator = L':',
                           double defaultValue = 0.0);
    int GetIntLeafValue(const wchar_t* path, const wchar_t* leafName, int index = 1, wchar_t separator = L':',
                        int defaultValue = 0);
    bool SetStrLeafValue(const wchar_t* path, const wchar_t* leafName, int index, const wchar_t* value,
                         wchar_t separator = L':');
    bool SetDblLeafValue(const wchar_t* path, const wchar_t* leafName, int index, double value,
                         const wchar_t* format = L"%f", wchar_t separator = L':');
    bool SetIntLeafValue(const wchar_t* path, const wchar_t* leafName, int index, int value,
                         const wchar_t* format = L"%d", wchar_t separator = L':');

    // The lists themselves, for the text reader and writer.
    const CTypedPtrList<CNode>& Children() const { return m_children; }
    const CTypedPtrList<CLeaf>& Leaves() const { return m_leaves; }

private:
    CNode* ResolvePath(const wchar_t* path, bool create);
    CLeaf* FindLeafExact(const wchar_t* name) const;
    bool ReadLeafValue(const wchar_t* path, const wchar_t* leafName, int index, wchar_t separator, CString& out);

    CTypedPtrList<CNode> m_children;
    CTypedPtrList<CLeaf> m_leaves;
    POSITION m_childCursor = nullptr;
    POSITION m_leafCursor = nullptr;
    bool m_simpleXML = false;
};
