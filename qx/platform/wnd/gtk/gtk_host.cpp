// The GTK host: top-level windows, the modal loop and the plugin's entry
// point.
#include "qx/platform/wnd/gtk/internal/gtk_host.h"

#include <algorithm>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/wnd/control_view.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace qx::gtk {
namespace {

GtkHost* theHost = nullptr;

// The model lays its controls out in pixels for its own font (the default
// GUI font unless a dialog names another); the theme's larger font, padding
// and minimum heights would make the widgets taller than the room the model
// gives them, and they would overlap.
std::string StyleSheet() {
    const LOGFONT& font = DefaultGuiFont().Description();
    const int pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight > 0 ? font.lfHeight * 4 / 5 : 11;
    return ".qx-model { font-size: " + std::to_string(std::clamp(pixels, 6, 72)) + "px; }\n" R"(
button.qx-model, entry.qx-model, combobox.qx-model button, combobox.qx-model entry {
  min-height: 0; min-width: 0; padding-top: 0; padding-bottom: 0;
}
checkbutton.qx-model, radiobutton.qx-model { min-height: 0; padding-top: 0; padding-bottom: 0; }
progressbar.qx-model trough, progressbar.qx-model progress { min-height: 0; }
)";
}

// Done once an iteration of GTK's loop, so that the modal loop wakes for
// the model's timers and posted messages.
gboolean KeepAwake(gpointer) { return G_SOURCE_CONTINUE; }

bool IsTopLevel(HWND hwnd) { return !(GetWindowLongPtr(hwnd, GWL_STYLE) & WS_CHILD); }

// The window's rectangle relative to the client area of *top*.
CRect RectInTop(HWND hwnd, HWND top) {
    CRect rect;
    GetWindowRect(hwnd, &rect);
    CPoint origin;
    ClientToScreen(top, &origin);
    rect.OffsetRect(-origin.x, -origin.y);
    return rect;
}

// Enabled itself and every parent up to (not including) the top-level: a
// control in a disabled page takes no input.
bool TakesInput(HWND hwnd) {
    for (HWND h = hwnd; h && !IsTopLevel(h); h = GetParent(h)) {
        if (!IsWindowEnabled(h)) return false;
    }
    return true;
}

BOOL CollectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND hwnd) {
    std::vector<HWND> children;
    EnumChildWindows(hwnd, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

void OnWindowGone(GtkWidget*, gpointer hwnd) {
    // GTK destroyed the window on its own (the display went away): the
    // views must not be used any more.
    if (GtkHost* host = GtkHost::Instance()) host->WindowDestroyed(static_cast<HWND>(hwnd));
}

}  // namespace

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

std::wstring Wide(const char* utf8) { return utf8 ? Utf8ToWide(utf8) : std::wstring(); }

std::string GtkMnemonicLabel(const std::wstring& label) {
    std::wstring out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&') {
            if (i + 1 < label.size() && label[i + 1] == L'&') {
                out += L'&';
                ++i;
            } else if (i + 1 < label.size()) {
                out += L'_';
            }
        } else if (label[i] == L'_') {
            out += L"__";
        } else {
            out += label[i];
        }
    }
    return Utf8(out);
}

GtkHost::GtkHost() {
    theHost = this;
    css_ = gtk_css_provider_new();
    const std::string css = StyleSheet();
    gtk_css_provider_load_from_data(css_, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css_),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

GtkHost::~GtkHost() {
    std::vector<HWND> tops;
    for (const auto& [hwnd, view] : views_) {
        if (view.kind == "top") tops.push_back(hwnd);
    }
    for (HWND top : tops) Forget(top);
    gtk_style_context_remove_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css_));
    g_object_unref(css_);
    if (theHost == this) theHost = nullptr;
}

GtkHost* GtkHost::Instance() { return theHost; }

View* GtkHost::Find(HWND hwnd) {
    auto it = views_.find(hwnd);
    return it == views_.end() ? nullptr : &it->second;
}

View& GtkHost::EnsureTop(HWND topLevel) {
    if (View* view = Find(topLevel)) return *view;
    View& view = views_[topLevel];
    view.hwnd = view.top = topLevel;
    view.kind = view.shape = "top";
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    view.outer = view.widget = window;
    view.fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(window), view.fixed);
    // Windows of the family's own classes paint their client area; a dialog
    // shows GTK's background.
    wchar_t className[64] = {};
    GetClassName(topLevel, className, 64);
    if (std::wstring_view(className) != L"#32770") {
        view.canvas = gtk_drawing_area_new();
        gtk_fixed_put(GTK_FIXED(view.fixed), view.canvas, 0, 0);
        gtk_widget_show(view.canvas);
    } else {
        gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    }
    const LONG_PTR exStyle = GetWindowLongPtr(topLevel, GWL_EXSTYLE);
    if (exStyle & WS_EX_TOOLWINDOW) gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_UTILITY);
    if (exStyle & WS_EX_TOPMOST) gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);
    if (View* owner = Find(GetWindow(topLevel, GW_OWNER)); owner && owner->kind == "top") {
        gtk_window_set_transient_for(GTK_WINDOW(window), GTK_WINDOW(owner->outer));
    }
    g_object_set_data(G_OBJECT(window), "qx-hwnd", topLevel);
    g_signal_connect(window, "destroy", G_CALLBACK(OnWindowGone), topLevel);
    ConnectTopInput(view);
    gtk_widget_show(view.fixed);
    {
        UpdateScope updating(*this);
        SyncTop(view);
    }
    for (HWND child : Descendants(topLevel)) EnsureChild(child);
    return views_[topLevel];
}

View* GtkHost::EnsureChild(HWND hwnd) {
    HWND top = GetTopLevelWindow(hwnd);
    View* topView = Find(top);
    if (!topView || top == hwnd) return nullptr;
    View* view = Find(hwnd);
    // A window moved to another top-level or made into another kind of
    // control is shown anew.
    if (view && (view->top != top || view->shape != ShapeOf(hwnd))) {
        Forget(hwnd);
        view = nullptr;
    }
    if (!view) {
        view = &views_[hwnd];
        view->hwnd = hwnd;
        view->top = top;
        view->kind = ControlKind(hwnd);
        view->shape = ShapeOf(hwnd);
        {
            UpdateScope updating(*this);
            MakeWidget(*view);
        }
        g_object_set_data(G_OBJECT(view->outer), "qx-hwnd", hwnd);
        gtk_style_context_add_class(gtk_widget_get_style_context(view->outer), "qx-model");
        gtk_style_context_add_class(gtk_widget_get_style_context(view->widget), "qx-model");
        gtk_fixed_put(GTK_FIXED(Find(top)->fixed), view->outer, 0, 0);
        ConnectInput(*view);
    }
    UpdateScope updating(*this);
    SyncChild(*view);
    return view;
}

void GtkHost::SyncTop(View& view) {
    GtkWindow* window = GTK_WINDOW(view.outer);
    const std::string title = Utf8(WindowTextOf(view.hwnd));
    if (const char* now = gtk_window_get_title(window); !now || title != now) gtk_window_set_title(window, title.c_str());
    CRect frame, client;
    GetWindowRect(view.hwnd, &frame);
    GetClientRect(view.hwnd, &client);
    const bool resizable = (GetWindowLongPtr(view.hwnd, GWL_STYLE) & WS_THICKFRAME) != 0;
    gtk_window_set_resizable(window, resizable);
    const CRect placed(frame.left, frame.top, frame.left + client.Width(), frame.top + client.Height());
    if (placed != view.placed) {
        // A fixed size holds the window at the model's client size; one that
        // can be resized only starts there.
        gtk_widget_set_size_request(view.fixed, resizable ? -1 : std::max(client.Width(), 1),
                                    resizable ? -1 : std::max(client.Height(), 1));
        gtk_window_resize(window, std::max(client.Width(), 1), std::max(client.Height(), 1));
        // The window manager puts its frame where the model's frame is.
        gtk_window_move(window, frame.left, frame.top);
        if (view.canvas) gtk_widget_set_size_request(view.canvas, std::max(client.Width(), 1), std::max(client.Height(), 1));
        view.placed = placed;
    }
    SyncDefaultButton(view);
}

void GtkHost::SyncDefaultButton(View& top) {
    const LRESULT def = SendMessage(top.hwnd, DM_GETDEFID);
    View* button = HIWORD(static_cast<std::uintptr_t>(def)) == DC_HASDEFID
                       ? Find(GetDlgItem(top.hwnd, LOWORD(static_cast<std::uintptr_t>(def))))
                       : nullptr;
    GtkWidget* widget = button && button->kind == "button" ? button->widget : nullptr;
    if (gtk_window_get_default_widget(GTK_WINDOW(top.outer)) != widget) gtk_window_set_default(GTK_WINDOW(top.outer), widget);
}

void GtkHost::SyncChild(View& view) {
    const CRect rect = RectInTop(view.hwnd, view.top);
    if (rect != view.placed) {
        gtk_fixed_move(GTK_FIXED(Find(view.top)->fixed), view.outer, rect.left, rect.top);
        // A combo box's rectangle holds its dropped list too; the field is
        // as high as GTK makes it.
        const int height = view.kind == "combo" ? -1 : std::max(rect.Height(), 1);
        gtk_widget_set_size_request(view.outer, std::max(rect.Width(), 1), height);
        view.placed = rect;
    }
    gtk_widget_set_visible(view.outer, IsWindowVisible(view.hwnd));
    gtk_widget_set_sensitive(view.outer, TakesInput(view.hwnd));
    SyncWidget(view);
    if (GetFocus() == view.hwnd) {
        // A combo box is not focusable itself; it hands the focus to its
        // button or field.
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(Find(view.top)->outer));
        const bool holds = focus && (focus == view.outer || gtk_widget_is_ancestor(focus, view.outer));
        if (!holds && (view.kind == "combo" || gtk_widget_get_can_focus(view.widget))) gtk_widget_grab_focus(view.widget);
    }
}

void GtkHost::Forget(HWND hwnd) {
    // The views go first, so that the signals GTK sends while it takes the
    // widgets apart find nothing to send on to the model.
    std::vector<GtkWidget*> widgets;
    std::vector<GtkListStore*> stores;
    const bool top = Find(hwnd) && Find(hwnd)->kind == "top";
    for (auto it = views_.begin(); it != views_.end();) {
        const View& view = it->second;
        const bool gone = view.hwnd == hwnd || (top && view.top == hwnd) || (!top && IsChild(hwnd, view.hwnd));
        if (!gone) {
            ++it;
            continue;
        }
        if (view.hwnd == hwnd || !top) widgets.push_back(view.outer);
        if (view.store) stores.push_back(view.store);
        it = views_.erase(it);
    }
    std::erase(pending_, hwnd);
    for (GtkWidget* widget : widgets) {
        if (GTK_IS_WINDOW(widget)) g_signal_handlers_disconnect_by_func(widget, reinterpret_cast<gpointer>(OnWindowGone), hwnd);
        if (!gtk_widget_in_destruction(widget)) gtk_widget_destroy(widget);
    }
    for (GtkListStore* store : stores) g_object_unref(store);
}

void GtkHost::WindowShown(HWND topLevel) {
    View& view = EnsureTop(topLevel);
    gtk_widget_show(view.outer);
    gtk_window_present(GTK_WINDOW(view.outer));
    WindowChanged(topLevel);
}

void GtkHost::WindowHidden(HWND topLevel) {
    if (View* view = Find(topLevel)) gtk_widget_hide(view->outer);
    gdk_display_flush(gdk_display_get_default());
}

void GtkHost::WindowDestroyed(HWND hwnd) {
    if (!Find(hwnd) && IsTopLevel(hwnd)) return;
    Forget(hwnd);  // and the views of its children
    // The window leaves the screen now, not when GTK next runs.
    gdk_display_flush(gdk_display_get_default());
}

void GtkHost::WindowChanged(HWND hwnd) {
    // Applied before GTK next draws: a burst of changes (a list filled
    // entry by entry) costs one update of the widgets.
    if (std::find(pending_.begin(), pending_.end(), hwnd) == pending_.end()) pending_.push_back(hwnd);
}

void GtkHost::SyncPending() {
    // Bounded: a window procedure that changes something whenever it is
    // asked for its state must not keep the host here.
    for (int round = 0; round < 4 && !pending_.empty(); ++round) {
        std::vector<HWND> pending;
        pending.swap(pending_);
        for (HWND hwnd : pending) {
            if (!IsWindow(hwnd)) continue;
            if (IsTopLevel(hwnd)) {
                if (View* view = Find(hwnd)) {
                    UpdateScope updating(*this);
                    SyncTop(*view);
                }
                continue;
            }
            // A move, a hide or a disabling reaches the children too.
            EnsureChild(hwnd);
            for (HWND child : Descendants(hwnd)) EnsureChild(child);
            // A button that became the default one.
            if (View* top = Find(GetTopLevelWindow(hwnd)); top && std::string_view(ControlKind(hwnd)) == "button") {
                UpdateScope updating(*this);
                SyncDefaultButton(*top);
            }
        }
    }
}

void GtkHost::RepaintRequested(HWND hwnd) {
    View* view = Find(hwnd);
    if (view && view->canvas && gtk_widget_get_mapped(view->canvas)) {
        gtk_widget_queue_draw(view->canvas);
        return;
    }
    UiHost::RepaintRequested(hwnd);
}

void GtkHost::RunModalLoop(HWND dialog) {
    PumpMessages();
    if (IsModalLoopEnded(dialog)) return;
    View& view = EnsureTop(dialog);
    GtkWindow* window = GTK_WINDOW(view.outer);
    gtk_window_set_modal(window, TRUE);
    gtk_widget_show(view.outer);
    gtk_window_present(window);
    const guint awake = g_timeout_add(10, KeepAwake, nullptr);
    while (!IsModalLoopEnded(dialog)) {
        SyncPending();
        g_main_context_iteration(nullptr, TRUE);
        PumpMessages();
    }
    g_source_remove(awake);
    SyncPending();
    if (View* still = Find(dialog)) gtk_window_set_modal(GTK_WINDOW(still->outer), FALSE);
}

void GtkHost::Flush() {
    SyncPending();
    // Bounded, so that a stream of events cannot keep the program here.
    for (int i = 0; i < 1000 && gtk_events_pending(); ++i) {
        gtk_main_iteration_do(FALSE);
        SyncPending();
    }
}

}  // namespace qx::gtk

// The plugin's one entry point, looked up by the library's loader: the
// host, or null when GTK cannot open the display.
extern "C" __attribute__((visibility("default"))) qx::UiHost* qx_create_gtk_host() {
    // GTK would set the process's locale from the environment, under a
    // library whose number and date formats rely on the one the program set.
    static bool localeKept = (gtk_disable_setlocale(), true);
    (void)localeKept;
    if (!gtk_init_check(nullptr, nullptr)) return nullptr;
    return new qx::gtk::GtkHost();
}
