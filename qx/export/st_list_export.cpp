#include "qx/export/st_list_export.h"

#include <algorithm>
#include <string>

#include "qx/export/internal/sheet_export_support.h"
#include "qx/message/message_table.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/wnd/control_classes.h"
#include "qx/platform/wnd/message_box.h"

namespace {

using qx::detail::Formatted;
using qx::detail::ShowExportMessage;

// The longest piece of an article's text in one row, and the fewest lines
// left on a page that a piece is cut to (with fewer, a piece is a page's
// worth and begins on the next page).
constexpr int kMaxPieceLines = 20;
constexpr int kFewestLinesForPiece = 5;

const wchar_t* const kWriteRefused = L"Schreibzugriff auf Tabelle \"Stueckliste\" fehlgeschlagen...";

int LineCount(const std::wstring& text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), L'\n')); }

std::wstring WithoutOuterLineFeeds(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L'\n');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L'\n') - first + 1);
}

// A number that is none (negative) is an empty cell.
COleVariant NumberValue(double value) { return value >= 0 ? COleVariant(value) : COleVariant(); }

COleVariant TextValue(const CString& text) { return COleVariant(text.IsEmpty() ? CString(L" ") : text); }

}  // namespace

CStListExport::CStListExport()
    : m_identifiers{L"POS", L"MENGE", L"EINHEIT", L"TEXT", L"ARTNR", L"PREIS", L"WAEHRUNG"} {}

CStListExport::~CStListExport() = default;

int CStListExport::CreateStList(CStList& list, const CString& outputFile, const CString& formatTemplate,
                                const CString& baseTemplate, CProjectInfo* project, CProgressCtrl* progress) {
    CWaitCursor wait;
    if (progress) {
        progress->SetRange32(0, list.GetCount() + 10);
        progress->SetStep(1);
    }
    // An existing output must be replaceable; it is replaced whole when the
    // workbook is saved, so a failed export leaves it as it was.
    const std::wstring output(outputFile.GetString());
    if (qx::FileExists(output) && !qx::IsWritable(output)) {
        m_message = Formatted(qx::TranslateMessage(L"Die Datei \"%s\" ist in Excel noch offen.\nBitte schließen Sie die "
                                                   L"Datei oder speichern Sie\ndiese unter einem anderen Namen."),
                              outputFile);
        ShowExportMessage(m_message, MB_OK);
        return 0;
    }
    if (!m_tables.excel.IsRunning() && !m_tables.excel.RunMSExcel()) {
        ShowExportMessage(qx::detail::Translated(
            L"Microsoft Excel konnte nicht gestartet werden...\nDas könnte folgende Ursachen haben:\n\n"
            L"1.) Excel ist nicht korrekt installiert, oder\n2.) Es handelt sich um eine inkompatible Version"));
        return 0;
    }
    if (!OpenTemplates(formatTemplate, baseTemplate, progress) || !OpenTables()) return 0;
    if (progress) progress->SetPos(6);
    if (!ReadLayout()) return 0;
    if (progress) progress->SetPos(8);
    if (!ReadColumnAssignment()) return 0;
    if (project && !ReplacePlaceholders(*project)) return 0;
    if (!qx::detail::CopyColumnWidths(m_tables.columns, m_tables.output, m_layout.columnCount, m_dataRowHeight, kWriteRefused,
                                      L"Lesezugriff auf Tabelle \"SpaltenInhalt\" fehlgeschlagen...")) {
        return 0;
    }
    if (progress) progress->SetPos(10);
    if (!WriteArticles(list, progress)) return 0;
    try {
        m_tables.output.Select(COleVariant(L"A1"));
    } catch (const COleDispatchException&) {
        // Selecting is a courtesy to the reader of the file; it cannot fail the export.
    }
    m_tables.outputBook.Close(outputFile.GetString(), CWorkbook::m_covTRUE, CWorkbook::m_covFALSE);
    // A workbook still open was not saved (Close has said so).
    return m_tables.outputBook.IsOpen() ? 0 : 1;
}

bool CStListExport::OpenTemplates(const CString& formatTemplate, const CString& baseTemplate, CProgressCtrl* progress) {
    struct Template {
        CWorkbook* book;
        const CString* path;
        int progress;
    } const templates[] = {{&m_tables.formatBook, &formatTemplate, 2}, {&m_tables.outputBook, &baseTemplate, 4}};
    for (const Template& t : templates) {
        try {
            m_tables.excel.AddWorkbook(*t.book, *t.path);
        } catch (const COleDispatchException&) {
            ShowExportMessage(Formatted(L"Die Vorlage \"%s\" konnte nicht geöffnet werden..", *t.path));
            return false;
        }
        if (progress) progress->SetPos(t.progress);
    }
    return true;
}

bool CStListExport::OpenTables() {
    try {
        m_tables.formatSheets.AttachSheets(m_tables.formatBook);
        m_tables.outputSheets.AttachSheets(m_tables.outputBook);
    } catch (const COleDispatchException&) {
        ShowExportMessage(L"Zugriff auf Tabellen fehlgeschlagen...");
        return false;
    }
    struct Table {
        CWorksheets* sheets;
        const wchar_t* name;
        CWorksheet* table;
    } const tables[] = {
        {&m_tables.formatSheets, L"KopfSeite1", &m_tables.headerFirst}, {&m_tables.formatSheets, L"KopfFolgende", &m_tables.headerNext},
        {&m_tables.formatSheets, L"Fussleiste", &m_tables.footer},      {&m_tables.formatSheets, L"Variablen", &m_tables.variables},
        {&m_tables.formatSheets, L"SpaltenInhalt", &m_tables.columns},  {&m_tables.outputSheets, L"Stueckliste", &m_tables.output},
    };
    for (const Table& t : tables) {
        if (!qx::detail::OpenTable(*t.sheets, t.name, *t.table)) {
            ShowExportMessage(Formatted(L"Tabelle \"%s\" kann nicht geöffnet werden", t.name));
            return false;
        }
    }
    return true;
}

bool CStListExport::ReadLayout() {
    const qx::detail::LayoutCell cells[] = {
        {L"C4", true, 0, &m_layout.footerLines,
         L"Der Variablen \"Anzahl der Zeilen der Fußleiste\"\nist ein ungültiger Wert zugeordnet.\nEs muss sich "
         L"hierbei um eine ganze Zahl >= 0 handeln!"},
        {L"C5", false, 1, &m_layout.columnCount,
         L"Der Variablen \"Anzahl der druckbaren Spalten\"\nist ein ungültiger Wert zugeordnet.\nEs muss sich hierbei "
         L"um eine ganze Zahl >= 1 handeln!"},
        {L"C7", true, 0, &m_layout.headerFirstRows,
         L"Der Variablen \"Anzahl der Zeilen des Kopfes von Seite 1\"\nist ein ungültiger Wert zugeordnet.\nEs muss "
         L"sich hierbei um eine ganze Zahl >= 0 handeln!"},
        {L"C8", true, 0, &m_layout.headerNextRows,
         L"Der Variablen \"Anzahl der Zeilen des Kopfes von Seite 2 und folgenden\"\nist ein ungültiger Wert "
         L"zugeordnet.\nEs muss sich hierbei um eine ganze Zahl >= 0 handeln!"},
        {L"C9", false, 1, &m_layout.rowsFirstPage,
         L"Der Variablen \"Anzahl der druckbaren Zeilen von Seite 1\"\nist ein ungültiger Wert zugeordnet.\nEs muss "
         L"sich hierbei um eine ganze Zahl >= 1 handeln!"},
        {L"C10", false, 1, &m_layout.rowsNextPages,
         L"Der Variablen \"Anzahl der druckbaren Zeilen von Seite 2 und folgenden\"\nist ein ungültiger Wert "
         L"zugeordnet.\nEs muss sich hierbei um eine ganze Zahl >= 1 handeln!"},
    };
    if (!qx::detail::ReadLayoutCells(m_tables.variables, cells, L"Aus Tabelle \"Variablen\" konnte nicht gelesen werden")) {
        return false;
    }
    m_layout.columnCount = std::min(m_layout.columnCount, qx::detail::kMaxColumns);
    return true;
}

bool CStListExport::ReadColumnAssignment() {
    bool warned = false;
    try {
        for (int slot = 0; slot < kSlots; ++slot) {
            m_slots[slot].Empty();
            COleVariant value;
            m_tables.columns.GetValueAt(value, slot + 2, 3);
            if (value.vt == VT_EMPTY) continue;
            if (slot >= m_layout.columnCount) {
                // An identifier no printable column shows: asked once.
                if (warned) continue;
                warned = true;
                const wchar_t* question = qx::TranslateMessage(
                    L"Warnung!\n\nSie haben mehr Bezeichner als druckbare Spalten eingetragen.\nDies würde bedeuten, "
                    L"dass die Bezeichner nicht übernommen werden.\n\nTrotzdem fortfahren?");
                if (qx::ShowAppMessage(question, MB_YESNO | MB_ICONWARNING) != IDYES) return false;
                continue;
            }
            const CString cell = CWorksheet::IndexToString(slot + 2, 3);
            if (value.vt != VT_BSTR) {
                m_message = Formatted(qx::TranslateMessage(L"In Zelle \"%s\" der Tabelle \"SpaltenInhalt\" wurde "
                                                           L"ein\nungültiges Format lokalisiert.\n\nEs muss sich "
                                                           L"hierbei um einen Text handeln!"),
                                      cell);
                ShowExportMessage(m_message);
                return false;
            }
            CString identifier = value.Text();
            identifier.MakeUpper();
            if (std::find(std::begin(m_identifiers), std::end(m_identifiers), identifier) == std::end(m_identifiers)) {
                m_message = Formatted(qx::TranslateMessage(L"In Zelle \"%s\" der Tabelle \"SpaltenInhalt\" wurde ein "
                                                           L"ungültiger Bezeichner lokalisiert.\nDie benutzten "
                                                           L"Bezeichner müssen mit den darunter aufgeführten "
                                                           L"übereinstimmen!"),
                                      cell);
                ShowExportMessage(m_message);
                return false;
            }
            m_slots[slot] = identifier;
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(L"Aus Tabelle \"SpaltenInhalt\" konnte nicht gelesen werden");
        return false;
    }
    return true;
}

bool CStListExport::ReplacePlaceholders(const CProjectInfo& project) {
    struct Table {
        CWorksheet* sheet;
        int rows;
    } const tables[] = {{&m_tables.headerFirst, m_layout.headerFirstRows}, {&m_tables.headerNext, m_layout.headerNextRows}, {&m_tables.footer, m_layout.footerLines}};
    try {
        for (const Table& table : tables) {
            qx::detail::ReplaceProjectPlaceholders(*table.sheet, table.rows, m_layout.columnCount, project.m_projectNo,
                                                   project.m_projectName, project.m_projectDate);
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(L"Aus Tabelle \"KopfSeite1\" konnte nicht gelesen werden");
        return false;
    }
    return true;
}

int CStListExport::Capacity() const { return m_page == 0 ? m_layout.rowsFirstPage : m_layout.rowsNextPages; }

// The page's header (a failed copy has shown its message; the list goes on).
void CStListExport::StartPage() {
    const qx::detail::RowCopyMessages messages{kWriteRefused,
                                               L"Kopieren der Kopfleiste ind die Stückliste ist fehlgeschlagen..",
                                               L"Lesezugriff auf Tabelle \"KopfSeite1\" fehlgeschlagen..."};
    const int rows = m_page == 0 ? m_layout.headerFirstRows : m_layout.headerNextRows;
    qx::detail::CopyTemplateRows(m_page == 0 ? m_tables.headerFirst : m_tables.headerNext, rows, m_layout.columnCount, m_tables.output, m_outputRow,
                                 qx::detail::HeightsWritten::BeforePaste, messages);
    m_outputRow += rows;
    m_linesLeft = Capacity();
    m_pageOpen = true;
}

// The lines left as empty rows of the data row's height.
void CStListExport::FillPage() {
    for (int i = 0; i < m_linesLeft; ++i) m_tables.output.SetHeight(m_dataRowHeight, m_outputRow + i);
    m_outputRow += m_linesLeft;
    m_linesLeft = 0;
}

bool CStListExport::EndPage() {
    const qx::detail::RowCopyMessages messages{kWriteRefused, L"Kopieren der Fußleiste fehlgeschlagen...",
                                               L"Lesezugriff auf Tabelle \"Fussleiste\" fehlgeschlagen..."};
    if (!qx::detail::CopyTemplateRows(m_tables.footer, m_layout.footerLines, m_layout.columnCount, m_tables.output, m_outputRow,
                                      qx::detail::HeightsWritten::AfterPaste, messages)) {
        return false;
    }
    m_outputRow += m_layout.footerLines;
    ++m_page;
    m_pageOpen = false;
    return true;
}

bool CStListExport::WriteArticles(const CStList& list, CProgressCtrl* progress) {
    m_page = 0;
    m_pageOpen = false;
    m_linesLeft = 0;
    m_outputRow = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CArticle* article = list.GetNext(pos);
        if (!article) continue;
        if (!WriteArticle(*article)) return false;
        if (progress) progress->StepIt();
    }
    if (!m_pageOpen) return true;
    FillPage();
    return EndPage();
}

// The article in one row when it fits a page and 20 lines, else in pieces.
// Each round either writes a row or ends the page, and a piece is never
// longer than a fresh page holds: so every article comes to its end.
bool CStListExport::WriteArticle(const CArticle& article) {
    std::wstring rest = article.m_text.str();
    bool split = false;
    bool first = true;
    int previousPiece = kMaxPieceLines;
    for (;;) {
        if (!m_pageOpen) StartPage();
        const int lines = LineCount(rest);
        split = split || lines > Capacity() || lines > kMaxPieceLines;
        if (!split) {
            if (lines <= m_linesLeft) return WriteRow(article, CString(rest), true);
            FillPage();
            if (!EndPage()) return false;
            continue;
        }
        const int piece = std::min({m_linesLeft >= kFewestLinesForPiece ? m_linesLeft : Capacity(), kMaxPieceLines,
                                    previousPiece});
        if (piece > m_linesLeft) {
            FillPage();
            if (!EndPage()) return false;
            continue;
        }
        std::wstring text;
        if (lines <= piece) {
            text = WithoutOuterLineFeeds(rest);
            rest.clear();
        } else {
            size_t cut = 0;
            for (int feeds = 0; feeds < piece; ++feeds) cut = rest.find(L'\n', feeds ? cut + 1 : 0);
            text = WithoutOuterLineFeeds(rest.substr(0, cut));
            rest = WithoutOuterLineFeeds(rest.substr(cut + 1));
        }
        previousPiece = piece;
        if (!WriteRow(article, CString(text), first)) return false;
        first = false;
        if (rest.empty()) return true;
    }
}

// One row: the template's data row, as high as *text* has lines, with the
// article's values (only the text unless *all*).
bool CStListExport::WriteRow(const CArticle& article, const CString& text, bool all) {
    const int lines = LineCount(text.str());
    m_linesLeft -= lines;
    if (!qx::detail::PasteDataRow(m_tables.columns, m_layout.columnCount, m_tables.output, m_outputRow,
                                  L"Die Bezeichner aus Tabelle \"SpaltenInhalt\" konnten nicht kopiert werden...",
                                  L"Die Bezeichner aus Tabelle \"SpaltenInhalt\" konnten nicht eingefügt werden...")) {
        return false;
    }
    m_tables.output.SetHeight(lines * m_dataRowHeight, m_outputRow);
    try {
        for (int i = 0; i < std::min(m_layout.columnCount, static_cast<int>(kSlots)); ++i) {
            const CString& slot = m_slots[i];
            COleVariant value;
            if (slot == L"TEXT") {
                value = TextValue(text);
            } else if (!all || slot.IsEmpty()) {
                // left empty
            } else if (slot == L"POS") {
                if (article.m_nPos >= 0) value = COleVariant(static_cast<std::int32_t>(article.m_nPos));
            } else if (slot == L"MENGE") {
                value = NumberValue(article.m_dQuantity);
            } else if (slot == L"PREIS") {
                value = NumberValue(article.m_dPrice);
            } else {
                value = TextValue(slot == L"EINHEIT" ? article.m_unit : slot == L"ARTNR" ? article.m_articleNo : article.m_currency);
            }
            m_tables.output.SetValueAt(value, i, m_outputRow);
        }
    } catch (const COleDispatchException&) {
        ShowExportMessage(L"Schreibzugriff auf Tabelle \"Stueckliste\" fehlgeschlagen", MB_OK);
        return false;
    }
    ++m_outputRow;
    return m_linesLeft > 0 || EndPage();
}
