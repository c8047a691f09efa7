// Doubly linked lists addressed by POSITION, as the family's code walks them:
// CList<T>, and CPtrList / CStringList / CTypedPtrList built on it.
//
// A POSITION stays valid while items are added anywhere in the list; removing
// an item invalidates only that item's own position. Entries are allocated in
// blocks and recycled through a free list, so a long list costs few
// allocations: the first block holds two entries and each further one twice
// as many as the one before, up to the block size (10 by default), so that
// the many short lists of a tree document stay small.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "qx/platform/base/cstring.h"

struct __POSITION {};
using POSITION = __POSITION*;

template <typename T>
class CList {
public:
    explicit CList(int blockSize = 10) : blockSize_(blockSize > 0 ? blockSize : 10) {}
    CList(const CList& other) : blockSize_(other.blockSize_) { AddTail(other); }
    CList& operator=(const CList& other) {
        if (this != &other) {
            RemoveAll();
            AddTail(other);
        }
        return *this;
    }
    ~CList() {
        RemoveAll();
        FreeBlocks();
    }

    int GetCount() const { return count_; }
    int GetSize() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    POSITION GetHeadPosition() const { return ToPos(head_); }
    POSITION GetTailPosition() const { return ToPos(tail_); }

    T& GetHead() { return head_->value; }
    const T& GetHead() const { return head_->value; }
    T& GetTail() { return tail_->value; }
    const T& GetTail() const { return tail_->value; }

    // Returns the item at *pos* and moves *pos* to the next one (null after
    // the last); GetPrev moves backwards.
    T& GetNext(POSITION& pos) {
        Entry* e = FromPos(pos);
        pos = ToPos(e->next);
        return e->value;
    }
    const T& GetNext(POSITION& pos) const {
        Entry* e = FromPos(pos);
        pos = ToPos(e->next);
        return e->value;
    }
    T& GetPrev(POSITION& pos) {
        Entry* e = FromPos(pos);
        pos = ToPos(e->prev);
        return e->value;
    }
    T& GetAt(POSITION pos) { return FromPos(pos)->value; }
    const T& GetAt(POSITION pos) const { return FromPos(pos)->value; }
    void SetAt(POSITION pos, const T& value) { FromPos(pos)->value = value; }

    POSITION AddHead(const T& value) { return InsertBefore(GetHeadPosition(), value); }
    POSITION AddTail(const T& value) { return InsertAfter(GetTailPosition(), value); }
    void AddTail(const CList& other) {
        for (Entry* e = other.head_; e; e = e->next) AddTail(e->value);
    }

    // With a null position InsertBefore adds at the head and InsertAfter at
    // the tail.
    POSITION InsertBefore(POSITION pos, const T& value) {
        Entry* at = FromPos(pos);
        if (!at) at = head_;
        Entry* e = NewEntry(value);
        e->next = at;
        e->prev = at ? at->prev : nullptr;
        Link(e);
        return ToPos(e);
    }
    POSITION InsertAfter(POSITION pos, const T& value) {
        Entry* at = FromPos(pos);
        if (!at) at = tail_;
        Entry* e = NewEntry(value);
        e->prev = at;
        e->next = at ? at->next : nullptr;
        Link(e);
        return ToPos(e);
    }

    void RemoveAt(POSITION pos) {
        Entry* e = FromPos(pos);
        (e->prev ? e->prev->next : head_) = e->next;
        (e->next ? e->next->prev : tail_) = e->prev;
        FreeEntry(e);
    }
    T RemoveHead() {
        T value = std::move(head_->value);
        RemoveAt(GetHeadPosition());
        return value;
    }
    T RemoveTail() {
        T value = std::move(tail_->value);
        RemoveAt(GetTailPosition());
        return value;
    }
    // Gives the blocks back as well: a list emptied as a whole starts again
    // with small blocks.
    void RemoveAll() {
        if constexpr (!std::is_trivially_destructible_v<T>) {
            for (Entry* e = head_; e; e = e->next) e->value.~T();
        }
        head_ = tail_ = nullptr;
        count_ = 0;
        FreeBlocks();
    }

    // Position of the first item equal to *value* after *startAfter* (from
    // the head when null); null when there is none.
    POSITION Find(const T& value, POSITION startAfter = nullptr) const {
        Entry* e = startAfter ? FromPos(startAfter)->next : head_;
        for (; e; e = e->next) {
            if (e->value == value) return ToPos(e);
        }
        return nullptr;
    }
    POSITION FindIndex(int index) const {
        if (index < 0 || index >= count_) return nullptr;
        Entry* e = head_;
        while (index-- > 0) e = e->next;
        return ToPos(e);
    }

private:
    struct Entry {
        Entry* next;
        Entry* prev;
        T value;
    };
    // Storage for one entry; the value is constructed only while in use.
    union Slot {
        Slot() {}
        ~Slot() {}
        Slot* nextFree;
        Entry entry;
    };
    // A block is this header followed by blockSize_ slots.
    struct Block {
        Block* next;
    };
    static constexpr size_t kSlotOffset = (sizeof(Block) + alignof(Slot) - 1) / alignof(Slot) * alignof(Slot);

    static POSITION ToPos(Entry* e) { return reinterpret_cast<POSITION>(e); }
    static Entry* FromPos(POSITION p) { return reinterpret_cast<Entry*>(p); }

    void Link(Entry* e) {
        (e->prev ? e->prev->next : head_) = e;
        (e->next ? e->next->prev : tail_) = e;
    }

    Entry* NewEntry(const T& value) {
        if (!free_) AllocateBlock();
        Slot* slot = free_;
        free_ = slot->nextFree;
        Entry* e = &slot->entry;
        new (&e->value) T(value);
        ++count_;
        return e;
    }

    void FreeEntry(Entry* e) {
        e->value.~T();
        Slot* slot = reinterpret_cast<Slot*>(e);
        slot->nextFree = free_;
        free_ = slot;
        --count_;
    }

    void AllocateBlock() {
        const int slots = nextBlockSlots_ < blockSize_ ? nextBlockSlots_ : blockSize_;
        nextBlockSlots_ = slots * 2;
        size_t bytes = kSlotOffset + sizeof(Slot) * static_cast<size_t>(slots);
        char* raw = static_cast<char*>(::operator new(bytes));
        auto* block = new (raw) Block{blocks_};
        blocks_ = block;
        for (int i = slots - 1; i >= 0; --i) {
            Slot* slot = new (raw + kSlotOffset + sizeof(Slot) * static_cast<size_t>(i)) Slot;
            slot->nextFree = free_;
            free_ = slot;
        }
    }

    void FreeBlocks() {
        while (blocks_) {
            Block* next = blocks_->next;
            ::operator delete(blocks_);
            blocks_ = next;
        }
        free_ = nullptr;
        nextBlockSlots_ = kFirstBlockSlots;
    }

    Entry* head_ = nullptr;
    Entry* tail_ = nullptr;
    int count_ = 0;
    static constexpr int kFirstBlockSlots = 2;
    int blockSize_;
    int nextBlockSlots_ = kFirstBlockSlots;
    Slot* free_ = nullptr;
    Block* blocks_ = nullptr;
};

using CPtrList = CList<void*>;
using CStringList = CList<CString>;

// A list of typed pointers; the list does not own what they point to.
template <typename T>
using CTypedPtrList = CList<T*>;
