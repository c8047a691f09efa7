// The UI host: what shows the window model to a user and brings the user's
// input back as the model's messages. One host is installed per process; it
// is chosen on first use from the environment variable QX_UI ("gtk",
// "terminal", "script", "image", "batch" or "auto", the default) unless a
// program or test installs one itself.
//
// auto takes gtk when a display is there and the plugin libqxbase-gtk.so
// loads, else terminal when standard input and standard error are
// terminals, else batch: it answers every modal window with its default
// button and writes "caption: text" to stderr, so that a program without a
// user never blocks.
#pragma once

#include <memory>
#include <string>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

class CDC;
class CString;

namespace qx {

struct PrintDialogResult;

class QX_API UiHost {
public:
    virtual ~UiHost();
    // "gtk", "terminal", "script", "image", "batch".
    virtual const char* Name() const = 0;

    // A top-level window became visible or hidden, or is about to be
    // destroyed (children are destroyed with it).
    virtual void WindowShown(HWND topLevel);
    virtual void WindowHidden(HWND topLevel);
    virtual void WindowDestroyed(HWND hwnd);
    // Something a view of the window shows has changed: text, state,
    // position, items; or a child was created.
    virtual void WindowChanged(HWND hwnd);
    // The window was invalidated and wants WM_PAINT. Hosts that draw call
    // qx::PaintWindow from their own drawing; the default paints at once on
    // a measuring context so the window's paint code runs.
    virtual void RepaintRequested(HWND hwnd);
    // Runs the modal loop of *dialog* until qx::IsModalLoopEnded(dialog).
    // The host delivers input and calls qx::PumpMessages; it must return
    // even when nobody answers (by ending the dialog itself).
    virtual void RunModalLoop(HWND dialog) = 0;
    // Gives the host a moment to show what changed while the program works
    // between messages (a progress window's bar).
    virtual void Flush();
    // Lets *milliseconds* pass on the layer's clock with the messages
    // delivered meanwhile. The default moves the clock on without waiting
    // (nobody looks); a host on a desktop may wait for real.
    virtual void Wait(DWORD milliseconds);
    // Asks for a printer and its settings (qx::ShowPrintDialog). The
    // default answers as the dialog's default button would: the default
    // printer queue (qx::DefaultPrinterChoice).
    virtual PrintDialogResult RunPrintDialog(HWND owner, const CString& documentName);
};

// The host in use; chosen on first call as described above.
QX_API UiHost& CurrentUiHost();
// Installs *host* (nullptr: choose again from the environment on next use)
// and returns the one installed before (may be null when none was chosen).
QX_API std::unique_ptr<UiHost> SetUiHost(std::unique_ptr<UiHost> host);
// The host for a QX_UI value ("" and "auto" choose as described above);
// nullptr for an unknown name or a gtk host that cannot load. *why* says what
// failed.
QX_API std::unique_ptr<UiHost> MakeUiHost(const std::string& name, std::string* why = nullptr);

// Delivers every queued message and due timer; returns how many were
// delivered. Modal loops call it; IsDialogMessage processing for the
// running modal dialogs is included.
QX_API int PumpMessages();
// Whether EndDialog has been called for the modal *dialog* (or it is gone).
QX_API bool IsModalLoopEnded(HWND dialog);
// Lets *milliseconds* pass through the host (UiHost::Wait).
QX_API void WaitFor(DWORD milliseconds);
// Runs WM_PAINT of *hwnd* with *dc* as its paint context; the caller has
// put the context's origin at the window's client origin.
QX_API void PaintWindow(HWND hwnd, CDC& dc);

}  // namespace qx
