// Memory of tree items (CNode, CLeaf and classes derived from them).
//
// A document read from text brings millions of small items that are
// created together and mostly deleted together. While an ItemArena lives on
// a thread, the items that thread creates are carved one after the other
// from 64 KB chunks instead of taking a heap block each; a chunk goes back
// to the heap when the last item carved from it is deleted, on whichever
// thread. An item kept after the rest of its document was deleted keeps
// its chunk, so at most 64 KB stay behind per such item. Items created
// outside an arena take an ordinary heap block.
//
// Builds with AddressSanitizer give every item its own heap block, so that
// use after deletion is still found.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx::detail {

struct ItemChunk;

class ItemArena {
public:
    ItemArena();
    ~ItemArena();
    ItemArena(const ItemArena&) = delete;
    ItemArena& operator=(const ItemArena&) = delete;

    void* Allocate(std::size_t bytes);

private:
    void Retire();

    ItemArena* outer_;  // the arena this one stands in for on its thread
    ItemChunk* chunk_ = nullptr;
    std::size_t used_ = 0;
    std::int64_t carved_ = 0;
};

// From the thread's arena when one lives, else from the heap.
void* AllocateItem(std::size_t bytes);
void FreeItem(void* item) noexcept;

}  // namespace qx::detail
