// What both template-driven spreadsheet exports (the list export and the
// parts list) hold while they write: the spreadsheet application, the
// format template and the output workbook with their sheet collections, the
// format template's tables and the output table, and the layout values read
// from "Variablen". Members are destroyed in reverse order: the tables
// before their workbooks, the application last.
#pragma once

#include "qx/export/ms_excel.h"

namespace qx {

struct SheetExportTables {
    CMSExcel2k excel;
    CWorkbook formatBook;
    CWorkbook outputBook;
    CWorksheets formatSheets;
    CWorksheets outputSheets;
    CWorksheet headerFirst;  // "KopfSeite1"
    CWorksheet headerNext;   // "KopfFolgende"
    CWorksheet footer;       // "Fussleiste"
    CWorksheet variables;    // "Variablen"
    CWorksheet columns;      // "SpaltenInhalt"
    CWorksheet output;
};

// The layout values of "Variablen".
struct SheetExportLayout {
    int columnCount = 0;
    int footerLines = 0;
    int headerFirstRows = 0;
    int headerNextRows = 0;
    int rowsFirstPage = 0;
    int rowsNextPages = 0;
};

}  // namespace qx
