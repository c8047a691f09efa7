// VDI import and export on a generated text of about 50 MB (one character
// per byte, as the family's code page 1252 files; QX_VDI_BENCH_MB changes
// the size). The import runs on the text in memory and on the same text
// written as a code page 1252 file, read with qx::ReadVdiFile. Bytes are
// characters of the VDI text; items are records.
//
// The generated file is a plausible catalogue: products with articles, each
// with sizes and their ratings (the bulk of the records, as in real files),
// connection data, an 800 record with its fixed-width field, accessories and
// documents. Field texts hold umlauts, colons and escaped semicolons, so
// that the rewriting does its real work.
//
// The peers split the same text by hand: into records of two strings (type
// and the rest of the line: what the tree holds, without the nodes), and
// into one string per field; the file peer reads the file's bytes and
// splits them into two wide strings a record. The ratios import / peer show
// the price of the tree.
//
// Memory: the counter peak/file is the peak resident memory one run adds
// (the tree with everything the run holds at its worst moment) over the
// file's size in bytes. It is measured once per benchmark in a child
// process, which gives its free heap back first and resets the peak
// (/proc/self/clear_refs), so that the benchmark's earlier runs neither
// hide nor add memory.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/message_box.h"
#include "qx/tree/vdi.h"

namespace {

size_t TargetChars() {
    const char* mb = std::getenv("QX_VDI_BENCH_MB");
    const long value = mb ? std::strtol(mb, nullptr, 10) : 0;
    return static_cast<size_t>(value > 0 ? value : 50) * 1000 * 1000;
}

void Line(std::wstring& out, const std::wstring& record) {
    out += record;
    out += L"\r\n";
}

void AppendArticle(std::wstring& out, int product, int article) {
    Line(out, qx::Format(L"110;%d;MH-%d-%d;Flachheizk\u00F6rper Typ %d;Profiliert;RAL 9016;", article, product,
                         article, 10 + article % 23));
    for (int size = 1; size <= 6; ++size) {
        Line(out, qx::Format(L"200;%d;%d;%d;%d;Bauh\u00F6he %d mm;", size, 10 + article % 23, 300 + 100 * size,
                             400 + 100 * (article % 10), 300 + 100 * size));
        for (int rating = 1; rating <= 8; ++rating) {
            Line(out, qx::Format(L"250;%d;%d/%d/20;%d;1,%d;Normw\u00E4rmeleistung: EN 442;", rating, 75 - 5 * rating,
                                 65 - 5 * rating, 200 + 37 * size + 11 * rating, 20 + rating));
        }
    }
    Line(out, L"600;1;Ventileinsatz;1/2\";voreinstellbar;");
    Line(out, L"610;1;Kv 0,05\\;0,10\\;0,15;");
    Line(out, L"700;1;Anschluss;");
    Line(out, L"710.01;1;unten rechts;");
    Line(out, L"710.11;1;Abstand 50 mm;");
    Line(out, L"710.12;1;Ansicht: von vorn;");
    Line(out, qx::Format(L"800;1;001002000000003001000000002000000001000000%03d00500015;Anschlussvariante: Mitte;",
                         article % 1000));
    Line(out, L"810;1;Blindstopfen;");
    Line(out, L"820;1;Entl\u00FCftung;");
}

const std::wstring& Text() {
    static const std::wstring text = [] {
        const size_t target = TargetChars();
        std::wstring out;
        out.reserve(target + 4096);
        Line(out, L"010;3;20240315;1;Muster Heiztechnik GmbH;");
        for (int product = 1; out.size() < target; ++product) {
            Line(out, qx::Format(L"100;%d;Muster Heiztechnik GmbH;Industriestra\u00DFe %d;12345 Musterstadt;DE;",
                                 product, product % 200));
            for (int article = 1; article <= 20 && out.size() < target; ++article) {
                AppendArticle(out, product, article);
            }
        }
        Line(out, L"900;1;Montage;");
        Line(out, L"920;1;Wandkonsole;2 St\u00FCck je Heizk\u00F6rper;");
        Line(out, L"970;1;Dokumente;");
        Line(out, L"970.02;1;PDF;Montageanleitung;montage.pdf;");
        Line(out, L"970.41;1;de;");
        return out;
    }();
    return text;
}

// The text as a code page 1252 file in the temporary folder, written once
// and removed when the program ends.
class VdiFile {
public:
    VdiFile()
        : path_(std::filesystem::temp_directory_path() / ("qx-vdi-bench-" + std::to_string(getpid()) + ".vdi")) {
        const std::string bytes = qx::WideToCodePage(Text(), 1252);
        size_ = bytes.size();
        if (!qx::WriteFileAtomically(path_.wstring(), bytes)) std::fprintf(stderr, "cannot write %s\n", path_.c_str());
    }
    ~VdiFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    VdiFile(const VdiFile&) = delete;
    VdiFile& operator=(const VdiFile&) = delete;

    std::wstring Path() const { return path_.wstring(); }
    size_t Size() const { return size_; }

private:
    std::filesystem::path path_;
    size_t size_ = 0;
};

const VdiFile& File() {
    static const VdiFile file;
    return file;
}

// A "Vm...:" line of /proc/self/status in kB; -1 when it is missing.
long StatusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    }
    return -1;
}

// The resident memory *work* adds at its peak, in bytes, measured in a child
// process; negative when it could not be measured.
template <typename Work>
double PeakBytesOf(Work work) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        malloc_trim(0);  // free heap pages the parent left would hide what the work takes
        const long before = StatusKb("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        work();
        const long delta = StatusKb("VmHWM:") - before;
        const ssize_t written = write(fds[1], &delta, sizeof delta);
        _exit(written == sizeof delta && before >= 0 ? 0 : 1);
    }
    close(fds[1]);
    long delta = -1;
    const bool got = child > 0 && read(fds[0], &delta, sizeof delta) == sizeof delta;
    close(fds[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? static_cast<double>(delta) * 1024 : -1;
}

void SetPeakCounter(benchmark::State& state, double peakBytes) {
    if (peakBytes < 0) {
        state.SkipWithError("peak memory could not be measured");
        return;
    }
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["peak/file"] = peakBytes / static_cast<double>(File().Size());
}

size_t RecordCount(const std::wstring& text) {
    size_t records = 0;
    for (wchar_t c : text) records += c == L'\n';
    return records;
}

void SetThroughput(benchmark::State& state) {
    const std::wstring& text = Text();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(RecordCount(text)));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

// Unknown records would stop the import with a message; the generated text
// has none, and a message would show up as an error here.
void CheckImported(benchmark::State& state, const CNode* root, int messages) {
    if (!root || messages != 0) state.SkipWithError("the generated text did not import cleanly");
}

void BM_ImportVdi(benchmark::State& state) {
    const std::wstring& text = Text();
    int messages = 0;
    qx::ScopedMessageHandler count([&messages](const wchar_t*, const wchar_t*, unsigned) {
        ++messages;
        return IDOK;
    });
    delete qx::ImportVdi(text.c_str());  // warm-up: the first run pays for fresh heap pages
    for (auto _ : state) {
        std::unique_ptr<CNode> root(qx::ImportVdi(text.c_str()));
        CheckImported(state, root.get(), messages);
        state.PauseTiming();  // deleting the tree is not the import's cost
        root.reset();
        state.ResumeTiming();
    }
    SetThroughput(state);
    SetPeakCounter(state, PeakBytesOf([&text] { delete qx::ImportVdi(text.c_str()); }));
}

// The file read and imported as the file layer does for a ".vdi" path.
CNode* ReadFile() {
    qx::VdiImportOutcome outcome;
    return qx::ReadVdiFile(File().Path().c_str(), false, 1252, qx::VdiImportOptions(), outcome);
}

void BM_ReadVdiFile(benchmark::State& state) {
    delete ReadFile();  // warm-up, as for the import
    for (auto _ : state) {
        std::unique_ptr<CNode> root(ReadFile());
        CheckImported(state, root.get(), 0);
        state.PauseTiming();
        root.reset();
        state.ResumeTiming();
    }
    SetThroughput(state);
    SetPeakCounter(state, PeakBytesOf([] { delete ReadFile(); }));
}

void BM_ExportVdi(benchmark::State& state) {
    const std::wstring& text = Text();
    std::unique_ptr<CNode> root(qx::ImportVdi(text.c_str()));
    CheckImported(state, root.get(), 0);
    (void)qx::ExportVdi(*root);  // warm-up, as for the import
    for (auto _ : state) {
        CString exported = qx::ExportVdi(*root);
        benchmark::DoNotOptimize(exported.GetString());
        if (exported.GetLength() != static_cast<int>(text.size())) state.SkipWithError("export differs in size");
    }
    SetThroughput(state);
}

// The peers' line split: *line* gets the next line, *rest* moves past its
// line end.
std::wstring_view NextLine(std::wstring_view& rest) {
    const size_t end = rest.find_first_of(L"\r\n");
    const std::wstring_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end);
    while (!rest.empty() && (rest.front() == L'\r' || rest.front() == L'\n')) rest.remove_prefix(1);
    return line;
}

// Times *run* (which returns the records it made, deleted outside the
// timing) and measures its peak memory.
template <typename Run>
void RunPeer(benchmark::State& state, Run run) {
    run();  // warm-up, as for the import
    for (auto _ : state) {
        auto records = run();
        benchmark::DoNotOptimize(records.data());
        state.PauseTiming();
        records = {};
        state.ResumeTiming();
    }
    SetThroughput(state);
    SetPeakCounter(state, PeakBytesOf([&run] { run(); }));
}

template <typename Record, typename Split>
void RunTextPeer(benchmark::State& state, Split split) {
    const std::wstring& text = Text();
    RunPeer(state, [&text, &split] {
        std::vector<Record> records;
        for (std::wstring_view rest(text); !rest.empty();) split(NextLine(rest), records.emplace_back());
        return records;
    });
}

using TwoStrings = std::pair<std::wstring, std::wstring>;

// Each record kept as its type and the rest of its line: two strings a
// record, about what the tree holds (a name and a value) without the nodes.
void SplitRecord(std::wstring_view line, TwoStrings& record) {
    const size_t semicolon = line.find(L';');
    record.first = line.substr(0, semicolon);
    if (semicolon != std::wstring_view::npos) record.second = line.substr(semicolon + 1);
}

void BM_Peer_SplitRecords(benchmark::State& state) { RunTextPeer<TwoStrings>(state, SplitRecord); }

// The file's bytes read whole and split into records of two strings, each
// line widened on its own (a byte is its character, as code page 1252 has
// it for every character the generated text holds).
void BM_Peer_ReadSplitRecords(benchmark::State& state) {
    const std::wstring path = File().Path();
    RunPeer(state, [&path] {
        std::vector<TwoStrings> records;
        const std::optional<std::string> bytes = qx::ReadWholeFile(path);
        if (!bytes) return records;
        auto widen = [](std::string_view piece, std::wstring& out) {
            out.resize(piece.size());
            for (size_t i = 0; i < piece.size(); ++i) out[i] = static_cast<unsigned char>(piece[i]);
        };
        for (std::string_view rest(*bytes); !rest.empty();) {
            const size_t end = rest.find_first_of("\r\n");
            const std::string_view line = rest.substr(0, end);
            const size_t semicolon = line.find(';');
            TwoStrings& record = records.emplace_back();
            widen(line.substr(0, semicolon), record.first);
            if (semicolon != std::string_view::npos) widen(line.substr(semicolon + 1), record.second);
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
            while (!rest.empty() && (rest.front() == '\r' || rest.front() == '\n')) rest.remove_prefix(1);
        }
        return records;
    });
}

// Each field its own string, as a hand-written reader that splits at every
// semicolon keeps them.
void BM_Peer_SplitFields(benchmark::State& state) {
    RunTextPeer<std::vector<std::wstring>>(state, [](std::wstring_view line, auto& fields) {
        for (size_t start = 0;;) {
            const size_t semicolon = line.find(L';', start);
            fields.emplace_back(line.substr(start, semicolon - start));
            if (semicolon == std::wstring_view::npos) break;
            start = semicolon + 1;
        }
    });
}

}  // namespace

BENCHMARK(BM_ImportVdi)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadVdiFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportVdi)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Peer_SplitRecords)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Peer_ReadSplitRecords)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Peer_SplitFields)->Unit(benchmark::kMillisecond)->UseRealTime();
