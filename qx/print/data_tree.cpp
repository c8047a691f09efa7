#include "qx/print/data_tree.h"

#include <vector>

#include "qx/platform/base/format.h"
#include "qx/print/builtin_values.h"
#include "qx/text/format_text.h"

CDataTree::~CDataTree() { cleanUp(); }

int CDataTree::AddValue(const CString& name, const CString& value) { return AddValue(name, value, CString()); }

int CDataTree::AddValue(const CString& name, const CString& value, const CString& extra) {
    CArray<VARIABLE>& values = Values();
    for (VARIABLE& variable : values) {
        if (variable.Name.CompareNoCase(name) == 0) {
            variable.Value = value;
            return 1;
        }
    }
    values.Add(VARIABLE{name, value, extra});
    return 0;
}

int CDataTree::AddValue(const CString& name, const int& value) {
    return AddValue(name, CString(qx::Format(L"%d", value)));
}

int CDataTree::AddValue(const CString& name, const double& value, const wchar_t* format) {
    // The pattern comes from the application: one that does not fit a single
    // double gives "" instead of reading an argument that is not there.
    return AddValue(name, FormatText(format ? format : L"%f", value));
}

CDataTree* CDataTree::AddChild() {
    CDataTree* child = new CDataTree;
    Children.AddTail(child);
    return child;
}

void CDataTree::cleanUp() {
    // Each node is emptied of its children before it is deleted, so its
    // destructor finds nothing to descend into: the walk keeps its own stack.
    std::vector<CDataTree*> pending;
    while (!Children.IsEmpty()) pending.push_back(Children.RemoveHead());
    while (!pending.empty()) {
        CDataTree* node = pending.back();
        pending.pop_back();
        while (!node->Children.IsEmpty()) pending.push_back(node->Children.RemoveHead());
        delete node;
    }
    Variables.RemoveAll();
}

CString CDataTree::LookupValue(const CString& name) const {
    if (std::optional<CString> builtIn = qx::BuiltInValue(name)) return *builtIn;
    for (const VARIABLE& variable : Values()) {
        if (variable.Name.CompareNoCase(name) == 0) return variable.Value;
    }
    return CString();
}

CString CDataTree::LookupExtra(const CString& name) const {
    for (const VARIABLE& variable : Values()) {
        if (variable.Name == name) return variable.Extra;
    }
    return CString();
}
