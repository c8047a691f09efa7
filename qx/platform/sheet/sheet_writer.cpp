// Writing a worksheet part: the elements kept from the file as they were,
// and the cells, columns, merged ranges and used range from the model,
// written straight into the part's text.
#include <charconv>

#include "qx/platform/sheet/internal/text_escape.h"
#include "qx/platform/sheet/internal/workbook_data.h"
#include "qx/platform/sheet/internal/xml.h"

namespace qx::sheet::detail {

namespace {

void AppendNumber(std::string& out, double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendNumber(std::string& out, std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AppendColumn(std::string& out, std::uint32_t col) {
    char letters[4];
    int n = 0;
    for (std::uint32_t rest = col + 1; rest > 0 && n < 4; rest = (rest - 1) / 26)
        letters[n++] = static_cast<char>('A' + (rest - 1) % 26);
    while (n > 0) out += letters[--n];
}

class Writer {
public:
    Writer(const SheetData& sheet, SharedStringWriter& strings, std::string& out)
        : sheet_(sheet), model_(sheet.model), strings_(strings), out_(out) {}

    void Part();

private:
    void Open(std::string_view name) {
        out_ += '<';
        out_ += prefix_;
        out_ += name;
    }
    void Close(std::string_view name) {
        out_ += "</";
        out_ += prefix_;
        out_ += name;
        out_ += '>';
    }
    void Flag(bool on, std::string_view attribute) {
        if (!on) return;
        out_ += ' ';
        out_ += attribute;
        out_ += "=\"1\"";
    }
    void Dimension();
    void Columns();
    void Rows();
    void WriteRow(const Row& row);
    void WriteCell(const Cell& cell, std::uint32_t row);
    void Merges();

    const SheetData& sheet_;
    const SheetModel& model_;
    SharedStringWriter& strings_;
    std::string& out_;
    std::string prefix_;
};

void Writer::Part() {
    pugi::xml_node root = sheet_.rest.document_element();
    prefix_ = Prefix(root);
    out_ += kXmlDeclaration;
    out_ += '<';
    out_ += root.name();
    for (pugi::xml_attribute a = root.first_attribute(); a; a = a.next_attribute()) {
        out_ += ' ';
        out_ += a.name();
        out_ += "=\"";
        AppendEscaped(out_, a.value(), true);
        out_ += '"';
    }
    out_ += '>';
    for (pugi::xml_node child = root.first_child(); child; child = child.next_sibling()) {
        const std::string_view name = LocalName(child);
        if (child.type() != pugi::node_element) AppendNode(child, out_);
        else if (name == "dimension") Dimension();
        else if (name == "cols") Columns();
        else if (name == "sheetData") Rows();
        else if (name == "mergeCells") Merges();
        else AppendNode(child, out_);
    }
    out_ += "</";
    out_ += root.name();
    out_ += '>';
}

void Writer::Dimension() {
    Open("dimension");
    out_ += " ref=\"";
    const auto used = model_.UsedRange();
    out_ += used ? RangeName(*used) : std::string("A1");
    out_ += "\"/>";
}

void Writer::Columns() {
    if (model_.columns.empty()) return;
    Open("cols");
    out_ += '>';
    for (const ColumnSpan& span : model_.columns) {
        Open("col");
        out_ += " min=\"";
        AppendNumber(out_, std::uint64_t{span.first} + 1);
        out_ += "\" max=\"";
        AppendNumber(out_, std::uint64_t{span.last} + 1);
        out_ += '"';
        if (span.width >= 0) {
            out_ += " width=\"";
            AppendNumber(out_, span.width);
            out_ += '"';
        }
        if (span.style) {
            out_ += " style=\"";
            AppendNumber(out_, std::uint64_t{span.style});
            out_ += '"';
        }
        Flag(span.flags & kColumnHidden, "hidden");
        Flag(span.flags & kColumnBestFit, "bestFit");
        Flag(span.flags & kColumnCustomWidth, "customWidth");
        Flag(span.flags & kColumnPhonetic, "phonetic");
        if (span.outlineLevel) {
            out_ += " outlineLevel=\"";
            AppendNumber(out_, std::uint64_t{span.outlineLevel});
            out_ += '"';
        }
        Flag(span.flags & kColumnCollapsed, "collapsed");
        out_ += span.attributes;
        out_ += "/>";
    }
    Close("cols");
}

void Writer::Rows() {
    Open("sheetData");
    out_ += '>';
    for (const Row& row : model_.rows) WriteRow(row);
    Close("sheetData");
}

void Writer::WriteRow(const Row& row) {
    if (row.cells.empty() && !row.flags && !row.outlineLevel && row.attributes.empty() && row.height <= 0) return;
    Open("row");
    out_ += " r=\"";
    AppendNumber(out_, std::uint64_t{row.index} + 1);
    out_ += '"';
    if (row.flags & kRowCustomFormat) {
        out_ += " s=\"";
        AppendNumber(out_, std::uint64_t{row.style});
        out_ += '"';
    }
    Flag(row.flags & kRowCustomFormat, "customFormat");
    if ((row.flags & kRowCustomHeight) || row.height > 0) {
        out_ += " ht=\"";
        AppendNumber(out_, row.height);
        out_ += '"';
    }
    Flag(row.flags & kRowHidden, "hidden");
    Flag(row.flags & kRowCustomHeight, "customHeight");
    if (row.outlineLevel) {
        out_ += " outlineLevel=\"";
        AppendNumber(out_, std::uint64_t{row.outlineLevel});
        out_ += '"';
    }
    Flag(row.flags & kRowCollapsed, "collapsed");
    Flag(row.flags & kRowThickTop, "thickTop");
    Flag(row.flags & kRowThickBottom, "thickBot");
    Flag(row.flags & kRowPhonetic, "ph");
    out_ += row.attributes;
    if (row.cells.empty()) {
        out_ += "/>";
        return;
    }
    out_ += '>';
    for (const Cell& cell : row.cells) WriteCell(cell, row.index);
    Close("row");
}

void Writer::WriteCell(const Cell& cell, std::uint32_t row) {
    const Formula* formula = cell.formula ? &model_.formulas[cell.formula - 1] : nullptr;
    if (cell.kind == CellKind::Empty && !formula && cell.style == 0) return;
    Open("c");
    out_ += " r=\"";
    AppendColumn(out_, cell.col);
    AppendNumber(out_, std::uint64_t{row} + 1);
    out_ += '"';
    if (cell.style) {
        out_ += " s=\"";
        AppendNumber(out_, std::uint64_t{cell.style});
        out_ += '"';
    }
    const StringPool& pool = sheet_.book->strings;
    switch (cell.kind) {
        case CellKind::Text: out_ += formula ? " t=\"str\"" : " t=\"s\""; break;
        case CellKind::Boolean: out_ += " t=\"b\""; break;
        case CellKind::Error: out_ += " t=\"e\""; break;
        case CellKind::IsoDate: out_ += " t=\"d\""; break;
        default: break;
    }
    if (cell.kind == CellKind::Empty && !formula) {
        out_ += "/>";
        return;
    }
    out_ += '>';
    if (formula) {
        Open("f");
        if (formula->kind != Formula::Kind::Normal) {
            out_ += formula->kind == Formula::Kind::Array ? " t=\"array\" ref=\"" : " t=\"dataTable\" ref=\"";
            out_ += RangeName(formula->ref);
            out_ += '"';
        }
        out_ += formula->attributes;
        out_ += '>';
        AppendCellText(out_, formula->text);
        Close("f");
    }
    if (cell.kind != CellKind::Empty) {
        Open("v");
        out_ += '>';
        switch (cell.kind) {
            case CellKind::Number: AppendNumber(out_, cell.number); break;
            case CellKind::Text:
                if (formula) AppendCellText(out_, pool.Text(cell.text));
                else AppendNumber(out_, std::uint64_t{strings_.IndexOf(cell.text)});
                break;
            case CellKind::Boolean: out_ += cell.boolean ? '1' : '0'; break;
            default: AppendEscaped(out_, pool.Text(cell.text), false); break;
        }
        Close("v");
    }
    Close("c");
}

void Writer::Merges() {
    if (model_.merges.empty()) return;
    Open("mergeCells");
    out_ += " count=\"";
    AppendNumber(out_, std::uint64_t{model_.merges.size()});
    out_ += "\">";
    for (const CellRange& range : model_.merges) {
        Open("mergeCell");
        out_ += " ref=\"";
        out_ += RangeName(range);
        out_ += "\"/>";
    }
    Close("mergeCells");
}

}  // namespace

std::string WriteWorksheet(const SheetData& sheet, SharedStringWriter& strings) {
    std::string out;
    size_t cells = 0;
    for (const Row& row : sheet.model.rows) cells += row.cells.size();
    out.reserve(cells * 40 + sheet.model.rows.size() * 24 + 4096);
    Writer(sheet, strings, out).Part();
    return out;
}

}  // namespace qx::sheet::detail
