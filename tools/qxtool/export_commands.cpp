// qxtool export list: the template-driven spreadsheet list export from a
// text file of rows, for shell scripts and for looking at a template's
// result.
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "qx/export/excel_list_export.h"
#include "qx/platform/base/utf.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/text/text_files.h"
#include "qx/ui/wait_message.h"
#include "tools/qxtool/command.h"

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

void ReadRows(const std::string& path, CExcelRowArray& rows) {
    std::optional<std::string> bytes = qx::ReadWholeFile(Wide(path));
    if (!bytes) throw Failure("cannot read " + path);
    if (bytes->starts_with("\xEF\xBB\xBF")) bytes->erase(0, 3);
    const std::wstring text = qx::Utf8ToWide(*bytes);
    std::vector<std::wstring_view> lines;
    qx::SplitTextLines(text, lines);
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

CExcelProjectInfo ParseProject(const std::string& text) {
    const std::vector<std::wstring> parts = [&] {
        std::vector<std::wstring> split;
        std::wstring wide = Wide(text);
        size_t start = 0;
        for (size_t semicolon; (semicolon = wide.find(L';', start)) != std::wstring::npos; start = semicolon + 1) {
            split.push_back(wide.substr(start, semicolon - start));
        }
        split.push_back(wide.substr(start));
        return split;
    }();
    if (parts.size() != 3) throw UsageError("--project needs NR;NAME;DATE");
    return CExcelProjectInfo{CString(parts[0].c_str()), CString(parts[1].c_str()), CString(parts[2].c_str())};
}

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

    CExcelProjectInfo project = hasProject ? ParseProject(projectText) : CExcelProjectInfo();
    CExcelRowArray rows;
    ReadRows(args[0], rows);

    CWaitMessage window;
    DelayedProgress bar(window);
    const bool withProgress = qx::StandardErrorIsTerminal() && window.Create() && bar.SubclassDlgItem(kProgressBar, &window);
    if (withProgress) window.SetText(L"Export");
    int pageCount = static_cast<int>(pages);
    CExcelListExport exporter;
    const bool written = exporter.doExport(rows, CString(Wide(args[1]).c_str()), CString(Wide(table).c_str()),
                                           CString(Wide(formatTemplate).c_str()), CString(Wide(baseTemplate).c_str()),
                                           pageCount, hasProject ? &project : nullptr, withProgress ? &bar : nullptr,
                                           append);
    if (withProgress) window.DestroyWindow();
    if (!written) return kExitFailure;
    std::printf("%d\n", pageCount - static_cast<int>(pages));
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
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
