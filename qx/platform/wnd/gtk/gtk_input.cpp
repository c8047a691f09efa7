// What the user does to the widgets, as the model's messages: the model
// hears of a click, a typed text or a chosen entry as it would of the
// platform's own controls, and decides. Whatever it made of the input is
// put back on the widgets (a check box the program checks itself stays as
// it was).
#include <cairo.h>

#include <gdk/gdkkeysyms.h>

#include "qx/platform/gfx/cairo_dc.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/control_view.h"
#include "qx/platform/wnd/gtk/internal/gtk_host.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace qx::gtk {
namespace {

HWND Handle(gpointer hwnd) { return static_cast<HWND>(hwnd); }

// The view of *hwnd* when a signal is the user's doing: not fired by the
// host putting the model on the widgets, and for a window still shown.
View* UserView(gpointer hwnd) {
    GtkHost* host = GtkHost::Instance();
    if (!host || host->Updating()) return nullptr;
    View* view = host->Find(Handle(hwnd));
    return view && IsWindow(view->hwnd) ? view : nullptr;
}

// The model's answer goes back on the widgets before GTK next draws.
void ShowModelState(HWND hwnd) {
    if (GtkHost* host = GtkHost::Instance()) host->WindowChanged(hwnd);
}

void NotifyParent(HWND control, WORD code) {
    SendMessage(GetParent(control), WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID(control)), code),
                reinterpret_cast<LPARAM>(control));
}

// A key the dialog manager acts on (Enter presses the default button,
// Escape cancels), queued as the platform queues the user's keys.
void PostKey(HWND target, UINT key) {
    PostMessage(target, WM_KEYDOWN, key, 1);
    PostMessage(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void OnClicked(GtkButton*, gpointer hwnd) {
    if (!UserView(hwnd)) return;
    SendMessage(Handle(hwnd), BM_CLICK);
    ShowModelState(Handle(hwnd));
}

void OnToggled(GtkToggleButton* box, gpointer hwnd) {
    if (!UserView(hwnd)) return;
    const LRESULT check = SendMessage(Handle(hwnd), BM_GETCHECK);
    if (check == BST_INDETERMINATE || static_cast<bool>(gtk_toggle_button_get_active(box)) != (check == BST_CHECKED)) {
        SendMessage(Handle(hwnd), BM_CLICK);
    }
    ShowModelState(Handle(hwnd));
}

void OnEntryChanged(GtkEditable* editable, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    // What the model does with the text may take the view away (the
    // control is destroyed or made anew): only the handle is kept.
    HWND control = view->hwnd;
    const bool combo = view->kind == "combo";
    if (combo && gtk_combo_box_get_active(GTK_COMBO_BOX(view->widget)) >= 0) {
        return;  // an entry was chosen: OnComboChanged tells the model
    }
    const std::wstring text = Wide(gtk_entry_get_text(GTK_ENTRY(editable)));
    if (text != WindowTextOf(control)) {
        SendMessage(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        // An edit notifies EN_CHANGE of WM_SETTEXT itself; a combo box's
        // field changed by typing notifies as typing does.
        if (combo && IsWindow(control)) {
            NotifyParent(control, CBN_EDITUPDATE);
            NotifyParent(control, CBN_EDITCHANGE);
        }
    }
    ShowModelState(control);
}

void OnBufferChanged(GtkTextBuffer* buffer, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    char* shown = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
    std::wstring text;
    for (wchar_t c : Wide(shown)) {
        if (c == L'\n') text += L'\r';
        text += c;
    }
    g_free(shown);
    HWND control = view->hwnd;
    if (text != WindowTextOf(control)) {
        // A multi-line edit does not notify WM_SETTEXT; typing does.
        SendMessage(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (IsWindow(control)) NotifyParent(control, EN_UPDATE);
        if (IsWindow(control)) NotifyParent(control, EN_CHANGE);
    }
    ShowModelState(control);
}

void OnActivate(GtkEntry*, gpointer hwnd) {
    if (UserView(hwnd)) PostKey(Handle(hwnd), VK_RETURN);
}

// Enter in a multi-line edit presses the default button unless the edit
// wants it (ES_WANTRETURN), as in the platform's dialogs.
gboolean OnTextKey(GtkWidget*, GdkEventKey* event, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view || (event->keyval != GDK_KEY_Return && event->keyval != GDK_KEY_KP_Enter)) return FALSE;
    if (GetWindowLongPtr(view->hwnd, GWL_STYLE) & ES_WANTRETURN) return FALSE;
    PostKey(view->hwnd, VK_RETURN);
    return TRUE;
}

void OnComboChanged(GtkComboBox* combo, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    HWND control = view->hwnd;
    const int chosen = gtk_combo_box_get_active(combo);
    if (chosen < 0 || chosen == SendMessage(control, CB_GETCURSEL)) return;
    ChooseEntry(control, chosen);
    ShowModelState(control);
}

void OnPopupShown(GObject* combo, GParamSpec*, gpointer hwnd) {
    if (!UserView(hwnd)) return;
    gboolean shown = FALSE;
    g_object_get(combo, "popup-shown", &shown, nullptr);
    SendMessage(Handle(hwnd), CB_SHOWDROPDOWN, shown ? TRUE : FALSE);
}

// The rows the user has selected, top to bottom.
std::vector<bool> SelectedRows(const View& view) {
    std::vector<bool> selected;
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view.widget));
    GtkTreeIter iter;
    for (gboolean more = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(view.store), &iter); more;
         more = gtk_tree_model_iter_next(GTK_TREE_MODEL(view.store), &iter)) {
        selected.push_back(gtk_tree_selection_iter_is_selected(selection, &iter) != FALSE);
    }
    return selected;
}

void OnListSelection(GtkTreeSelection* selection, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    HWND control = view->hwnd;
    const std::vector<bool> selected = SelectedRows(*view);
    bool changed = false;
    if (gtk_tree_selection_get_mode(selection) == GTK_SELECTION_MULTIPLE) {
        for (size_t row = 0; row < selected.size(); ++row) {
            if ((SendMessage(control, LB_GETSEL, row) > 0) == selected[row]) continue;
            SendMessage(control, LB_SETSEL, selected[row] ? TRUE : FALSE, static_cast<LPARAM>(row));
            changed = true;
        }
    } else {
        for (size_t row = 0; row < selected.size(); ++row) {
            if (!selected[row] || SendMessage(control, LB_GETCURSEL) == static_cast<LRESULT>(row)) continue;
            SendMessage(control, LB_SETCURSEL, row);
            changed = true;
        }
    }
    // As the platform's list box: only one that asks to be told.
    if (changed && IsWindow(control) && (GetWindowLongPtr(control, GWL_STYLE) & LBS_NOTIFY)) NotifyParent(control, LBN_SELCHANGE);
    ShowModelState(control);
}

void OnListViewSelection(GtkTreeSelection*, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    HWND control = view->hwnd;
    const std::vector<bool> selected = SelectedRows(*view);
    // Rows lose the selection before others get it, so that a list view of
    // single selection never has two.
    for (bool select : {false, true}) {
        for (size_t row = 0; row < selected.size() && IsWindow(control); ++row) {
            const bool now = (SendMessage(control, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
            if (selected[row] != select || now == select) continue;
            LVITEM item;
            item.stateMask = select ? (LVIS_SELECTED | LVIS_FOCUSED) : LVIS_SELECTED;
            item.state = select ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
            SendMessage(control, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        }
    }
    ShowModelState(control);
}

void OnRowActivated(GtkTreeView*, GtkTreePath* path, GtkTreeViewColumn*, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    HWND control = view->hwnd;
    if (view->kind == "list") {
        if (GetWindowLongPtr(control, GWL_STYLE) & LBS_NOTIFY) NotifyParent(control, LBN_DBLCLK);
        return;
    }
    const gint* indices = gtk_tree_path_get_indices(path);
    NMITEMACTIVATE activate;
    activate.hdr = {control, static_cast<UINT_PTR>(GetDlgCtrlID(control)), NM_DBLCLK};
    activate.iItem = indices ? indices[0] : -1;
    SendMessage(GetParent(control), WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID(control)), reinterpret_cast<LPARAM>(&activate));
}

// The focus moved inside a window (a click, Tab, a mnemonic): the model's
// focus goes to the control whose widgets hold the new focus widget (a combo
// box's button, a list's tree view inside its scrolled window).
void OnSetFocus(GtkWindow*, GtkWidget* focus, gpointer top) {
    if (!UserView(top)) return;
    for (GtkWidget* widget = focus; widget; widget = gtk_widget_get_parent(widget)) {
        HWND hwnd = static_cast<HWND>(g_object_get_data(G_OBJECT(widget), "qx-hwnd"));
        if (!hwnd) continue;
        if (hwnd != Handle(top) && GetFocus() != hwnd && IsWindow(hwnd)) SetFocus(hwnd);
        return;
    }
}

// The point of a widget's event in the window's client coordinates.
CPoint ClientPoint(const View& view, double x, double y) {
    CPoint point(static_cast<int>(x), static_cast<int>(y));
    if (view.kind == "top") return point;
    // The widget covers the window rectangle; the client area is inside
    // its border.
    CRect rect;
    GetWindowRect(view.hwnd, &rect);
    CPoint client;
    ClientToScreen(view.hwnd, &client);
    return CPoint(point.x - (client.x - rect.left), point.y - (client.y - rect.top));
}

WPARAM MouseKeys(guint state) {
    WPARAM keys = 0;
    if (state & GDK_BUTTON1_MASK) keys |= MK_LBUTTON;
    if (state & GDK_BUTTON3_MASK) keys |= MK_RBUTTON;
    if (state & GDK_BUTTON2_MASK) keys |= MK_MBUTTON;
    if (state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
    if (state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
    return keys;
}

void PostMouse(const View& view, UINT message, WPARAM keys, double x, double y, double rootX, double rootY) {
    const CPoint point = ClientPoint(view, x, y);
    SetCursorPos(static_cast<int>(rootX), static_cast<int>(rootY));
    PostMessage(view.hwnd, message, keys,
                MAKELPARAM(static_cast<unsigned>(point.x) & 0xFFFF, static_cast<unsigned>(point.y) & 0xFFFF));
}

gboolean OnCanvasButton(GtkWidget*, GdkEventButton* event, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view || !IsWindowEnabled(view->hwnd)) return FALSE;
    const bool left = event->button == 1, right = event->button == 3;
    if (!left && !right) return FALSE;
    UINT message = 0;
    if (event->type == GDK_BUTTON_PRESS) message = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
    else if (event->type == GDK_2BUTTON_PRESS) message = left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
    else if (event->type == GDK_BUTTON_RELEASE) message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    else return FALSE;
    WPARAM keys = MouseKeys(event->state);
    // GDK's state is from before the event; the platform's after it.
    const WPARAM own = left ? MK_LBUTTON : MK_RBUTTON;
    keys = message == WM_LBUTTONUP || message == WM_RBUTTONUP ? keys & ~own : keys | own;
    PostMouse(*view, message, keys, event->x, event->y, event->x_root, event->y_root);
    return TRUE;
}

gboolean OnCanvasMotion(GtkWidget*, GdkEventMotion* event, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view || !IsWindowEnabled(view->hwnd)) return FALSE;
    PostMouse(*view, WM_MOUSEMOVE, MouseKeys(event->state), event->x, event->y, event->x_root, event->y_root);
    return TRUE;
}

void ConnectCanvas(GtkWidget* canvas, HWND hwnd) {
    gtk_widget_add_events(canvas, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    g_signal_connect(canvas, "draw", G_CALLBACK(DrawCanvas), hwnd);
    g_signal_connect(canvas, "button-press-event", G_CALLBACK(OnCanvasButton), hwnd);
    g_signal_connect(canvas, "button-release-event", G_CALLBACK(OnCanvasButton), hwnd);
    g_signal_connect(canvas, "motion-notify-event", G_CALLBACK(OnCanvasMotion), hwnd);
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer hwnd) {
    // The model decides: a dialog cancels, another window may refuse. A
    // window disabled under a modal one hears nothing.
    if (IsWindow(Handle(hwnd)) && IsWindowEnabled(Handle(hwnd))) SendMessage(Handle(hwnd), WM_SYSCOMMAND, SC_CLOSE);
    return TRUE;
}

gboolean OnTopKey(GtkWidget*, GdkEventKey* event, gpointer hwnd) {
    if (event->keyval != GDK_KEY_Escape || !UserView(hwnd)) return FALSE;
    HWND top = Handle(hwnd);
    HWND focus = GetFocus();
    PostKey(focus && IsChild(top, focus) ? focus : top, VK_ESCAPE);
    return TRUE;
}

// A window the user may resize tells the model its new client size.
void OnTopAllocated(GtkWidget*, GdkRectangle* allocation, gpointer hwnd) {
    View* view = UserView(hwnd);
    if (!view) return;
    HWND top = view->hwnd;
    const LONG_PTR style = GetWindowLongPtr(top, GWL_STYLE);
    if (!(style & WS_THICKFRAME)) return;
    CRect client;
    GetClientRect(top, &client);
    if (client.Width() == allocation->width && client.Height() == allocation->height) return;
    CRect frame(0, 0, allocation->width, allocation->height);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE, static_cast<DWORD>(GetWindowLongPtr(top, GWL_EXSTYLE)));
    SetWindowPos(top, nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

gboolean DrawCanvas(GtkWidget* widget, cairo_t* cr, gpointer hwnd) {
    HWND window = Handle(hwnd);
    if (!IsWindow(window)) return FALSE;
    // The paint code draws with its origin at the client area's corner.
    CRect rect;
    GetWindowRect(window, &rect);
    CPoint client;
    ClientToScreen(window, &client);
    const bool top = !(GetWindowLongPtr(window, GWL_STYLE) & WS_CHILD);
    cairo_save(cr);
    if (!top) cairo_translate(cr, client.x - rect.left, client.y - rect.top);
    {
        CCairoDC dc(cr, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget), ScreenDpi());
        PaintWindow(window, dc);
    }
    cairo_restore(cr);
    return FALSE;
}

void ConnectInput(View& view) {
    GtkWidget* widget = view.widget;
    HWND hwnd = view.hwnd;
    const std::string& kind = view.kind;
    if (kind == "button") {
        g_signal_connect(widget, "clicked", G_CALLBACK(OnClicked), hwnd);
    } else if (kind == "check" || kind == "radio") {
        g_signal_connect(widget, "toggled", G_CALLBACK(OnToggled), hwnd);
    } else if (kind == "edit" && GTK_IS_TEXT_VIEW(widget)) {
        g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget)), "changed", G_CALLBACK(OnBufferChanged), hwnd);
        g_signal_connect(widget, "key-press-event", G_CALLBACK(OnTextKey), hwnd);
    } else if (kind == "edit") {
        g_signal_connect(widget, "changed", G_CALLBACK(OnEntryChanged), hwnd);
        g_signal_connect(widget, "activate", G_CALLBACK(OnActivate), hwnd);
    } else if (kind == "combo") {
        g_signal_connect(widget, "changed", G_CALLBACK(OnComboChanged), hwnd);
        g_signal_connect(widget, "notify::popup-shown", G_CALLBACK(OnPopupShown), hwnd);
        if (gtk_combo_box_get_has_entry(GTK_COMBO_BOX(widget))) {
            GtkWidget* entry = gtk_bin_get_child(GTK_BIN(widget));
            g_signal_connect(entry, "changed", G_CALLBACK(OnEntryChanged), hwnd);
            g_signal_connect(entry, "activate", G_CALLBACK(OnActivate), hwnd);
        }
    } else if (kind == "list" || kind == "listview") {
        GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(widget));
        g_signal_connect(selection, "changed", G_CALLBACK(kind == "list" ? OnListSelection : OnListViewSelection), hwnd);
        g_signal_connect(widget, "row-activated", G_CALLBACK(OnRowActivated), hwnd);
    }
    if (view.canvas) ConnectCanvas(view.canvas, hwnd);
}

void ConnectTopInput(View& view) {
    g_signal_connect(view.outer, "delete-event", G_CALLBACK(OnDelete), view.hwnd);
    g_signal_connect(view.outer, "key-press-event", G_CALLBACK(OnTopKey), view.hwnd);
    g_signal_connect(view.outer, "set-focus", G_CALLBACK(OnSetFocus), view.hwnd);
    g_signal_connect(view.fixed, "size-allocate", G_CALLBACK(OnTopAllocated), view.hwnd);
    if (view.canvas) ConnectCanvas(view.canvas, view.hwnd);
}

}  // namespace qx::gtk
