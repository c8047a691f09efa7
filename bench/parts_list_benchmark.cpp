// The parts lists on 100,000 articles: the text list through the example
// text template against writing the same lines with fprintf (MB/s of
// output), and the spreadsheet list through the example workbooks (articles
// per second, saving included).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "qx/export/st_list_export.h"
#include "qx/export/text_st_list_export.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/wnd/message_box.h"

namespace {

constexpr int kArticles = 100000;
const std::filesystem::path kExamples = std::filesystem::path(QX_EXAMPLES_DIR) / "export";

const wchar_t* const kTexts[] = {
    L"Kugelhahn DN 20 mit Entleerung",
    L"Plattenheizkörper Typ 22, 600 x 1200 mm\nmit seitlichem Anschluss\nund Befestigungssatz",
    L"Thermostatventil mit Voreinstellung",
    L"Kupferrohr 18 x 1 mm\nStangenware 5 m",
};

class Articles {
public:
    Articles() : articles_(kArticles) {
        for (int i = 0; i < kArticles; ++i) {
            CArticle& a = articles_[static_cast<size_t>(i)];
            a.m_nPos = i + 1;
            a.m_dQuantity = i % 7 + 1;
            a.m_unit = i % 4 == 3 ? L"m" : L"Stk";
            a.m_text = kTexts[i % 4];
            a.m_articleNo = CString(std::to_wstring(4000000 + i));
            a.m_dPrice = (i % 97) * 3.25 + 10;
            a.m_currency = L"EUR";
            list_.AddTail(&a);
        }
    }
    CStList& List() { return list_; }
    const std::vector<CArticle>& All() const { return articles_; }

private:
    std::vector<CArticle> articles_;
    CStList list_;
};

Articles& TheArticles() {
    static Articles articles;
    return articles;
}

std::filesystem::path Folder() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "qx-parts-list-bench";
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void BM_TextStList(benchmark::State& state) {
    const qx::ScopedMessageHandler quiet([](const wchar_t*, const wchar_t*, unsigned) { return IDOK; });
    const std::filesystem::path output = Folder() / "parts_list.txt";
    const CString templateFile((kExamples / "parts_list_template.txt").wstring());
    CProjectInfo project;
    for (auto _ : state) {
        CTextStListExport exporter;
        if (!exporter.CreateStList(TheArticles().List(), CString(output.wstring()), templateFile, &project)) {
            state.SkipWithError("the text list was not written");
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(output)));
    state.counters["articles"] = kArticles;
}
BENCHMARK(BM_TextStList)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same lines, made by the text list once, written with fprintf (and
// flushed to disk, as the list is).
void BM_Peer_FprintfSameLines(benchmark::State& state) {
    const std::filesystem::path made = Folder() / "parts_list.txt";
    {
        CTextStListExport exporter;
        CProjectInfo project;
        exporter.CreateStList(TheArticles().List(), CString(made.wstring()),
                              CString((kExamples / "parts_list_template.txt").wstring()), &project);
    }
    std::vector<std::string> lines;
    std::istringstream text(ReadFile(made));
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    const std::string output = (Folder() / "peer.txt").string();
    for (auto _ : state) {
        FILE* file = std::fopen(output.c_str(), "wb");
        for (const std::string& line : lines) std::fprintf(file, "%s\n", line.c_str());
        std::fflush(file);
        fsync(fileno(file));
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(output)));
}
BENCHMARK(BM_Peer_FprintfSameLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// A hand-written list: the article fields formatted by fprintf into the
// columns of the example template, without pages.
void BM_Peer_FprintfFields(benchmark::State& state) {
    std::vector<std::vector<std::string>> texts;
    for (const CArticle& a : TheArticles().All()) {
        std::vector<std::string> lines;
        std::istringstream text(qx::WideToUtf8(a.m_text.str()));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        texts.push_back(lines);
    }
    const std::string output = (Folder() / "peer.txt").string();
    for (auto _ : state) {
        FILE* file = std::fopen(output.c_str(), "wb");
        for (size_t i = 0; i < texts.size(); ++i) {
            const CArticle& a = TheArticles().All()[i];
            std::fprintf(file, "%6d%9.2f %-5s %-40s %-12s %9.2f %s\n", a.m_nPos, a.m_dQuantity,
                         qx::WideToUtf8(a.m_unit.str()).c_str(), texts[i][0].c_str(),
                         qx::WideToUtf8(a.m_articleNo.str()).c_str(), a.m_dPrice, "EUR");
            for (size_t line = 1; line < texts[i].size(); ++line) std::fprintf(file, "%22s%s\n", "", texts[i][line].c_str());
            std::fprintf(file, "\n");
        }
        std::fflush(file);
        fsync(fileno(file));
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(output)));
}
BENCHMARK(BM_Peer_FprintfFields)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SheetStList(benchmark::State& state) {
    const qx::ScopedMessageHandler quiet([](const wchar_t*, const wchar_t*, unsigned) { return IDOK; });
    const std::filesystem::path output = Folder() / "parts_list.xlsx";
    for (auto _ : state) {
        CStListExport exporter;
        if (!exporter.CreateStList(TheArticles().List(), CString(output.wstring()),
                                   CString((kExamples / "parts_list_format.xlsx").wstring()),
                                   CString((kExamples / "parts_list_base.xlsx").wstring()), nullptr, nullptr)) {
            state.SkipWithError("the spreadsheet list was not written");
        }
    }
    state.SetItemsProcessed(state.iterations() * kArticles);
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(output)) / 1e6;
}
BENCHMARK(BM_SheetStList)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
