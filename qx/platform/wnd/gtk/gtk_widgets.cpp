// The native widget each kind of control is shown as, and the model's state
// put on it. Everything is read through the control's own messages, as any
// view of it would.
#include <algorithm>

#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/control_view.h"
#include "qx/platform/wnd/gtk/internal/gtk_host.h"
#include "qx/platform/wnd/window.h"

namespace qx::gtk {
namespace {

constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kStaticSimple = 0x0B;
constexpr DWORD kStaticNoPrefix = 0x80;

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)); }

// The static styles that show their text; the others (icons, frames,
// rectangles) are painted by the control.
bool ShowsText(DWORD style) {
    const DWORD type = style & kStaticTypeMask;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == kStaticSimple || type == SS_LEFTNOWORDWRAP;
}

bool HasEntry(DWORD style) { return (style & 0x3) != CBS_DROPDOWNLIST; }

bool ListTakesSeveral(const View& view) {
    const DWORD style = StyleOf(view.hwnd);
    if (view.kind == "listview") return !(style & LVS_SINGLESEL);
    return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

GtkWidget* InScrolledWindow(GtkWidget* inner) {
    GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(scrolled), inner);
    return scrolled;
}

// The model's line ends are "\r\n", GTK's "\n".
std::string WithoutCarriageReturns(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text) {
        if (c != L'\r') plain += c;
    }
    return Utf8(plain);
}

void SetLabelText(GtkLabel* label, const std::string& text) {
    if (text != gtk_label_get_text(label)) gtk_label_set_text(label, text.c_str());
}

void SetButtonLabel(GtkButton* button, const std::string& label) {
    const char* now = gtk_button_get_label(button);
    if (!now || label != now) gtk_button_set_label(button, label.c_str());
}

void SetEntryText(GtkEntry* entry, const std::string& text) {
    if (text != gtk_entry_get_text(entry)) gtk_entry_set_text(entry, text.c_str());
}

// The text of subitem *column* of list view row *row*, asked for in a
// buffer that grows until the text fits (up to a bound).
std::wstring ListViewText(HWND hwnd, int row, int column) {
    for (int size = 256;; size *= 4) {
        std::wstring text(static_cast<size_t>(size), L'\0');
        LVITEM item;
        item.iSubItem = column;
        item.pszText = text.data();
        item.cchTextMax = size;
        const LRESULT length = SendMessage(hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        if (length < size - 1 || size >= (1 << 16)) {
            text.resize(static_cast<size_t>(std::clamp<LRESULT>(length, 0, size - 1)));
            return text;
        }
    }
}

// Puts *rows* into the view's list store when they differ from what it
// shows.
void SyncRows(View& view, std::vector<std::vector<std::wstring>> rows, int columns) {
    if (rows == view.rows) return;
    gtk_list_store_clear(view.store);
    for (const auto& row : rows) {
        GtkTreeIter iter;
        gtk_list_store_append(view.store, &iter);
        for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c) {
            gtk_list_store_set(view.store, &iter, c, Utf8(row[static_cast<size_t>(c)]).c_str(), -1);
        }
    }
    view.rows = std::move(rows);
}

// Selects in the tree view the rows *selected* says.
void SyncSelection(View& view, const std::vector<bool>& selected) {
    GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(view.widget));
    GtkTreeIter iter;
    int row = 0;
    for (gboolean more = gtk_tree_model_get_iter_first(GTK_TREE_MODEL(view.store), &iter); more;
         more = gtk_tree_model_iter_next(GTK_TREE_MODEL(view.store), &iter), ++row) {
        const bool want = row < static_cast<int>(selected.size()) && selected[static_cast<size_t>(row)];
        if (want == static_cast<bool>(gtk_tree_selection_iter_is_selected(selection, &iter))) continue;
        if (want) gtk_tree_selection_select_iter(selection, &iter);
        else gtk_tree_selection_unselect_iter(selection, &iter);
    }
}

void SyncList(View& view) {
    std::vector<std::vector<std::wstring>> rows;
    for (std::wstring& entry : ListEntries(view.hwnd)) rows.push_back({std::move(entry)});
    SyncRows(view, std::move(rows), 1);
    std::vector<bool> selected(view.rows.size());
    const bool several = ListTakesSeveral(view);
    const LRESULT current = several ? -1 : SendMessage(view.hwnd, LB_GETCURSEL);
    for (size_t i = 0; i < selected.size(); ++i) {
        selected[i] = several ? SendMessage(view.hwnd, LB_GETSEL, i) > 0 : static_cast<LRESULT>(i) == current;
    }
    SyncSelection(view, selected);
}

// A new store and tree view columns when the list view's columns changed.
void SyncColumns(View& view) {
    std::vector<std::pair<std::wstring, int>> columns = ListViewColumns(view.hwnd);
    if (columns == view.columns && view.store) return;
    GtkTreeView* tree = GTK_TREE_VIEW(view.widget);
    while (GtkTreeViewColumn* old = gtk_tree_view_get_column(tree, 0)) gtk_tree_view_remove_column(tree, old);
    const int count = std::max<int>(1, static_cast<int>(columns.size()));
    std::vector<GType> types(static_cast<size_t>(count), G_TYPE_STRING);
    GtkListStore* store = gtk_list_store_newv(count, types.data());
    gtk_tree_view_set_model(tree, GTK_TREE_MODEL(store));
    if (view.store) g_object_unref(view.store);
    view.store = store;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const auto& [title, width] = columns[static_cast<size_t>(c)];
        GtkTreeViewColumn* column = gtk_tree_view_column_new_with_attributes(
            Utf8(title).c_str(), gtk_cell_renderer_text_new(), "text", c, nullptr);
        gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
        gtk_tree_view_column_set_fixed_width(column, std::max(width, 1));
        gtk_tree_view_column_set_resizable(column, TRUE);
        gtk_tree_view_append_column(tree, column);
    }
    view.columns = std::move(columns);
    view.rows.clear();
}

void SyncListView(View& view) {
    SyncColumns(view);
    const int columns = static_cast<int>(view.columns.size());
    const int count = static_cast<int>(std::max<LRESULT>(0, SendMessage(view.hwnd, LVM_GETITEMCOUNT)));
    std::vector<std::vector<std::wstring>> rows(static_cast<size_t>(count));
    std::vector<bool> selected(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < columns; ++c) rows[static_cast<size_t>(r)].push_back(ListViewText(view.hwnd, r, c));
        selected[static_cast<size_t>(r)] = (SendMessage(view.hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(r), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }
    SyncRows(view, std::move(rows), columns);
    SyncSelection(view, selected);
}

void SyncCombo(View& view) {
    GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(view.widget);
    std::vector<std::vector<std::wstring>> rows;
    for (std::wstring& entry : ListEntries(view.hwnd)) rows.push_back({std::move(entry)});
    if (rows != view.rows) {
        gtk_combo_box_text_remove_all(combo);
        for (const auto& row : rows) gtk_combo_box_text_append_text(combo, Utf8(row[0]).c_str());
        view.rows = std::move(rows);
    }
    const int current = static_cast<int>(SendMessage(view.hwnd, CB_GETCURSEL));
    if (gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) != current) gtk_combo_box_set_active(GTK_COMBO_BOX(combo), current);
    if (gtk_combo_box_get_has_entry(GTK_COMBO_BOX(combo))) {
        SetEntryText(GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo))), Utf8(WindowTextOf(view.hwnd)));
    }
}

void SyncEdit(View& view) {
    const DWORD style = StyleOf(view.hwnd);
    const bool editable = !(style & ES_READONLY);
    if (GTK_IS_TEXT_VIEW(view.widget)) {
        GtkTextView* text = GTK_TEXT_VIEW(view.widget);
        GtkTextBuffer* buffer = gtk_text_view_get_buffer(text);
        GtkTextIter start, end;
        gtk_text_buffer_get_bounds(buffer, &start, &end);
        char* shown = gtk_text_buffer_get_text(buffer, &start, &end, TRUE);
        const std::string wanted = WithoutCarriageReturns(WindowTextOf(view.hwnd));
        if (wanted != shown) gtk_text_buffer_set_text(buffer, wanted.c_str(), -1);
        g_free(shown);
        if (gtk_text_view_get_editable(text) != editable) gtk_text_view_set_editable(text, editable);
        return;
    }
    // The model's selection is not put on the entry: after each key the
    // user types it is where the model's WM_SETTEXT left it (the start),
    // and the cursor would jump there.
    GtkEntry* entry = GTK_ENTRY(view.widget);
    SetEntryText(entry, Utf8(WindowTextOf(view.hwnd)));
    if (gtk_editable_get_editable(GTK_EDITABLE(entry)) != editable) gtk_editable_set_editable(GTK_EDITABLE(entry), editable);
    gtk_entry_set_visibility(entry, !(style & ES_PASSWORD));
    const LRESULT limit = SendMessage(view.hwnd, EM_GETLIMITTEXT);
    gtk_entry_set_max_length(entry, limit > 0 && limit <= 65535 ? static_cast<gint>(limit) : 0);
}

void SyncProgress(View& view) {
    const LRESULT low = SendMessage(view.hwnd, PBM_GETRANGE, TRUE);
    const LRESULT high = SendMessage(view.hwnd, PBM_GETRANGE, FALSE);
    const LRESULT position = SendMessage(view.hwnd, PBM_GETPOS);
    const double fraction = high > low ? std::clamp(static_cast<double>(position - low) / static_cast<double>(high - low), 0.0, 1.0) : 0.0;
    GtkProgressBar* bar = GTK_PROGRESS_BAR(view.widget);
    if (gtk_progress_bar_get_fraction(bar) != fraction) gtk_progress_bar_set_fraction(bar, fraction);
}

void SyncCheck(View& view) {
    GtkToggleButton* box = GTK_TOGGLE_BUTTON(view.widget);
    SetButtonLabel(GTK_BUTTON(box), GtkMnemonicLabel(WindowTextOf(view.hwnd)));
    const LRESULT check = SendMessage(view.hwnd, BM_GETCHECK);
    gtk_toggle_button_set_inconsistent(box, check == BST_INDETERMINATE);
    if (gtk_toggle_button_get_active(box) != (check == BST_CHECKED)) gtk_toggle_button_set_active(box, check == BST_CHECKED);
}

}  // namespace

std::string ShapeOf(HWND hwnd) {
    std::string shape = ControlKind(hwnd);
    const DWORD style = StyleOf(hwnd);
    if (shape == "edit" && (style & ES_MULTILINE)) shape += " multiline";
    if (shape == "combo" && HasEntry(style)) shape += " entry";
    if (shape == "static" && !ShowsText(style)) shape += " painted";
    return shape;
}

void MakeWidget(View& view) {
    const DWORD style = StyleOf(view.hwnd);
    const std::string& kind = view.kind;
    GtkWidget* widget = nullptr;
    GtkWidget* outer = nullptr;
    if (kind == "button") {
        widget = gtk_button_new_with_mnemonic("");
        gtk_widget_set_can_default(widget, TRUE);
    } else if (kind == "check" || kind == "radio") {
        widget = gtk_check_button_new_with_mnemonic("");
    } else if (kind == "group") {
        widget = gtk_frame_new(nullptr);
    } else if (kind == "edit" && (style & ES_MULTILINE)) {
        widget = gtk_text_view_new();
        gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(widget), (style & ES_AUTOHSCROLL) ? GTK_WRAP_NONE : GTK_WRAP_WORD_CHAR);
        outer = InScrolledWindow(widget);
    } else if (kind == "edit") {
        widget = gtk_entry_new();
        gtk_entry_set_alignment(GTK_ENTRY(widget), (style & ES_RIGHT) ? 1.0f : (style & ES_CENTER) ? 0.5f : 0.0f);
    } else if (kind == "static" && ShowsText(style)) {
        widget = gtk_label_new("");
        GtkLabel* label = GTK_LABEL(widget);
        const DWORD type = style & kStaticTypeMask;
        gtk_label_set_xalign(label, type == SS_CENTER ? 0.5f : type == SS_RIGHT ? 1.0f : 0.0f);
        gtk_label_set_yalign(label, 0.0f);
        gtk_label_set_justify(label, type == SS_CENTER ? GTK_JUSTIFY_CENTER : type == SS_RIGHT ? GTK_JUSTIFY_RIGHT : GTK_JUSTIFY_LEFT);
        if (type == SS_LEFTNOWORDWRAP || type == kStaticSimple) {
            gtk_label_set_ellipsize(label, PANGO_ELLIPSIZE_END);
        } else {
            gtk_label_set_line_wrap(label, TRUE);
            gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
        }
    } else if (kind == "combo") {
        widget = HasEntry(style) ? gtk_combo_box_text_new_with_entry() : gtk_combo_box_text_new();
    } else if (kind == "list" || kind == "listview") {
        widget = gtk_tree_view_new();
        GtkTreeView* tree = GTK_TREE_VIEW(widget);
        if (kind == "list") {
            view.store = gtk_list_store_new(1, G_TYPE_STRING);
            gtk_tree_view_set_model(tree, GTK_TREE_MODEL(view.store));
            gtk_tree_view_set_headers_visible(tree, FALSE);
            gtk_tree_view_append_column(tree, gtk_tree_view_column_new_with_attributes("", gtk_cell_renderer_text_new(), "text", 0, nullptr));
        }
        gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree), ListTakesSeveral(view) ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
        outer = InScrolledWindow(widget);
    } else if (kind == "progress") {
        widget = gtk_progress_bar_new();
        if (style & PBS_VERTICAL) {
            gtk_orientable_set_orientation(GTK_ORIENTABLE(widget), GTK_ORIENTATION_VERTICAL);
            gtk_progress_bar_set_inverted(GTK_PROGRESS_BAR(widget), TRUE);
        }
    } else {
        // The family's own window classes, and statics that are pictures:
        // the window paints itself.
        widget = gtk_drawing_area_new();
        view.canvas = widget;
    }
    view.widget = widget;
    view.outer = outer ? outer : widget;
    // The widget inside a scrolled window is always shown; the outer one
    // is shown as the model says.
    gtk_widget_show(widget);
}

void SyncWidget(View& view) {
    const std::string& kind = view.kind;
    if (kind == "button") {
        SetButtonLabel(GTK_BUTTON(view.widget), GtkMnemonicLabel(WindowTextOf(view.hwnd)));
    } else if (kind == "check" || kind == "radio") {
        SyncCheck(view);
    } else if (kind == "group") {
        const std::string label = Utf8(WithoutMnemonics(WindowTextOf(view.hwnd)));
        const char* now = gtk_frame_get_label(GTK_FRAME(view.widget));
        if (label != (now ? now : "")) gtk_frame_set_label(GTK_FRAME(view.widget), label.empty() ? nullptr : label.c_str());
    } else if (kind == "edit") {
        SyncEdit(view);
    } else if (view.canvas) {
        gtk_widget_queue_draw(view.canvas);
    } else if (kind == "static") {
        const std::wstring text = WindowTextOf(view.hwnd);
        SetLabelText(GTK_LABEL(view.widget), Utf8((StyleOf(view.hwnd) & kStaticNoPrefix) ? text : WithoutMnemonics(text)));
    } else if (kind == "combo") {
        SyncCombo(view);
    } else if (kind == "list") {
        SyncList(view);
    } else if (kind == "listview") {
        SyncListView(view);
    } else if (kind == "progress") {
        SyncProgress(view);
    }
}

}  // namespace qx::gtk
