#include "qx/export/excel_list_export.h"

#include <algorithm>

#include "qx/export/internal/sheet_export_support.h"
#include "qx/message/message_table.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/message_box.h"

namespace {

using qx::detail::Formatted;
using qx::detail::Translated;

void Show(const CString& text, unsigned flags = MB_ICONSTOP) { qx::detail::ShowExportMessage(text, flags); }

const wchar_t* const kStillOpen =
    L"Die Datei \"%s\" ist in Excel noch offen.\nBitte schliessen Sie die Datei oder speichern Sie\nsie unter einem anderen Namen.";

// The continuation of *row* when only *linesLeft* of its lines fit: each text
// cell is cut at the first line feed that starts line linesLeft + 1 (the
// line feed is dropped), the rest goes on in the continuation.
CExcelRow* SplitRow(CExcelRow& row, int linesLeft) {
    auto* continuation = new CExcelRow;
    for (int i = 0; i < row.GetSize(); ++i) {
        CExcelCell* cell = row.GetAt(i);
        auto* rest = new CExcelCell(cell->GetName());
        if (cell->GetType() == CExcelCell::TYPE_TEXT) {
            const CString text = cell->GetText();
            int line = 1;
            int cut = -1;
            for (int at = 0; at < text.GetLength(); ++at) {
                if (text[at] != L'\n') continue;
                ++line;
                if (line > linesLeft && at + 1 < text.GetLength()) {
                    cut = at;
                    break;
                }
            }
            if (cut >= 0) {
                rest->SetText(text.Mid(cut + 1));
                cell->SetText(text.Left(cut));
            } else {
                rest->SetText(L" ");
            }
        }
        continuation->Add(rest);
    }
    return continuation;
}

}  // namespace

CExcelListExport::CExcelListExport() = default;
CExcelListExport::~CExcelListExport() = default;

bool CExcelListExport::doExport(CExcelRowArray& rows, const CString& outputFile, const CString& tableName,
                                const CString& formatTemplate, const CString& baseTemplate, int& pageCount,
                                CExcelProjectInfo* project, CProgressCtrl* progress, bool append) {
    CWaitCursor wait;
    if (progress) {
        progress->SetRange32(0, rows.GetSize() + 10);
        progress->SetStep(1);
    }
    const std::wstring output(outputFile.GetString());
    if (qx::FileExists(output)) {
        const bool usable = append ? qx::IsWritable(output) : qx::RemoveFile(output);
        if (!usable) {
            Show(Formatted(qx::TranslateMessage(kStillOpen), outputFile), MB_OK);
            return false;
        }
    }
    if (!m_tables.excel.IsRunning() && !m_tables.excel.RunMSExcel()) {
        Show(Translated(L"Microsoft Excel konnte nicht gestartet werden...\nDas könnte folgende Ursachen haben:\n\n"
                        L"1.) Excel ist nicht korrekt installiert, oder\n2.) Es handelt sich um eine inkompatible Version"));
        return false;
    }
    if (!OpenTemplates(outputFile, formatTemplate, baseTemplate, pageCount, append, progress)) return false;
    if (progress) progress->SetPos(4);
    if (!OpenTables(tableName)) return false;
    if (progress) progress->SetPos(6);
    if (project && !ReplacePlaceholders(*project)) return false;
    if (!CopyColumnWidths()) return false;
    if (progress) progress->SetPos(10);
    if (!WriteRows(rows, progress)) return false;
    return Save(outputFile, pageCount);
}

bool CExcelListExport::OpenTemplates(const CString& outputFile, const CString& formatTemplate,
                                     const CString& baseTemplate, int pageCount, bool append, CProgressCtrl* progress) {
    try {
        m_tables.excel.AddWorkbook(m_tables.formatBook, formatTemplate);
    } catch (const COleDispatchException&) {
        Show(Formatted(qx::TranslateMessage(L"Die Formatvorlage \"%s\" konnte nicht geöffnet werden.."), formatTemplate));
        return false;
    }
    if (progress) progress->SetPos(2);
    const CString base = append && pageCount > 1 ? outputFile : baseTemplate;
    try {
        m_tables.excel.AddWorkbook(m_tables.outputBook, base);
    } catch (const COleDispatchException&) {
        Show(Formatted(qx::TranslateMessage(L"Die Vorlage \"%s\" konnte nicht geöffnet werden.."), base));
        return false;
    }
    return true;
}

bool CExcelListExport::OpenTable(CWorksheets& sheets, const CString& name, CWorksheet& table, bool required) {
    if (!qx::detail::OpenTable(sheets, name, table) && required) {
        Show(Formatted(qx::TranslateMessage(L"Tabelle \"%s\" kann nicht geöffnet werden"), name.Left(qx::detail::kMaxTableName)));
        return false;
    }
    return true;
}

bool CExcelListExport::OpenTables(const CString& tableName) {
    try {
        m_tables.formatSheets.AttachSheets(m_tables.formatBook);
    } catch (const COleDispatchException&) {
        Show(L"Couldn't access tables in template file");
        return false;
    }
    if (!OpenTable(m_tables.formatSheets, L"Variablen", m_tables.variables, true)) return false;
    if (!OpenTable(m_tables.formatSheets, L"SpaltenInhalt", m_tables.columns, true)) return false;
    if (!ReadLayout() || !ReadColumnIdentifiers()) return false;
    OpenTable(m_tables.formatSheets, L"KopfSeite1", m_tables.headerFirst, false);
    OpenTable(m_tables.formatSheets, L"KopfFolgende", m_tables.headerNext, false);
    OpenTable(m_tables.formatSheets, L"Fussleiste", m_tables.footer, false);
    if (!m_tables.headerFirst.IsAttached()) m_layout.headerFirstRows = 0;
    if (!m_tables.headerNext.IsAttached()) m_layout.headerNextRows = 0;
    if (!m_tables.footer.IsAttached()) m_layout.footerLines = 0;
    try {
        m_tables.outputSheets.AttachSheets(m_tables.outputBook);
        m_tables.output.Attach(m_tables.outputSheets.GetItem(short{1}));
        m_outputTableName = tableName.Left(qx::detail::kMaxTableName);
        m_tables.output.SetName(m_outputTableName);
    } catch (const COleDispatchException&) {
        Show(L"Couldn't access output table!");
        return false;
    }
    return true;
}

bool CExcelListExport::ReadLayout() {
    const qx::detail::LayoutCell cells[] = {
        {L"C4", true, 0, &m_layout.footerLines, L"please enter a valid value >= 0 into \"Number of lines of the footer\""},
        {L"C5", false, 1, &m_layout.columnCount, L"please enter a valid value >= 1 into \"Number of printable columns\""},
        {L"C7", true, 0, &m_layout.headerFirstRows,
         L"please enter a valid value >= 0 into \"Number of rows in the header from page 1\""},
        {L"C8", true, 0, &m_layout.headerNextRows,
         L"please enter a valid value >= 0 into \"Number of rows in the header from page 2 and the following pages\""},
        {L"C9", false, 0, &m_layout.rowsFirstPage, L"please enter a valid value >= 0 into \"Number of printable rows from page 1\""},
        {L"C10", false, 0, &m_layout.rowsNextPages,
         L"please enter a valid value >= 0 into \"Number of printable rows from page 2 and the following pages\""},
    };
    if (!qx::detail::ReadLayoutCells(m_tables.variables, cells, L"Couldn't read from table \"Variablen\"!")) return false;
    m_layout.columnCount = std::min(m_layout.columnCount, qx::detail::kMaxColumns);
    if (m_layout.rowsFirstPage == 0 || m_layout.rowsNextPages == 0) {
        m_layout.rowsFirstPage = 0;
        m_layout.rowsNextPages = 0;
        m_layout.headerNextRows = 0;
    }
    return true;
}

bool CExcelListExport::ReadColumnIdentifiers() {
    m_columnIds.RemoveAll();
    try {
        for (int i = 0; i < m_layout.columnCount; ++i) {
            COleVariant value;
            m_tables.columns.GetValueAt(value, i + 2, 3);
            if (value.vt != VT_BSTR) {
                m_message = Formatted(L"Cell \"%s\" from table \"SpaltenInhalt\" has an invalid format. Must be text.\n",
                                      CWorksheet::IndexToString(i + 2, 3));
                Show(m_message);
                return false;
            }
            CString id = value.Text();
            id.MakeLower();
            m_columnIds.Add(id);
        }
    } catch (const COleDispatchException&) {
        Show(L"Couldn't read from table \"SpaltenInhalt\"!");
        return false;
    }
    return true;
}

bool CExcelListExport::ReplacePlaceholders(CExcelProjectInfo& project) {
    struct Table {
        CWorksheet* sheet;
        int rows;
    };
    const Table tables[] = {{&m_tables.headerFirst, m_layout.headerFirstRows}, {&m_tables.headerNext, m_layout.headerNextRows}, {&m_tables.footer, m_layout.footerLines}};
    try {
        for (const Table& table : tables) {
            if (!table.sheet->IsAttached()) continue;
            qx::detail::ReplaceProjectPlaceholders(*table.sheet, table.rows, m_layout.columnCount, project.m_projectNo,
                                                   project.m_projectName, project.m_projectDate);
        }
    } catch (const COleDispatchException&) {
        Show(L"Couldn't read from table \"KopfSeite1\"!");
        return false;
    }
    return true;
}

bool CExcelListExport::CopyColumnWidths() {
    return qx::detail::CopyColumnWidths(m_tables.columns, m_tables.output, m_layout.columnCount, m_dataRowHeight,
                                        L"Couldn't write data into table \"Datenliste\"!",
                                        L"Couldn't find table \"SpaltenInhalt\"!");
}

// A failed header or footer copy has shown its message; the export goes on.
void CExcelListExport::CopyHeader(int page) {
    const qx::detail::RowCopyMessages messages{L"Couldn't write into table \"Datenliste\"!",
                                               L"Couldn't copy header into parts list!",
                                               L"Couldn't find table \"KopfSeite1\"!"};
    qx::detail::CopyTemplateRows(page == 0 ? m_tables.headerFirst : m_tables.headerNext, page == 0 ? m_layout.headerFirstRows : m_layout.headerNextRows,
                                 m_layout.columnCount, m_tables.output, m_outputRow, qx::detail::HeightsWritten::BeforePaste, messages);
}

void CExcelListExport::CopyFooter() {
    const qx::detail::RowCopyMessages messages{L"Couldn't write data into table \"Datenliste\"!",
                                               L"Couldn't copy footer into parts list!",
                                               L"Couldn't find table \"Fussleiste\"!"};
    qx::detail::CopyTemplateRows(m_tables.footer, m_layout.footerLines, m_layout.columnCount, m_tables.output, m_outputRow,
                                 qx::detail::HeightsWritten::AfterPaste, messages);
}

// The rest of a page that ends early: the current row as high as the lines
// left. The footer is copied onto that same row (its first row's height
// then replaces the filler's), as the family's lists have always been laid
// out.
void CExcelListExport::FillPage() {
    if (m_linesLeft > 0) m_tables.output.SetHeight(m_linesLeft * m_dataRowHeight, m_outputRow);
}

// The footer, then the next page's header; lines are counted afresh.
void CExcelListExport::EndPage() {
    CopyFooter();
    m_outputRow += m_layout.footerLines;
    ++m_page;
    CopyHeader(m_page);
    m_outputRow += m_layout.headerNextRows;
    m_linesLeft = m_layout.rowsNextPages;
    m_linesPerPage = m_layout.rowsNextPages;
}

void CExcelListExport::StartTable(const CString& name) {
    const CString cut = name.Left(qx::detail::kMaxTableName);
    SheetRef sheet = m_tables.outputSheets.GetItem(cut);
    if (!sheet) {
        try {
            CWorksheet added;
            added.Attach(m_tables.outputSheets.Add());
            added.SetName(cut);
        } catch (const COleDispatchException&) {
            Show(L"Couldn't add new table");
            return;
        }
    }
    CWorksheet opened;
    if (!OpenTable(m_tables.outputSheets, cut, opened, true)) return;
    m_tables.output = opened;
    m_outputTableName = cut;
    m_page = 0;
    m_linesLeft = m_layout.rowsFirstPage;
    m_linesPerPage = m_layout.rowsFirstPage;
    m_outputRow = 0;
    CopyHeader(0);
    m_outputRow = m_layout.headerFirstRows;
}

bool CExcelListExport::WriteEmptyLine() {
    try {
        m_tables.output.SetHeight(m_dataRowHeight, m_outputRow);
        for (int i = 0; i < m_layout.columnCount; ++i) {
            COleVariant empty;
            m_tables.output.SetValueAt(empty, i, m_outputRow);
        }
    } catch (const COleDispatchException&) {
        Show(L"Couldn't write data into table \"Datenliste\" ");
        return false;
    }
    return true;
}

bool CExcelListExport::WriteDataRow(CExcelRowArray& rows, int index) {
    CExcelRow& row = *rows.GetAt(index);
    int lines = row.GetLineCount();
    if (m_linesPerPage > 0 && lines > m_linesLeft) {
        CExcelRow* continuation = SplitRow(row, m_linesLeft);
        if (index + 1 < rows.GetSize()) {
            rows.InsertAt(index + 1, continuation);
        } else {
            rows.Add(continuation);
        }
        lines = m_linesLeft;
    }
    m_linesLeft -= lines;
    if (!qx::detail::PasteDataRow(m_tables.columns, m_layout.columnCount, m_tables.output, m_outputRow,
                                  L"Couldn't copy data from table \"SpaltenInhalt\"!",
                                  L"Couldn't insert data from table \"SpaltenInhalt\"!")) {
        return false;
    }
    m_tables.output.SetHeight(lines * m_dataRowHeight, m_outputRow);
    try {
        for (int i = 0; i < m_layout.columnCount; ++i) {
            const CExcelCell* cell = row.FindCell(m_columnIds.GetAt(i));
            if (!cell) continue;
            COleVariant value;
            switch (cell->GetType()) {
                case CExcelCell::TYPE_INT: value = COleVariant(static_cast<std::int32_t>(cell->GetInt())); break;
                case CExcelCell::TYPE_FLOAT: value = COleVariant(cell->GetFloat()); break;
                case CExcelCell::TYPE_DOUBLE: value = COleVariant(cell->GetDouble()); break;
                case CExcelCell::TYPE_TEXT:
                    value = COleVariant(cell->GetText().IsEmpty() ? CString(L" ") : cell->GetText());
                    break;
                default: break;
            }
            m_tables.output.SetValueAt(value, i, m_outputRow);
        }
    } catch (const COleDispatchException&) {
        Show(L"Couldn't write into table \"Datenliste\"!");
        return false;
    }
    return true;
}

bool CExcelListExport::WriteRows(CExcelRowArray& rows, CProgressCtrl* progress) {
    m_page = 0;
    m_linesLeft = m_layout.rowsFirstPage;
    m_linesPerPage = m_layout.rowsFirstPage;
    m_outputRow = 0;
    CopyHeader(0);
    m_outputRow = m_layout.headerFirstRows;
    // The size is read at every step: splitting inserts rows.
    for (int index = 0; index < rows.GetSize(); ++index) {
        CExcelRow& row = *rows.GetAt(index);
        if (row.m_bNewPage) {
            FillPage();
            EndPage();
        } else if (row.m_bEmptyLine) {
            if (!WriteEmptyLine()) return false;
        } else if (row.m_bNewTable && !row.m_tableName.IsEmpty()) {
            StartTable(row.m_tableName);
        } else if (!WriteDataRow(rows, index)) {
            return false;
        }
        ++m_outputRow;
        if (progress) progress->StepIt();
        if (m_linesPerPage > 0 && m_linesLeft <= 0) EndPage();
    }
    if (m_linesLeft > 0 && m_layout.footerLines > 0) FillPage();
    CopyFooter();
    return true;
}

bool CExcelListExport::Save(const CString& outputFile, int& pageCount) {
    try {
        m_tables.output.Select(COleVariant(L"A1"));
    } catch (const COleDispatchException&) {
        // Selecting is a courtesy to the reader of the file; it cannot fail the export.
    }
    const std::wstring output(outputFile.GetString());
    if (qx::FileExists(output) && !qx::RemoveFile(output)) {
        Show(Formatted(qx::TranslateMessage(kStillOpen), outputFile), MB_OK);
        return false;
    }
    m_tables.outputBook.Close(outputFile.GetString(), CWorkbook::m_covTRUE, CWorkbook::m_covFALSE);
    // A workbook still open was not saved (Close has shown why): no file,
    // so no success and no pages.
    if (m_tables.outputBook.IsOpen()) return false;
    pageCount += m_page + 1;
    return true;
}
