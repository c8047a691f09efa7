// The table of the process's temporary files, and their removal when a signal
// ends the process.
//
// A signal handler may run at any instruction of the thread it interrupts,
// and on another thread while this one changes the table, so the handler
// reads only atomics: slots holding pointers to entries that are never
// changed once published. Slots come in chunks that are never freed. An
// entry taken out of its slot is freed unless a removal has begun, in which
// case it is kept (a handler may be reading it); the process is ending then.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "qx/platform/os/internal/temporary_files.h"
#include "qx/platform/os/temporary_files.h"

namespace qx {
namespace {

struct Entry {
    pid_t owner;  // a child forked from the owner inherits the table
    int folderFd;
    std::string path;
};

using Slot = std::atomic<const Entry*>;
static_assert(Slot::is_always_lock_free, "a signal handler reads the slots");

constexpr size_t kChunkSlots = 1024;
constexpr size_t kMaxChunks = 4096;  // some four million files at once

std::atomic<bool> g_removing{false};

class Table {
public:
    void List(std::uint64_t number, int folderFd, std::string path) {
        auto entry = std::make_unique<Entry>(Entry{::getpid(), folderFd, std::move(path)});
        const std::lock_guard lock(mutex_);
        size_t index;
        if (!free_.empty()) {
            index = free_.back();
        } else {
            index = used_;
            const size_t chunk = index / kChunkSlots;
            // Beyond the last chunk a file is still removed by its owner and
            // by a later sweep, only not by a signal.
            if (chunk >= kMaxChunks) return;
            if (!chunks_[chunk].load()) chunks_[chunk].store(new Slot[kChunkSlots]());
        }
        slotOf_.emplace(number, index);
        if (!free_.empty()) free_.pop_back();
        else ++used_;
        SlotAt(index).store(entry.release());
    }

    void Unlist(std::uint64_t number) {
        const std::lock_guard lock(mutex_);
        const auto found = slotOf_.find(number);
        if (found == slotOf_.end()) return;
        const Entry* entry = SlotAt(found->second).exchange(nullptr);
        free_.push_back(found->second);
        slotOf_.erase(found);
        // The exchange comes before this test, and a removal sets the flag
        // before it reads a slot: either the removal sees the slot empty or
        // the entry is kept.
        if (g_removing.load()) kept_.push_back(entry);
        else delete entry;
    }

    bool IsListed(std::uint64_t number) {
        const std::lock_guard lock(mutex_);
        return slotOf_.count(number) != 0;
    }

    // Async-signal-safe: atomics, getpid and unlinkat only.
    void RemoveAll() noexcept {
        const pid_t self = ::getpid();
        for (const auto& chunk : chunks_) {
            Slot* slots = chunk.load();
            if (!slots) return;
            for (size_t i = 0; i < kChunkSlots; ++i) {
                const Entry* entry = slots[i].load();
                if (entry && entry->owner == self) ::unlinkat(entry->folderFd, entry->path.c_str(), 0);
            }
        }
    }

private:
    Slot& SlotAt(size_t index) { return chunks_[index / kChunkSlots].load()[index % kChunkSlots]; }

    std::array<std::atomic<Slot*>, kMaxChunks> chunks_{};
    std::mutex mutex_;
    size_t used_ = 0;
    std::vector<size_t> free_;
    std::unordered_map<std::uint64_t, size_t> slotOf_;
    std::vector<const Entry*> kept_;
};

// The table once it exists, for a handler that must not make it.
std::atomic<Table*> g_table{nullptr};

// Never destroyed: files are listed and unlisted until the process's last
// moment, static destructors included.
Table& TheTable() {
    static Table* table = [] {
        auto* made = new Table;
        g_table.store(made);
        return made;
    }();
    return *table;
}

constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGTERM};

void RemoveAndEnd(int signal) {
    RemoveTemporaryFiles();
    // The signal is blocked while its handler runs: raised again with the
    // default action, it ends the process when the handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

}  // namespace

namespace detail {

void ListTemporary(std::uint64_t number, int folderFd, std::string path) {
    TheTable().List(number, folderFd, std::move(path));
}

void UnlistTemporary(std::uint64_t number) { TheTable().Unlist(number); }

bool IsListedTemporary(std::uint64_t number) { return TheTable().IsListed(number); }

}  // namespace detail

void RemoveTemporaryFiles() noexcept {
    g_removing.store(true);
    if (Table* table = g_table.load()) table->RemoveAll();
}

void RemoveTemporaryFilesOnTermination() {
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    // A second signal waits until the first has done its work.
    for (const int signal : kEndingSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0) continue;
        const bool untouched = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
        if (untouched) ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace qx
