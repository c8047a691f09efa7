// CPrintEngine: composes report pages from a layout file and data trees into
// page files, then draws them on a printer or preview context or writes them
// as fixed-width text.
//
//   CPrintEngine* engine = CPrintEngine::newInstance();
//   engine->SetEngineDC(&printerDc);
//   engine->SetMaskFilePath(L"C:\\Reports\\Liste.prx");
//   engine->SetDataPtr(&data);
//   engine->WriteTempFile(0);
//   for (int page = 0; page < engine->GetPageCount(); ++page) {
//       engine->SetCurPage(page);
//       engine->RenderPage(0, 0);
//   }
//   delete engine;  // deletes the page files
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/print/data_tree.h"

class CDC;

namespace qx {
struct PrintEngineState;
}

class QX_API CPrintEngine {
public:
    static CPrintEngine* newInstance();
    virtual ~CPrintEngine();
    CPrintEngine(const CPrintEngine&) = delete;
    CPrintEngine& operator=(const CPrintEngine&) = delete;

    // The context that gives the page size and is drawn on; returns the
    // previous one. Not owned.
    CDC* SetEngineDC(CDC* dc);
    // Empties the list of data trees. Takes the layout file when it can be
    // read (1), else keeps the previous one (0). Names ending in ".prx" are
    // read scrambled.
    int SetMaskFilePath(CString path);
    // Appends a data tree (not owned); its children are the records of the
    // layout's sections in order.
    void SetDataPtr(CDataTree* tree);
    CDataTree* GetDataPtr();

    // Composes every page into page files and records *page* as the current
    // page number; no page is loaded. Returns 1, or 0 when the job cannot be
    // composed: the layout makes no page (it cannot be read, its version is
    // below 2.0, it has no section) or a part finds no room between the page
    // header and footer. Then no page is left and GetComposeError says why.
    // A malformed layout throws CInvalidArgException.
    int WriteTempFile(int page);
    // Why the last WriteTempFile returned 0 (an English text); empty after
    // one that succeeded.
    CString GetComposeError() const;
    int GetPageCount();
    // Loads page *page* (0-based) when it exists; a negative number throws
    // CInvalidArgException.
    void SetCurPage(int page);
    // Draws the current page on the engine context: a preview directly in
    // engine units (the caller's mapping), a printer through a recording
    // played into the printable area, keeping the page's proportions unless
    // *stretch*. *pageOffset* is added to every page number shown.
    void RenderPage(int stretch, int pageOffset);
    // Writes every page as fixed-width text (UTF-8) to *path*, after the
    // file's old lines when *append*; the page files are deleted afterwards.
    // Page numbers take the offset of the last RenderPage (a RenderPage
    // without an engine context only sets it).
    void OutputToTextFile(const wchar_t* path, int append);

private:
    CPrintEngine();
    std::unique_ptr<qx::PrintEngineState> state_;
};
