#include "qx/tree/internal/item_memory.h"

#include <atomic>
#include <new>

namespace qx::detail {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUseChunks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kUseChunks = false;
#else
constexpr bool kUseChunks = true;
#endif
#else
constexpr bool kUseChunks = true;
#endif

constexpr std::size_t kChunkBytes = 64 * 1024;
// Items are placed at multiples of 16 bytes, as operator new places them,
// each behind a header naming its chunk (null: its own heap block).
constexpr std::size_t kAlign = 16;
constexpr std::size_t kHeaderBytes = kAlign;
// Items larger than this (classes derived from the tree items) take their
// own heap block.
constexpr std::size_t kLargestCarved = kChunkBytes / 8;
// While a chunk is being filled its count carries this bias, so that items
// deleted meanwhile cannot bring it to zero; retiring the chunk replaces the
// bias by the number of items carved.
constexpr std::int64_t kFilling = std::int64_t{1} << 40;

constexpr std::size_t RoundUp(std::size_t bytes) { return (bytes + kAlign - 1) / kAlign * kAlign; }

struct alignas(kAlign) Header {
    ItemChunk* chunk;
};
static_assert(sizeof(Header) == kHeaderBytes);

thread_local ItemArena* currentArena = nullptr;

}  // namespace

struct alignas(kAlign) ItemChunk {
    std::atomic<std::int64_t> live{kFilling};
};

namespace {

constexpr std::size_t kFirstItemOffset = RoundUp(sizeof(ItemChunk));

void ReleaseItems(ItemChunk* chunk, std::int64_t count) {
    // The thread that brings the count to zero frees the chunk.
    if (chunk->live.fetch_sub(count, std::memory_order_acq_rel) == count) {
        chunk->~ItemChunk();
        ::operator delete(chunk);
    }
}

}  // namespace

ItemArena::ItemArena() : outer_(currentArena) { currentArena = this; }

ItemArena::~ItemArena() {
    Retire();
    currentArena = outer_;
}

void ItemArena::Retire() {
    if (!chunk_) return;
    ReleaseItems(chunk_, kFilling - carved_);
    chunk_ = nullptr;
}

void* ItemArena::Allocate(std::size_t bytes) {
    const std::size_t needed = kHeaderBytes + RoundUp(bytes);
    if (!chunk_ || used_ + needed > kChunkBytes) {
        Retire();
        chunk_ = new (::operator new(kChunkBytes)) ItemChunk;
        used_ = kFirstItemOffset;
        carved_ = 0;
    }
    auto* header = new (reinterpret_cast<char*>(chunk_) + used_) Header{chunk_};
    used_ += needed;
    ++carved_;
    return header + 1;
}

void* AllocateItem(std::size_t bytes) {
    if (kUseChunks && currentArena && bytes <= kLargestCarved) return currentArena->Allocate(bytes);
    auto* header = new (::operator new(kHeaderBytes + bytes)) Header{nullptr};
    return header + 1;
}

void FreeItem(void* item) noexcept {
    if (!item) return;
    Header* header = static_cast<Header*>(item) - 1;
    if (ItemChunk* chunk = header->chunk) {
        ReleaseItems(chunk, 1);
    } else {
        ::operator delete(header);
    }
}

}  // namespace qx::detail
