// The spreadsheet automation classes the family's exports are written
// against: the application (CMSExcel2k), a workbook, a workbook's sheets and
// one sheet addressed by zero-based column and row or by cell name. Here
// they drive the library's own spreadsheet engine (qx/platform/sheet) in
// the process instead of a spreadsheet program, with the same calls, the
// same order and the same errors: a failed call throws COleDispatchException,
// which the callers catch as they always did.
#pragma once

#include <memory>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/exceptions.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/variant.h"

namespace qx::sheet {
class Engine;
class Workbook;
class Sheet;
}  // namespace qx::sheet

class CWorkbook;

// A sheet as the automation calls hand it on: the sheet and the engine it
// belongs to (whose clipboard copy and paste use). Null when there is none.
struct SheetRef {
    qx::sheet::Engine* engine = nullptr;
    qx::sheet::Sheet* sheet = nullptr;
    explicit operator bool() const { return sheet != nullptr; }
};

class QX_API CMSExcel2k {
public:
    CMSExcel2k();
    virtual ~CMSExcel2k();
    CMSExcel2k(const CMSExcel2k&) = delete;
    CMSExcel2k& operator=(const CMSExcel2k&) = delete;

    // Starts the engine: 1 when it runs, 0 when it cannot be started (no
    // message: the caller shows its own).
    int RunMSExcel();
    bool IsRunning() const { return engine_ != nullptr; }
    // The workbook collection's Add: a new workbook made from *templatePath*
    // (a workbook or template; .xls and .xlt through LibreOffice) into
    // *workbook*. Throws COleDispatchException (the engine's reason as its
    // description) when the template cannot be opened.
    void AddWorkbook(CWorkbook& workbook, const CString& templatePath);

    // While set, RunMSExcel fails as when the application cannot be
    // created, so that the callers' messages can be tested.
    static void SetStartFailsForTesting(bool fails);

protected:
    std::unique_ptr<qx::sheet::Engine> engine_;
};

class QX_API CWorkbook {
public:
    CWorkbook();
    ~CWorkbook();
    CWorkbook(const CWorkbook&) = delete;
    CWorkbook& operator=(const CWorkbook&) = delete;

    // Closes the workbook; with *saveChanges* true it is saved as
    // *fileName* first. A failed save shows "Speichern der Excel-Datei
    // \"%s\" fehlgeschlagen..." (translated, stop icon) and is not passed on.
    void Close(const wchar_t* fileName, const VARIANT& saveChanges, const VARIANT& routeWorkbook);
    bool IsOpen() const { return book_ != nullptr; }

    static const COleVariant m_covTRUE;
    static const COleVariant m_covFALSE;

private:
    friend class CMSExcel2k;
    friend class CWorksheets;
    qx::sheet::Engine* engine_ = nullptr;
    qx::sheet::Workbook* book_ = nullptr;
};

class QX_API CWorksheets {
public:
    // The sheets of *workbook* (its GetSheets).
    void AttachSheets(const CWorkbook& workbook);
    // The sheet whose name equals *name* exactly (letter case counts), else
    // none.
    SheetRef GetItem(const CString& name);
    // The sheet at 1-based *position*; throws when there is none.
    SheetRef GetItem(short position);
    long GetCount() const;
    // A new sheet after the last; throws when it cannot be added.
    SheetRef Add();

private:
    qx::sheet::Engine* engine_ = nullptr;
    qx::sheet::Workbook* book_ = nullptr;
};

class QX_API CWorksheet {
public:
    void Attach(SheetRef sheet) { sheet_ = sheet; }
    bool IsAttached() const { return static_cast<bool>(sheet_); }

    // These pass the automation error on (COleDispatchException).
    void SetName(CString name);
    const CString& GetName() const { return m_name; }
    void GetValueAt(COleVariant& value, long col, long row);
    void GetValueAt(COleVariant& value, COleVariant cellName);
    void SetValueAt(COleVariant& value, long col, long row);
    void SetValueAt(COleVariant& value, COleVariant cellName);
    // The width of column *col*, the height of row *row*.
    double GetWidth(long col);
    double GetHeight(long row);
    // Makes the sheet the workbook's active one and *cellName* its
    // selected cell.
    void Select(COleVariant cellName);

    // These give 1, or 0 when the call failed.
    int SetWidth(double width, long col);
    int SetHeight(double height, long row);
    // Puts the range from *from* to *to* on the engine's clipboard.
    int Copy(COleVariant from, COleVariant to);
    // Pastes the clipboard with its top-left cell at *at*.
    int Paste(COleVariant at);

    // The cell name of zero-based *col* and *row*: A1, Z10, AA1, ...;
    // two letters at most, so columns from 702 on are outside its range.
    static CString IndexToString(long col, long row);

private:
    qx::sheet::Sheet& Sheet();
    SheetRef sheet_;
    CString m_name;
};
