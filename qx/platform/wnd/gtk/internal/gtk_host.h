// The GTK 3 UI host of the plugin libqxbase-gtk.so: every top-level window of
// the model is a GtkWindow holding a GtkFixed, and every child window a
// native widget placed on it at the model's pixel position (children of
// children too, relative to the top-level's client area). What the model
// changes reaches the widgets before GTK next draws; what the user does
// comes back as the model's messages. The plugin sees the model only
// through the library's public functions.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

#include "qx/platform/wnd/print_dialog.h"
#include "qx/platform/wnd/ui_host.h"

namespace qx::gtk {

// The widgets one model window is shown as.
struct View {
    HWND hwnd = nullptr;
    HWND top = nullptr;  // the top-level window whose GtkWindow holds it
    // ControlKind and the variant the widget was made for ("edit multiline",
    // "combo entry", ...); a window whose shape changes is made anew.
    std::string shape;
    std::string kind;
    GtkWidget* outer = nullptr;   // on the GtkFixed (a top-level: its GtkWindow)
    GtkWidget* widget = nullptr;  // the widget itself, inside outer for lists and text views
    GtkWidget* fixed = nullptr;   // a top-level's GtkFixed
    GtkWidget* canvas = nullptr;  // where the window's own WM_PAINT draws, if anywhere
    GtkListStore* store = nullptr;
    // What was last put on the widgets, so that only changes are applied.
    CRect placed{-1, -1, -1, -1};
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::pair<std::wstring, int>> columns;
};

class GtkHost : public UiHost {
public:
    GtkHost();
    ~GtkHost() override;
    GtkHost(const GtkHost&) = delete;
    GtkHost& operator=(const GtkHost&) = delete;

    const char* Name() const override { return "gtk"; }
    void WindowShown(HWND topLevel) override;
    void WindowHidden(HWND topLevel) override;
    void WindowDestroyed(HWND hwnd) override;
    void WindowChanged(HWND hwnd) override;
    void RepaintRequested(HWND hwnd) override;
    void RunModalLoop(HWND dialog) override;
    void Flush() override;
    // gtk_print_dialog.cpp: the desktop's print dialog.
    PrintDialogResult RunPrintDialog(HWND owner, const CString& documentName) override;

    // The one host of the process, for GTK's callbacks; null when none.
    static GtkHost* Instance();
    View* Find(HWND hwnd);
    // Whether the host is putting the model's state on the widgets: the
    // signals that fires are no user's doing.
    bool Updating() const { return updating_ > 0; }
    // Applies the model's pending changes to the widgets.
    void SyncPending();

private:
    View& EnsureTop(HWND topLevel);
    View* EnsureChild(HWND hwnd);
    void SyncTop(View& view);
    void SyncChild(View& view);
    void SyncDefaultButton(View& top);
    void Forget(HWND hwnd);

    std::map<HWND, View> views_;
    std::vector<HWND> pending_;
    int updating_ = 0;
    GtkCssProvider* css_ = nullptr;

    friend class UpdateScope;
};

// Marks the host as putting the model on the widgets while it lives.
class UpdateScope {
public:
    explicit UpdateScope(GtkHost& host) : host_(host) { ++host_.updating_; }
    ~UpdateScope() { --host_.updating_; }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    GtkHost& host_;
};

// Text between the model (UTF-16/32 wide text, "\r\n" line ends, '&' before
// a mnemonic) and GTK (UTF-8, "\n", '_').
std::string Utf8(const std::wstring& text);
std::wstring Wide(const char* utf8);
std::string GtkMnemonicLabel(const std::wstring& label);

// gtk_widgets.cpp: the widget a child window of *view.kind* is shown as,
// with its input connected; and the model's state put on it.
std::string ShapeOf(HWND hwnd);
void MakeWidget(View& view);
void SyncWidget(View& view);

// gtk_input.cpp: the user's doing on a view's widgets, as the model's
// messages.
void ConnectInput(View& view);
void ConnectTopInput(View& view);
gboolean DrawCanvas(GtkWidget* widget, cairo_t* cr, gpointer hwnd);

}  // namespace qx::gtk
