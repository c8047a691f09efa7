// CDataTree: the data an application hands to the print engine, a tree of
// nodes that each hold named text values (VARIABLE) and child nodes.
//
// A node owns its children (AddChild creates them, cleanUp and the
// destructor delete them); it does not own ValueSource, and the engine owns
// none of the trees it is given. Names of values compare ignoring case, except
// for the built-in names of LookupValue (DATE, TIME, CURRENTUSER, ...), which
// match exactly and always win.
#pragma once

#include "qx/platform/base/array.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/list.h"

struct QX_API VARIABLE {
    CString Name;
    CString Value;
    // A second text for the same name, for layout texts that hold two "%s".
    CString Extra;
};

class QX_API CDataTree {
public:
    CDataTree() = default;
    ~CDataTree();
    CDataTree(const CDataTree&) = delete;
    CDataTree& operator=(const CDataTree&) = delete;

    // Each AddValue replaces the Value of the record of the same name
    // (ignoring case; its Name and Extra stay) and returns 1, or appends a new
    // record and returns 0. All act on ValueSource's records when it is set.
    int AddValue(const CString& name, const CString& value);
    int AddValue(const CString& name, const CString& value, const CString& extra);
    // The value as "%d".
    int AddValue(const CString& name, const int& value);
    // The value formatted with *format*, a printf pattern with one conversion
    // for a double (null means "%f"); a pattern that does not fit gives "".
    int AddValue(const CString& name, const double& value, const wchar_t* format);

    // A new empty node appended to Children, owned by this node.
    CDataTree* AddChild();
    // Deletes every descendant and empties Variables. Deep trees do not
    // deepen the call stack.
    void cleanUp();

    // The text a layout field named *name* shows for this node: a built-in
    // value (date, time, user) when *name* is one exactly, else the Value of
    // the first record whose Name equals *name* ignoring case, else "".
    CString LookupValue(const CString& name) const;
    // The Extra of the first record whose Name equals *name* exactly, or "".
    CString LookupExtra(const CString& name) const;

    CArray<VARIABLE> Variables;
    CTypedPtrList<CDataTree> Children;
    // When set, the value operations work on that node's Variables.
    CDataTree* ValueSource = nullptr;
    // 0: the engine prints no record for this node (its children still count).
    int Printable = 1;

private:
    CArray<VARIABLE>& Values() { return ValueSource ? ValueSource->Variables : Variables; }
    const CArray<VARIABLE>& Values() const { return ValueSource ? ValueSource->Variables : Variables; }
};
