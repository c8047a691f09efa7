// Leaves whose value stays in the bytes of the file it was read from.
//
// The reader of UTF-8 and 8-bit files makes each leaf with its value's
// bytes right behind it, in the same block of item memory, so that reading
// a value costs one copy and no heap block of its own; CLeaf widens the
// value the first time it is asked for and keeps the wide form from then on.
// The bytes go with the leaf when it is deleted.
#pragma once

#include <cstring>
#include <new>
#include <string_view>

#include "qx/tree/internal/item_memory.h"
#include "qx/tree/leaf.h"

namespace qx::detail {

struct PackedLeaf {
    // A nameless leaf holding *bytes*: 8-bit text widened by *widening* (a
    // table of 256 characters that lives as long as the process), or UTF-8
    // when it is null. Deleted with delete as any leaf.
    static CLeaf* New(std::string_view bytes, const wchar_t* widening) {
        void* memory = AllocateItem(sizeof(CLeaf) + bytes.size());
        auto* leaf = ::new (memory) CLeaf;
        std::memcpy(reinterpret_cast<char*>(leaf) + sizeof(CLeaf), bytes.data(), bytes.size());
        leaf->m_packedBytes = bytes.size();
        leaf->m_widening = widening;
        return leaf;
    }

    static std::string_view Bytes(const CLeaf& leaf) {
        return {reinterpret_cast<const char*>(&leaf) + sizeof(CLeaf), leaf.m_packedBytes};
    }
};

}  // namespace qx::detail
