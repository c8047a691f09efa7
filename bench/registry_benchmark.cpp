// The registry's file store: 10,000 reads and 10,000 writes of values in a
// store of 1,000 values, beside the plain file operations the store is built
// on, in the same run: reading the whole file, and replacing it atomically
// with the same bytes.
//
// A read costs one stat (has another process changed the file?) and a hash
// look-up; a write takes the lock, serialises the keys and replaces the file
// durably, so its cost is mostly the two flushes of the atomic replace. The
// files live in the temporary folder ($TMPDIR), which decides that part.
// Times are wall-clock: a write's flushes wait for the disk, not the CPU.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "qx/platform/os/file_system.h"
#include "qx/platform/os/native_path.h"
#include "qx/platform/os/registry_file_store.h"

namespace {

constexpr int kKeys = 10;
constexpr int kValuesPerKey = 100;
constexpr int kOperations = 10'000;

class BenchRegistry {
public:
    static BenchRegistry& Get() {
        static BenchRegistry registry;
        return registry;
    }

    ~BenchRegistry() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    qx::FileRegistryStore& store() { return store_; }
    const std::wstring& userFile() const { return userFile_; }
    static std::wstring Key(int i) { return L"Software\\Bench\\Key" + std::to_wstring(i % kKeys); }
    static std::wstring Name(int i) { return L"Value" + std::to_wstring(i % kValuesPerKey); }

private:
    BenchRegistry()
        : path_(std::filesystem::temp_directory_path() / "qxbench-registry"),
          userFile_(qx::FromNativePath((path_ / "user.reg").string())),
          store_(Files(path_)) {
        std::filesystem::remove_all(path_);
        std::vector<qx::RegEdit> edits;
        for (int k = 0; k < kKeys; ++k)
            for (int v = 0; v < kValuesPerKey; ++v)
                edits.push_back({qx::RegEdit::Op::SetValue, qx::RegRoot::CurrentUser, Key(k), Name(v),
                                 qx::RegValue::Text(L"C:\\Program Files\\quOrix\\Data\\" + std::to_wstring(v))});
        store_.Apply(edits);
    }

    static qx::RegistryFiles Files(const std::filesystem::path& folder) {
        return {qx::FromNativePath((folder / "system.reg").string()), qx::FromNativePath((folder / "user.reg").string())};
    }

    std::filesystem::path path_;
    std::wstring userFile_;
    qx::FileRegistryStore store_;
};

void BM_RegistryRead(benchmark::State& state) {
    auto& registry = BenchRegistry::Get();
    int i = 0;
    for (auto _ : state) {
        auto value = registry.store().GetValue(qx::RegRoot::CurrentUser, BenchRegistry::Key(i), BenchRegistry::Name(i));
        benchmark::DoNotOptimize(value);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegistryRead)->Iterations(kOperations)->UseRealTime();

void BM_Peer_ReadWholeFile(benchmark::State& state) {
    auto& registry = BenchRegistry::Get();
    for (auto _ : state) {
        auto bytes = qx::ReadWholeFile(registry.userFile());
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Peer_ReadWholeFile)->Iterations(kOperations)->UseRealTime();

void BM_RegistryWrite(benchmark::State& state) {
    auto& registry = BenchRegistry::Get();
    int i = 0;
    for (auto _ : state) {
        registry.store().SetValue(qx::RegRoot::CurrentUser, BenchRegistry::Key(i), BenchRegistry::Name(i),
                                  qx::RegValue::Number(static_cast<unsigned>(i)));
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegistryWrite)->Iterations(kOperations)->UseRealTime();

void BM_Peer_WriteFileAtomically(benchmark::State& state) {
    auto& registry = BenchRegistry::Get();
    const std::string bytes = *qx::ReadWholeFile(registry.userFile());
    const std::wstring file = registry.userFile() + L".peer";
    for (auto _ : state) benchmark::DoNotOptimize(qx::WriteFileAtomically(file, bytes));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Peer_WriteFileAtomically)->Iterations(kOperations)->UseRealTime();

// A read right after another process replaced the file: the whole file is
// read and parsed again.
void BM_RegistryReadAfterChange(benchmark::State& state) {
    auto& registry = BenchRegistry::Get();
    qx::FileRegistryStore other(qx::RegistryFiles{L"", registry.userFile()});
    const std::string bytes = *qx::ReadWholeFile(registry.userFile());
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        qx::WriteFileAtomically(registry.userFile(), bytes);
        state.ResumeTiming();
        auto value = other.GetValue(qx::RegRoot::CurrentUser, BenchRegistry::Key(i), BenchRegistry::Name(i));
        benchmark::DoNotOptimize(value);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegistryReadAfterChange)->Iterations(200)->UseRealTime();

}  // namespace
