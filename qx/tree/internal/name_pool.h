// Finding items by name through the name pool (see qx/tree/tree_item.h).
//
// Every item's name points at the pool's one entry for its text, so two
// items have the same name exactly when they point at the same entry, and a
// search for a name need only compare pointers.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/tree/tree_item.h"

namespace qx::detail {

// For readers that look names up themselves: gives *item* the name of the
// pool entry *entry*, as taken from another item's GetName().
struct PooledName {
    static void Assign(CTreeItem& item, const CString& entry) { item.m_name = &entry; }
};

// The entry an item named *name* (null: "") points at, or null when no item
// carries that name. False, with *entry* unset, when the pool holds a name
// with a zero inside: a name comparison ends at the first zero, so such a
// name equals others than its own entry's.
bool FindPooledName(const wchar_t* name, const CString*& entry);

}  // namespace qx::detail
