// qxtool export list and export parts-list: the template-driven exports
// (the spreadsheet list, the text and the spreadsheet parts lists) from text
// files of rows and articles, for shell scripts and for looking at a
// template's result.
#include <array>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "qx/export/excel_list_export.h"
#include "qx/export/st_list_export.h"
#include "qx/export/text_st_list_export.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/text/text_files.h"
#include "qx/tree/leaf.h"
#include "qx/ui/wait_message.h"
#include "tools/qxtool/command.h"
#include "tools/qxtool/tree_loading.h"

namespace qxtool {
namespace {

constexpr int kProgressBar = 1000;  // the progress window's bar

// Splits *line* at tabs.
std::vector<std::wstring> Fields(std::wstring_view line) {
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find(L'\t', start);
        fields.emplace_back(line.substr(start, tab == std::wstring_view::npos ? std::wstring_view::npos : tab - start));
        if (tab == std::wstring_view::npos) return fields;
        start = tab + 1;
    }
}

// "\n" in a field is a line feed, "\\" a backslash.
std::wstring Unescaped(const std::wstring& field) {
    std::wstring text;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == L'\\' && i + 1 < field.size() && (field[i + 1] == L'n' || field[i + 1] == L'\\')) {
            text += field[i + 1] == L'n' ? L'\n' : L'\\';
            ++i;
        } else {
            text += field[i];
        }
    }
    return text;
}

// A field that is a whole decimal number becomes a double, any other a text.
CExcelCell* MakeCell(const std::wstring& name, const std::wstring& field) {
    if (!field.empty() && field.find_first_not_of(L"0123456789.-+eE") == std::wstring::npos) {
        wchar_t* end = nullptr;
        const double number = std::wcstod(field.c_str(), &end);
        if (end == field.c_str() + field.size()) return new CExcelCell(CString(name.c_str()), number);
    }
    return new CExcelCell(CString(name.c_str()), CString(Unescaped(field).c_str()));
}

// The lines of the UTF-8 text file *path* (a mark is skipped).
std::vector<std::wstring> ReadLines(const std::string& path) {
    std::optional<std::string> bytes = qx::ReadWholeFile(Wide(path));
    if (!bytes) throw Failure("cannot read " + path);
    if (bytes->starts_with("\xEF\xBB\xBF")) bytes->erase(0, 3);
    const std::wstring text = qx::Utf8ToWide(*bytes);
    std::vector<std::wstring_view> views;
    qx::SplitTextLines(text, views);
    return std::vector<std::wstring>(views.begin(), views.end());
}

void ReadRows(const std::string& path, CExcelRowArray& rows) {
    const std::vector<std::wstring> lines = ReadLines(path);
    if (lines.empty() || lines[0].empty()) throw Failure(path + ": the first line must name the columns");
    const std::vector<std::wstring> names = Fields(lines[0]);
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::wstring_view line = lines[i];
        auto* row = new CExcelRow;
        rows.Add(row);
        if (line == L"#page") {
            row->m_bNewPage = true;
        } else if (line == L"#empty") {
            row->m_bEmptyLine = true;
        } else if (line.substr(0, 7) == L"#table ") {
            row->m_bNewTable = true;
            row->m_tableName = CString(std::wstring(line.substr(7)).c_str());
        } else {
            const std::vector<std::wstring> fields = Fields(line);
            for (size_t c = 0; c < fields.size() && c < names.size(); ++c) row->append(MakeCell(names[c], fields[c]));
        }
    }
}

// The progress window's bar, which shows the window once the export has
// taken a second: short lists write no progress at all.
class DelayedProgress : public CProgressCtrl {
public:
    explicit DelayedProgress(CWaitMessage& window) : window_(window) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (!shown_ && std::chrono::steady_clock::now() - start_ > std::chrono::seconds(1)) {
            shown_ = true;
            window_.Show();
        }
        return CProgressCtrl::WindowProc(message, wParam, lParam);
    }

private:
    CWaitMessage& window_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool shown_ = false;
};

// "--project NR;NAME;DATE": the project's number, name and date.
std::array<CString, 3> ParseProject(const std::string& text) {
    std::vector<std::wstring> parts;
    const std::wstring wide = Wide(text);
    size_t start = 0;
    for (size_t semicolon; (semicolon = wide.find(L';', start)) != std::wstring::npos; start = semicolon + 1) {
        parts.push_back(wide.substr(start, semicolon - start));
    }
    parts.push_back(wide.substr(start));
    if (parts.size() != 3) throw UsageError("--project needs NR;NAME;DATE");
    return {CString(parts[0]), CString(parts[1]), CString(parts[2])};
}

// The progress window and its bar, shown when the export takes a second and
// standard error is a terminal.
struct ExportProgress {
    CWaitMessage window;
    DelayedProgress bar{window};
    bool shown = qx::StandardErrorIsTerminal() && window.Create() && bar.SubclassDlgItem(kProgressBar, &window);

    ExportProgress() {
        if (shown) window.SetText(L"Export");
    }
    ~ExportProgress() {
        if (shown) window.DestroyWindow();
    }
    CProgressCtrl* Bar() { return shown ? &bar : nullptr; }
};

int ExportList(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string formatTemplate, baseTemplate, table = "Datenliste", projectText;
    if (!TakeOption(args, "--format-template", formatTemplate)) throw UsageError("needs --format-template");
    if (!TakeOption(args, "--base-template", baseTemplate)) throw UsageError("needs --base-template");
    TakeOption(args, "--table", table);
    const bool hasProject = TakeOption(args, "--project", projectText);
    const bool append = TakeFlag(args, "--append");
    long pages = 0;
    const bool hasPages = TakeNumberOption(args, "--page-count", 0, 1000000, pages);
    if (hasPages && !append) throw UsageError("--page-count goes with --append");
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects ROWS and OUTPUT");

    CExcelProjectInfo project;
    if (hasProject) {
        const std::array<CString, 3> parts = ParseProject(projectText);
        project = CExcelProjectInfo{parts[0], parts[1], parts[2]};
    }
    CExcelRowArray rows;
    ReadRows(args[0], rows);

    ExportProgress progress;
    int pageCount = static_cast<int>(pages);
    CExcelListExport exporter;
    const bool written = exporter.doExport(rows, CString(Wide(args[1]).c_str()), CString(Wide(table).c_str()),
                                           CString(Wide(formatTemplate).c_str()), CString(Wide(baseTemplate).c_str()),
                                           pageCount, hasProject ? &project : nullptr, progress.Bar(), append);
    if (!written) return kExitFailure;
    std::printf("%d\n", pageCount - static_cast<int>(pages));
    return kExitOk;
}

// The columns of an article file and the leaves of an article node.
constexpr std::array<const wchar_t*, 7> kArticleFields = {L"POS", L"MENGE", L"EINHEIT", L"TEXT", L"ARTNR", L"PREIS",
                                                          L"WAEHRUNG"};

int ArticleField(std::wstring name) {
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    for (size_t i = 0; i < kArticleFields.size(); ++i) {
        if (name == kArticleFields[i]) return static_cast<int>(i);
    }
    return -1;
}

// A number of an article (a decimal comma counts as a point); an empty
// field is none (-1).
double ArticleNumber(std::wstring text, bool integer, const std::string& where) {
    if (text.empty()) return -1;
    for (wchar_t& c : text) c = c == L',' ? L'.' : c;
    const wchar_t* end = nullptr;
    const double number = integer ? static_cast<double>(qx::ParseInteger(text.c_str(), &end)) : qx::ParseDouble(text.c_str(), &end);
    if (end != text.c_str() + text.size() || (integer && (number < -1 || number > 2147483647.0))) {
        throw Failure(where + ": \"" + qx::WideToUtf8(text) + "\" is not a " + (integer ? "position" : "number"));
    }
    return number;
}

void SetArticleField(CArticle& article, int field, const std::wstring& value, const std::string& where) {
    switch (field) {
        case 0: article.m_nPos = static_cast<int>(ArticleNumber(value, true, where)); break;
        case 1: article.m_dQuantity = ArticleNumber(value, false, where); break;
        case 2: article.m_unit = CString(value); break;
        case 3: article.m_text = CString(value); break;
        case 4: article.m_articleNo = CString(value); break;
        case 5: article.m_dPrice = ArticleNumber(value, false, where); break;
        default: article.m_currency = CString(value); break;
    }
}

// Whether *line* is the first line of an article file: fields separated by
// tabs, or a single field name.
bool IsArticleHeader(const std::wstring& line) { return line.find(L'\t') != std::wstring::npos || ArticleField(line) >= 0; }

// The articles of *path*: an article file, or a tree document whose top
// node's children are the articles, with leaves named as the columns.
std::vector<std::unique_ptr<CArticle>> ReadArticles(const std::string& path) {
    std::vector<std::unique_ptr<CArticle>> articles;
    const std::vector<std::wstring> lines = ReadLines(path);
    if (!lines.empty() && IsArticleHeader(lines[0])) {
        std::vector<int> fields;
        for (const std::wstring& name : Fields(lines[0])) {
            fields.push_back(ArticleField(name));
            if (fields.back() < 0) throw Failure(path + ": unknown column \"" + qx::WideToUtf8(name) + "\"");
        }
        for (size_t i = 1; i < lines.size(); ++i) {
            if (lines[i].empty()) continue;
            auto& article = articles.emplace_back(std::make_unique<CArticle>());
            const std::vector<std::wstring> values = Fields(lines[i]);
            const std::string where = path + " line " + std::to_string(i + 1);
            for (size_t c = 0; c < values.size() && c < fields.size(); ++c) {
                SetArticleField(*article, fields[c], Unescaped(values[c]), where);
            }
        }
        return articles;
    }
    LoadedTree tree;
    try {
        tree = LoadTree(path);
    } catch (const Failure& e) {
        throw Failure(path + " is neither an article list (columns separated by tabs) nor a tree document: " + e.what());
    }
    for (POSITION pos = tree.root->GetFirstChildPos(); pos;) {
        CNode* node = tree.root->GetNextChild(pos);
        auto& article = articles.emplace_back(std::make_unique<CArticle>());
        const std::string where = path + " node " + std::to_string(articles.size());
        for (size_t field = 0; field < kArticleFields.size(); ++field) {
            if (CLeaf* leaf = node->FindLeaf(kArticleFields[field], nullptr, true)) {
                SetArticleField(*article, static_cast<int>(field), leaf->GetOnlyValue().str(), where);
            }
        }
    }
    return articles;
}

int ExportPartsList(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string textTemplate, formatTemplate, baseTemplate, projectText;
    const bool text = TakeOption(args, "--template", textTemplate);
    const bool sheet = TakeOption(args, "--format-template", formatTemplate);
    const bool base = TakeOption(args, "--base-template", baseTemplate);
    const bool hasProject = TakeOption(args, "--project", projectText);
    RejectUnknownOptions(args);
    if (args.size() != 2) throw UsageError("expects ARTICLES and OUTPUT");
    if (text == sheet) throw UsageError("needs either --template or --format-template");
    if (sheet != base) throw UsageError("--format-template goes with --base-template");

    const std::vector<std::unique_ptr<CArticle>> articles = ReadArticles(args[0]);
    CStList list;
    for (const auto& article : articles) list.AddTail(article.get());
    CProjectInfo project;
    if (hasProject) {
        const std::array<CString, 3> parts = ParseProject(projectText);
        project.m_projectNo = parts[0];
        project.m_projectName = parts[1];
        project.m_projectDate = parts[2];
    }
    const CString output(Wide(args[1]));
    int written = 0;
    if (text) {
        CTextStListExport exporter;
        written = exporter.CreateStList(list, output, CString(Wide(textTemplate)), hasProject ? &project : nullptr);
    } else {
        ExportProgress progress;
        CStListExport exporter;
        written = exporter.CreateStList(list, output, CString(Wide(formatTemplate)), CString(Wide(baseTemplate)),
                                        hasProject ? &project : nullptr, progress.Bar());
    }
    if (!written) throw Failure(args[1] + " was not written");
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"export list",
     "ROWS OUTPUT --format-template T --base-template B [--table NAME] [--project NR;NAME;DATE] [--append --page-count N]",
     "write a list of rows into a spreadsheet laid out by a format template",
     "ROWS is UTF-8 text: a first line with the column identifiers separated by\n"
     "tabs, then one row per line (cells separated by tabs; \\n in a cell is a\n"
     "line feed; a number becomes a double, anything else a text), and the lines\n"
     "#page, #empty and #table NAME for a page break, an empty line and a new\n"
     "table. T holds the tables KopfSeite1, KopfFolgende, Fussleiste, Variablen\n"
     "and SpaltenInhalt; the output is a workbook made from B (.xlsx, or .xls\n"
     "through LibreOffice). --append adds to OUTPUT written before with N pages\n"
     "(its tables are kept when N is above 1). Prints the pages the export\n"
     "counts (a new table starts the count again, so: those of the last table).\n"
     "The export's messages go through the UI host (QX_UI).\n"
     "  qxtool export list rows.txt list.xlsx --format-template list_format.xlsx \\\n"
     "      --base-template list_base.xlsx --project '4711;Schule;10.12.2026'",
     ExportList},
    {"export parts-list",
     "ARTICLES OUTPUT (--template T | --format-template T --base-template B) [--project NR;NAME;DATE]",
     "write a parts list as text, or into a spreadsheet, laid out by a template",
     "ARTICLES is UTF-8 text: a first line naming the columns, separated by tabs,\n"
     "from POS MENGE EINHEIT TEXT ARTNR PREIS WAEHRUNG (any order, any subset), then\n"
     "one article per line (\\n in a field is a line feed; an empty field is none).\n"
     "Or a tree document whose top node's children are the articles, with leaves\n"
     "of those names. With --template T the list is a text file laid out by the\n"
     "text template T (blocks #TOP1, #TOPN, #BOTTOM, #OUTPUT, #VAR), written in T's\n"
     "encoding; with --format-template T and --base-template B a workbook made from\n"
     "B, whose table Stueckliste is filled and paged as T's tables KopfSeite1,\n"
     "KopfFolgende, Fussleiste, Variablen and SpaltenInhalt say. The export's\n"
     "messages and questions go through the UI host (QX_UI).\n"
     "  qxtool export parts-list articles.txt list.txt --template parts_list_template.txt\n"
     "  qxtool export parts-list articles.txt list.xlsx --format-template parts_list_format.xlsx \\\n"
     "      --base-template parts_list_base.xlsx --project '4711;Schule;10.12.2026'",
     ExportPartsList},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
