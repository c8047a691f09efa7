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
//
// The fresh-process cases start this program again (through
// QX_REGISTRY_BENCH_CHILD) on a large hive: 100,000 keys and a 10 MB binary
// value. The child loads the store and makes one query, or one change that
// it saves; the peer child only reads the file once. Each case reports the
// child's peak resident memory (VmHWM) beside the file's size.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
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

constexpr int kLargeKeys = 100'000;
constexpr size_t kLargeBlobBytes = 10'000'000;
constexpr const char* kChildVariable = "QX_REGISTRY_BENCH_CHILD";

std::wstring LargeKey(int i) { return L"Software\\Bench\\Group" + std::to_wstring(i % 100) + L"\\Key" + std::to_wstring(i); }

// The large hive, written once by the store itself.
class LargeHive {
public:
    static LargeHive& Get() {
        static LargeHive hive;
        return hive;
    }
    ~LargeHive() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::filesystem::path& file() const { return file_; }
    double megabytes() const { return static_cast<double>(std::filesystem::file_size(file_)) / 1e6; }

private:
    LargeHive() : folder_(std::filesystem::temp_directory_path() / "qxbench-registry-large"), file_(folder_ / "user.reg") {
        std::filesystem::remove_all(folder_);
        std::vector<qx::RegEdit> edits;
        std::string blob(kLargeBlobBytes, '\0');
        for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<char>(i * 7919 >> 3);
        edits.push_back({qx::RegEdit::Op::SetValue, qx::RegRoot::CurrentUser, L"Software\\Bench", L"Blob",
                         qx::RegValue::Bytes(std::move(blob))});
        for (int i = 0; i < kLargeKeys; ++i)
            edits.push_back({qx::RegEdit::Op::SetValue, qx::RegRoot::CurrentUser, LargeKey(i), L"Path",
                             qx::RegValue::Text(L"C:\\Data\\" + std::to_wstring(i))});
        qx::FileRegistryStore store(qx::RegistryFiles{L"", qx::FromNativePath(file_.string())});
        store.Apply(edits);
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

// What a child does: "read", "query" or "set", on the file named after it.
int RunChild(const char* job) {
    const char* colon = std::strchr(job, ':');
    if (!colon) return 2;
    const std::string what(job, colon);
    const std::wstring file = qx::FromNativePath(colon + 1);
    if (what == "read") return qx::ReadWholeFile(file) ? 0 : 1;
    qx::FileRegistryStore store(qx::RegistryFiles{L"", file});
    if (what == "query") {
        const auto value = store.GetValue(qx::RegRoot::CurrentUser, LargeKey(kLargeKeys / 2), L"Path");
        return value && value->AsText() == L"C:\\Data\\" + std::to_wstring(kLargeKeys / 2) ? 0 : 1;
    }
    // A number of its own, so that every child changes the file.
    if (what == "set")
        return store.SetValue(qx::RegRoot::CurrentUser, LargeKey(kLargeKeys / 2), L"Count",
                              qx::RegValue::Number(static_cast<unsigned>(getpid()))) ? 0 : 1;
    return 2;
}

// The process's peak resident memory in kB (VmHWM). Read in the child:
// the parent's wait4 figure would also count the parent's memory, which a
// spawned child shares until it starts the program.
long PeakResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::atol(line.c_str() + 6);
    return 0;
}

// Runs before main: a child started by the benchmark does its job, writes
// its peak memory to its standard output and ends.
const bool kIsChild = [] {
    const char* job = std::getenv(kChildVariable);
    if (!job) return false;
    const int result = RunChild(job);
    std::printf("%ld\n", PeakResidentKb());
    std::fflush(stdout);
    std::_Exit(result);
}();

void RunFreshProcess(benchmark::State& state, const char* what) {
    LargeHive& hive = LargeHive::Get();
    const std::string variable = std::string(kChildVariable) + "=" + what + ":" + hive.file().string();
    char* const argv[] = {const_cast<char*>("registry_benchmark"), nullptr};
    char* const envp[] = {const_cast<char*>(variable.c_str()), nullptr};
    long peakKb = 0;
    for (auto _ : state) {
        int out[2];
        if (::pipe(out) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, envp);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        std::string reported;
        char buffer[64];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) reported.append(buffer, static_cast<size_t>(n));
        ::close(out[0]);
        int status = 0;
        if (spawned != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child failed");
            return;
        }
        peakKb = std::max(peakKb, std::atol(reported.c_str()));
    }
    state.counters["peak_rss_mb"] = static_cast<double>(peakKb) / 1024.0;
    state.counters["file_mb"] = hive.megabytes();
    state.SetItemsProcessed(state.iterations());
}

void BM_FreshProcessQuery(benchmark::State& state) { RunFreshProcess(state, "query"); }
void BM_FreshProcessSet(benchmark::State& state) { RunFreshProcess(state, "set"); }
void BM_Peer_FreshProcessRead(benchmark::State& state) { RunFreshProcess(state, "read"); }
BENCHMARK(BM_Peer_FreshProcessRead)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FreshProcessQuery)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FreshProcessSet)->Iterations(5)->UseRealTime();

}  // namespace
