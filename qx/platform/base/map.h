// CMap<K, V>: the keyed table of the family's code, ordered by key so that a
// walk with GetStartPosition/GetNextAssoc is the same on every run.
// A walk's POSITION stays valid while other keys are added or removed.
#pragma once

#include <map>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/list.h"

template <typename K, typename V>
class CMap {
public:
    int GetCount() const { return qx::CheckedLength<int>(m_.size()); }
    int GetSize() const { return GetCount(); }
    bool IsEmpty() const { return m_.empty(); }

    bool Lookup(const K& key, V& value) const {
        auto it = m_.find(key);
        if (it == m_.end()) return false;
        value = it->second;
        return true;
    }
    // The value for *key*, created empty when the key is new.
    V& operator[](const K& key) { return m_[key]; }
    void SetAt(const K& key, const V& value) { m_[key] = value; }
    bool RemoveKey(const K& key) { return m_.erase(key) > 0; }
    void RemoveAll() { m_.clear(); }

    POSITION GetStartPosition() const { return m_.empty() ? nullptr : ToPos(m_.begin()); }
    // Delivers the entry at *pos* and moves *pos* to the next key (null after
    // the last).
    void GetNextAssoc(POSITION& pos, K& key, V& value) const {
        auto* entry = reinterpret_cast<const typename Map::value_type*>(pos);
        key = entry->first;
        value = entry->second;
        auto next = m_.upper_bound(entry->first);
        pos = next == m_.end() ? nullptr : ToPos(next);
    }

private:
    using Map = std::map<K, V>;
    static POSITION ToPos(typename Map::const_iterator it) {
        return reinterpret_cast<POSITION>(const_cast<typename Map::value_type*>(&*it));
    }
    Map m_;
};

using CMapStringToString = CMap<CString, CString>;
