// The spreadsheet parts list: a list of articles written into the table
// "Stueckliste" of a workbook made from a base template, laid out in pages
// by a format template with the same tables as the list export
// (qx/export/excel_list_export.h): "KopfSeite1", "KopfFolgende",
// "Fussleiste", "Variablen" and "SpaltenInhalt", all required here.
//
// The columns are fixed: cells C4 to I4 of "SpaltenInhalt" assign to the
// printable columns, in any case, the identifiers POS (the position, an
// integer), MENGE (the quantity), EINHEIT, TEXT (with its line feeds),
// ARTNR, PREIS and WAEHRUNG; an empty cell leaves its column empty. An
// identifier beyond the printable columns asks once whether to go on.
// Every layout value is required: footer and header rows a number >= 0 (or
// empty), printable columns and printable rows of both page kinds a number
// >= 1.
//
// Paging: a page begins with its header when there is an article for it,
// takes articles while they fit (one row each, as high as the article has
// lines), is filled to its full length with empty rows and ends with the
// footer, which so always stands at the page bottom. An article longer than
// a page, or than 20 lines, is written in pieces of at most 20 lines, each
// as long as the lines left on the page (a page's worth when fewer than 5
// are left) and never longer than the piece before; only the first piece
// shows the other columns, the others the text alone.
//
// Decided where the family's rules were open or at fault:
// - The caller's list is left as it is: the pieces are made while the
//   article is written (the family put pieces it allocated into the
//   caller's list in place of the article, which then neither the caller
//   nor the list owned), and each piece is cut to what the page it lands on
//   holds, so a piece always finds room.
// - Values that are none (a negative position, quantity or price) are
//   written as empty cells, not as -1; an empty text as a single space, as
//   the list export writes it.
// - Columns beyond the seven slots are left as the template row makes them.
// - The project placeholders of each table are replaced over that table's
//   own rows, as in the list export.
// - A workbook that cannot be saved gives 0 (the family reported success
//   after the save had failed).
// - An existing output file is checked to be replaceable instead of being
//   deleted first: the saved workbook replaces it whole, and a failed export
//   leaves it as it was (the family had deleted it before anything else).
// - An empty list gives the base template's "Stueckliste" without header or
//   footer.
#pragma once

#include "qx/export/ms_excel.h"
#include "qx/export/sheet_export_tables.h"
#include "qx/export/st_list.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class CProgressCtrl;

class QX_API CStListExport {
public:
    CStListExport();
    virtual ~CStListExport();
    CStListExport(const CStListExport&) = delete;
    CStListExport& operator=(const CStListExport&) = delete;

    // Writes *list* into *outputFile* (an existing file is replaced): 1 when
    // it was written, else 0 after one message. *baseTemplate* must hold a
    // table "Stueckliste". *project* and *progress* may be null; the
    // progress bar runs from 0 to the articles + 10: 2, 4, 6, 8 and 10 as the
    // templates, tables, layout values and column widths are done, then one
    // step per article.
    int CreateStList(CStList& list, const CString& outputFile, const CString& formatTemplate, const CString& baseTemplate,
                     CProjectInfo* project, CProgressCtrl* progress);

    static constexpr int kSlots = 7;

private:
    bool OpenTemplates(const CString& formatTemplate, const CString& baseTemplate, CProgressCtrl* progress);
    bool OpenTables();
    bool ReadLayout();
    bool ReadColumnAssignment();
    bool ReplacePlaceholders(const CProjectInfo& project);
    bool WriteArticles(const CStList& list, CProgressCtrl* progress);
    bool WriteArticle(const CArticle& article);
    bool WriteRow(const CArticle& article, const CString& text, bool all);
    void StartPage();
    void FillPage();
    bool EndPage();
    int Capacity() const;

    qx::SheetExportTables m_tables;
    CString m_message;

    // The identifiers, and the one assigned to each slot ("" for none).
    CString m_identifiers[kSlots];
    CString m_slots[kSlots];

    qx::SheetExportLayout m_layout;

    // Paging while the articles are written.
    double m_dataRowHeight = 0;
    int m_page = 0;
    bool m_pageOpen = false;
    int m_linesLeft = 0;
    long m_outputRow = 0;
};
