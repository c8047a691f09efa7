#include "qx/platform/wnd/print_dialog.h"

#include "qx/platform/wnd/ui_host.h"

namespace qx {

PrintDialogResult ShowPrintDialog(HWND owner, const CString& documentName) {
    return CurrentUiHost().RunPrintDialog(owner, documentName);
}

PrintDialogResult DefaultPrinterChoice() {
    PrinterSettings settings;
    PrintDialogResult result;
    if (PrinterSettingsForQueue(L"", &settings, &result.error)) result.printer = std::make_unique<CPrinterDC>(settings);
    return result;
}

PrintDialogResult UiHost::RunPrintDialog(HWND, const CString&) { return DefaultPrinterChoice(); }

}  // namespace qx
