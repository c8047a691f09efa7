// The spreadsheet list export on lists of 1,000 to 100,000 rows of 7
// columns through the example templates (examples/export), beside
// libxlsxwriter writing the same cells with equal formats without a template.
// scripts/run-bench.sh runs bench/openpyxl_list_export.py, the template road
// in openpyxl, on the same rows and prints the ratios.
#include <benchmark/benchmark.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <string>

#include "qx/export/excel_list_export.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"

namespace {

const wchar_t* const kTexts[] = {L"Thermostatventil DN15 mit Voreinstellung", L"Kupferrohr 15 x 1 mm, hart",
                                 L"Umwälzpumpe, Hocheffizienz", L"Kugelhahn 3/4\" mit Thermometer"};
const wchar_t* const kUnits[] = {L"Stk", L"m"};

// The rows bench/openpyxl_list_export.py makes: row i has position i + 1,
// quantity i % 40 + 1.5, unit, text, article number, price and currency.
void MakeRows(int count, CExcelRowArray& rows) {
    for (int i = 0; i < count; ++i) {
        auto* row = new CExcelRow;
        row->append(new CExcelCell(L"POS", static_cast<double>(i + 1)));
        row->append(new CExcelCell(L"MENGE", i % 40 + 1.5));
        row->append(new CExcelCell(L"EINHEIT", CString(kUnits[i % 2])));
        row->append(new CExcelCell(L"TEXT", CString(kTexts[i % 4])));
        row->append(new CExcelCell(L"ARTNR", CString(qx::Format(L"%07d", 4000000 + i).c_str())));
        row->append(new CExcelCell(L"PREIS", (i % 997) * 1.25 + 2));
        row->append(new CExcelCell(L"WAEHRUNG", CString(L"EUR")));
        rows.Add(row);
    }
}

std::filesystem::path Output(const char* name) { return std::filesystem::temp_directory_path() / name; }

void BM_ListExport(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::wstring out = Output("qx-list-bench.xlsx").wstring();
    const std::wstring format = qx::Utf8ToWide(QX_EXAMPLES_DIR "/export/list_format.xlsx");
    const std::wstring base = qx::Utf8ToWide(QX_EXAMPLES_DIR "/export/list_base.xlsx");
    for (auto _ : state) {
        state.PauseTiming();
        CExcelRowArray rows;
        MakeRows(count, rows);
        state.ResumeTiming();
        CExcelListExport exporter;
        int pages = 0;
        if (!exporter.doExport(rows, out.c_str(), L"Datenliste", format.c_str(), base.c_str(), pages, nullptr, nullptr,
                               false)) {
            state.SkipWithError("the export failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    std::filesystem::remove(out);
}
BENCHMARK(BM_ListExport)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same cells with the data row's formats (fill, borders, number
// formats, wrapped text column), the same widths and heights.
void BM_Peer_Xlsxwriter(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string out = Output("qx-list-bench-peer.xlsx").string();
    const char* const texts[] = {"Thermostatventil DN15 mit Voreinstellung", "Kupferrohr 15 x 1 mm, hart",
                                 "Umwälzpumpe, Hocheffizienz", "Kugelhahn 3/4\" mit Thermometer"};
    const char* const units[] = {"Stk", "m"};
    const double widths[] = {5, 8, 7, 34, 11, 10, 8};
    const char* const numberFormats[] = {"0", "0.0", "@", "@", "@", "#,##0.00", "@"};
    for (auto _ : state) {
        lxw_workbook* book = workbook_new(out.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(book, "Datenliste");
        lxw_format* formats[7];
        for (int c = 0; c < 7; ++c) {
            formats[c] = workbook_add_format(book);
            format_set_bg_color(formats[c], 0xF2F7EC);
            format_set_pattern(formats[c], LXW_PATTERN_SOLID);
            format_set_border(formats[c], LXW_BORDER_THIN);
            format_set_num_format(formats[c], numberFormats[c]);
            format_set_align(formats[c], LXW_ALIGN_VERTICAL_TOP);
            if (c == 3) format_set_text_wrap(formats[c]);
            worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), widths[c], nullptr);
        }
        for (int i = 0; i < count; ++i) {
            const auto row = static_cast<lxw_row_t>(i + 5);
            worksheet_set_row(sheet, row, 15, nullptr);
            worksheet_write_number(sheet, row, 0, i + 1, formats[0]);
            worksheet_write_number(sheet, row, 1, i % 40 + 1.5, formats[1]);
            worksheet_write_string(sheet, row, 2, units[i % 2], formats[2]);
            worksheet_write_string(sheet, row, 3, texts[i % 4], formats[3]);
            worksheet_write_string(sheet, row, 4, std::to_string(4000000 + i).c_str(), formats[4]);
            worksheet_write_number(sheet, row, 5, (i % 997) * 1.25 + 2, formats[5]);
            worksheet_write_string(sheet, row, 6, "EUR", formats[6]);
        }
        if (workbook_close(book) != LXW_NO_ERROR) state.SkipWithError("libxlsxwriter failed");
    }
    state.SetItemsProcessed(state.iterations() * count);
    std::filesystem::remove(out);
}
BENCHMARK(BM_Peer_Xlsxwriter)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
