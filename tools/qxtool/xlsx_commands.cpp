// qxtool xlsx dump: the cells of a spreadsheet file as the workbook engine
// reads them, with their layout and formats on request.
#include <charconv>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/sheet/workbook.h"
#include "tools/qxtool/command.h"

namespace qxtool {
namespace {

using qx::sheet::CellValue;

std::string Number(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A text on one line of its own column: line feeds, returns, tabs and
// backslashes as \n, \r, \t and \\.
std::string OneLine(const std::wstring& text) {
    std::string out;
    for (char c : qx::WideToUtf8(text)) {
        switch (c) {
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Shown(const CellValue& value) {
    switch (value.type) {
        case CellValue::Type::Number: return Number(value.number);
        case CellValue::Type::Boolean: return value.boolean ? "TRUE" : "FALSE";
        case CellValue::Type::Text:
        case CellValue::Type::Error: return OneLine(value.text);
        case CellValue::Type::Empty: break;
    }
    return {};
}

void PrintCells(const qx::sheet::Sheet& sheet) {
    const auto used = sheet.UsedRange();
    if (!used) return;
    for (std::uint32_t row = 0; row <= used->lastRow; ++row) {
        std::vector<std::string> cells;
        for (std::uint32_t col = 0; col <= used->lastCol; ++col) cells.push_back(Shown(sheet.Value(col, row)));
        while (!cells.empty() && cells.back().empty()) cells.pop_back();
        std::string line;
        for (size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
        PrintUtf8(qx::Utf8ToWide(line + "\n"));
    }
}

std::string Border(const qx::sheet::BorderFormat& border) {
    std::string text;
    const std::pair<const char*, const qx::sheet::BorderLine*> sides[] = {
        {"left", &border.left}, {"right", &border.right}, {"top", &border.top}, {"bottom", &border.bottom},
        {"diagonal", &border.diagonal}};
    for (const auto& [name, line] : sides) {
        if (line->style.empty() || line->style == "none") continue;
        if (!text.empty()) text += ", ";
        text += std::string(name) + " " + line->style + (line->color.empty() ? "" : " " + line->color);
    }
    return text;
}

std::string Describe(const qx::sheet::CellFormat& f) {
    std::string text = "font";
    if (!f.font.name.empty()) text += " " + f.font.name;
    if (f.font.size > 0) text += " " + Number(f.font.size);
    if (f.font.bold) text += " bold";
    if (f.font.italic) text += " italic";
    if (f.font.strike) text += " strike";
    if (!f.font.underline.empty()) text += " underline " + f.font.underline;
    if (!f.font.color.empty()) text += " color " + f.font.color;
    if (!f.fill.pattern.empty() && f.fill.pattern != "none") {
        text += "; fill " + f.fill.pattern;
        if (!f.fill.foreground.empty()) text += " " + f.fill.foreground;
    }
    if (const std::string border = Border(f.border); !border.empty()) text += "; border " + border;
    if (f.numberFormatId != 0) text += "; number " + (f.numberFormat.empty() ? "#" + std::to_string(f.numberFormatId) : f.numberFormat);
    if (!f.horizontal.empty() || !f.vertical.empty() || f.wrapText) {
        text += "; align";
        if (!f.horizontal.empty()) text += " " + f.horizontal;
        if (!f.vertical.empty()) text += " " + f.vertical;
        if (f.wrapText) text += " wrap";
    }
    return text;
}

void PrintLayout(const qx::sheet::Sheet& sheet) {
    auto line = [](const std::string& text) { PrintUtf8(qx::Utf8ToWide(text + "\n")); };
    line("standard width " + Number(sheet.StandardColumnWidth()) + ", standard height " + Number(sheet.StandardRowHeight()));
    for (const qx::sheet::ColumnWidth& c : sheet.ColumnWidths()) {
        const std::string columns = qx::sheet::ColumnLetters(c.firstCol) +
                                    (c.lastCol != c.firstCol ? ":" + qx::sheet::ColumnLetters(c.lastCol) : "");
        line("column " + columns + " width " + Number(c.width));
    }
    for (const qx::sheet::RowHeight& r : sheet.RowHeights()) line("row " + std::to_string(r.row + 1) + " height " + Number(r.height));
    for (const qx::sheet::CellRange& m : sheet.MergedRanges()) line("merged " + qx::sheet::RangeName(m));
    const auto used = sheet.UsedRange();
    if (!used) return;
    for (std::uint32_t row = used->firstRow; row <= used->lastRow; ++row) {
        for (std::uint32_t col = used->firstCol; col <= used->lastCol; ++col) {
            const qx::sheet::CellFormat format = sheet.Format(col, row);
            if (format.styleIndex != 0) line("format " + qx::sheet::CellName(col, row) + ": " + Describe(format));
        }
    }
}

int Dump(const std::vector<std::string>& input) {
    std::vector<std::string> args = input;
    std::string sheetName;
    const bool named = TakeOption(args, "--sheet", sheetName);
    const bool styles = TakeFlag(args, "--styles");
    RejectUnknownOptions(args);
    if (args.size() != 1) throw UsageError("expects one FILE");
    std::wstring error;
    const auto book = qx::sheet::Workbook::Open(Wide(args[0]), &error);
    if (!book) throw Failure(qx::WideToUtf8(error));
    const qx::sheet::Sheet* sheet = named ? book->FindSheet(Wide(sheetName)) : book->SheetAt(0);
    if (!sheet) throw Failure("no sheet named \"" + sheetName + "\" in " + args[0]);
    PrintCells(*sheet);
    if (styles) PrintLayout(*sheet);
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"xlsx dump", "[--sheet NAME] [--styles] FILE", "print the cells of a spreadsheet file (.xlsx, .xltx, .xlsm)",
     "The cells of a sheet (the first, or the one named NAME exactly) as\n"
     "tab-separated text: one line per row from the first to the last used row,\n"
     "each from column A to the row's last value. Numbers are written as the\n"
     "shortest text that reads back as the same number, booleans as TRUE and\n"
     "FALSE, a formula as its last result, texts as they are with line feed,\n"
     "carriage return, tab and backslash written as \\n, \\r, \\t and \\\\.\n"
     "With --styles, then the sheet's standard column width and row height,\n"
     "the columns and rows of their own width and height (widths in characters\n"
     "as spreadsheet programs show them, heights in points), the merged ranges,\n"
     "and for each cell with a format of its own its font, fill, border, number\n"
     "format and alignment. Exit status 1 when the file cannot be read or has\n"
     "no such sheet.",
     Dump},
};

const CommandRegistrar registrar(kCommands);

}  // namespace
}  // namespace qxtool
