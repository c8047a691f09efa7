// The template-driven spreadsheet list export: a list of rows with named
// cells, written into a workbook made from a base template and laid out in
// pages by a format template whose tables hold the page-1 header
// ("KopfSeite1"), the header of the following pages ("KopfFolgende"), the
// footer ("Fussleiste"), the layout values ("Variablen") and the column
// assignment with a formatted data row ("SpaltenInhalt").
//
// Decided where the family left it open: the project placeholders of each
// header and footer table are replaced over that table's own row count (the
// family scanned every table over the page-1 header's rows, so a longer
// footer kept its placeholders). A page that ends early gets a filler row
// on which the footer begins, as before.
#pragma once

#include "qx/export/excel_rows.h"
#include "qx/export/ms_excel.h"
#include "qx/export/sheet_export_tables.h"
#include "qx/platform/base/array.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class CProgressCtrl;

class QX_API CExcelListExport {
public:
    CExcelListExport();
    virtual ~CExcelListExport();
    CExcelListExport(const CExcelListExport&) = delete;
    CExcelListExport& operator=(const CExcelListExport&) = delete;

    // Writes *rows* into *outputFile*; true when the file was written. Every
    // failure shows one message and gives false, a failed save too (the
    // family reported true after its save message). *pageCount* grows by the
    // pages written; with *append* and an earlier *pageCount* above 1 the
    // earlier output is the base of the new one (its tables are kept).
    bool doExport(CExcelRowArray& rows, const CString& outputFile, const CString& tableName,
                  const CString& formatTemplate, const CString& baseTemplate, int& pageCount,
                  CExcelProjectInfo* project, CProgressCtrl* progress, bool append);

private:
    bool OpenTemplates(const CString& outputFile, const CString& formatTemplate, const CString& baseTemplate,
                       int pageCount, bool append, CProgressCtrl* progress);
    bool OpenTables(const CString& tableName);
    bool OpenTable(CWorksheets& sheets, const CString& name, CWorksheet& table, bool required);
    bool ReadLayout();
    bool ReadColumnIdentifiers();
    bool ReplacePlaceholders(CExcelProjectInfo& project);
    bool CopyColumnWidths();
    bool WriteRows(CExcelRowArray& rows, CProgressCtrl* progress);
    bool WriteDataRow(CExcelRowArray& rows, int index);
    bool WriteEmptyLine();
    void StartTable(const CString& name);
    void CopyHeader(int page);
    void CopyFooter();
    void EndPage();
    void FillPage();
    bool Save(const CString& outputFile, int& pageCount);

    qx::SheetExportTables m_tables;
    CString m_outputTableName;
    CString m_message;
    CArray<CString> m_columnIds;

    qx::SheetExportLayout m_layout;

    // Paging while the rows are written.
    double m_dataRowHeight = 0;
    int m_page = 0;
    int m_linesLeft = 0;
    int m_linesPerPage = 0;
    long m_outputRow = 0;
};
