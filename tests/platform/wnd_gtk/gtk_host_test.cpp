// The GTK host on a real (virtual) X display: dialogs of the model shown as
// GTK windows, answered by real input events that the X server delivers to
// the widgets, and the model's changes seen on the widgets. CTest runs this
// program under xvfb-run; without a display every test is skipped.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/base/utf.h"
#include "qx/platform/gfx/dc.h"
#include "qx/platform/os/terminal.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/paint.h"
#include "qx/platform/wnd/ui_host.h"
#include "qx/platform/wnd/window.h"
#include "qx/ui/adv_message_box.h"
#include "tests/platform/wnd_gtk/x_robot.h"
#include "tests/support/fixtures.h"

namespace {

constexpr int kEdit = 101;
constexpr int kApply = 102;
constexpr int kCheck = 103;
constexpr int kList = 104;
constexpr int kStatic = 105;
constexpr int kProgress = 106;
constexpr int kCombo = 107;
constexpr int kSwatch = 108;
constexpr UINT_PTR kStepTimer = 1;
constexpr UINT_PTR kWatchdog = 2;
constexpr LRESULT kTimedOut = -2;

qx::DialogItemTemplate Item(DWORD style, CRect rect, int id, const wchar_t* className, const wchar_t* text) {
    qx::DialogItemTemplate item;
    item.style = style | WS_VISIBLE;
    item.rect = rect;
    item.id = id;
    item.className = className;
    item.text = text;
    return item;
}

qx::DialogTemplate Dialog(const wchar_t* title, std::vector<qx::DialogItemTemplate> items) {
    qx::DialogTemplate dialog;
    dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    dialog.rect = CRect(20, 20, 220, 120);
    dialog.title = title;
    dialog.items = std::move(items);
    return dialog;
}

// An edit, the default button OK, a second button and Cancel.
qx::DialogTemplate ValueDialog() {
    return Dialog(L"Wert eingeben", {
        Item(WS_TABSTOP | ES_AUTOHSCROLL, CRect(7, 7, 193, 21), kEdit, L"Edit", L""),
        Item(WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(7, 79, 57, 93), IDOK, L"Button", L"OK"),
        Item(WS_TABSTOP, CRect(62, 79, 122, 93), kApply, L"Button", L"&Übernehmen"),
        Item(WS_TABSTOP, CRect(127, 79, 193, 93), IDCANCEL, L"Button", L"Abbrechen"),
    });
}

// One step of what the simulated user does; true when it is done and the
// next may follow (a step that waits for something returns false until
// then).
using Step = std::function<bool(HWND dialog)>;

// What the dialog heard, and the user's steps it runs on a model timer
// while its modal loop runs.
struct Session {
    qx::test::XRobot* robot = nullptr;
    std::vector<Step> steps;
    size_t next = 0;
    std::vector<int> commands;          // WM_COMMAND ids and codes, as id * 0x10000 + code
    std::wstring textAtCommand;         // the edit's text when a button ended the dialog
    bool timedOut = false;
};

Session*& CurrentSession() {
    static Session* session = nullptr;
    return session;
}

LRESULT SessionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    Session* session = CurrentSession();
    switch (message) {
        case WM_INITDIALOG:
            SetTimer(dialog, kStepTimer, 30);
            // However the input goes astray, the test goes on.
            SetTimer(dialog, kWatchdog, 10000);
            return TRUE;
        case WM_TIMER:
            if (wParam == kWatchdog) {
                session->timedOut = true;
                EndDialog(dialog, kTimedOut);
            } else if (session->next < session->steps.size() && session->steps[session->next](dialog)) {
                ++session->next;
            }
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            session->commands.push_back(id * 0x10000 + HIWORD(wParam));
            if (HIWORD(wParam) == BN_CLICKED && (id == IDOK || id == IDCANCEL || id == kApply)) {
                wchar_t text[64] = {};
                GetDlgItemText(dialog, kEdit, text, 64);
                session->textAtCommand = text;
                EndDialog(dialog, id);
            }
            return TRUE;
        }
        default: return FALSE;
    }
}

class GtkHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* reason = std::getenv("QX_TEST_GTK_SKIP"); reason && *reason) GTEST_SKIP() << reason;
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "no X display: CTest runs this suite under xvfb-run";
        robot_ = std::make_unique<qx::test::XRobot>();
        std::string why;
        if (!robot_->Ready(&why)) GTEST_SKIP() << why;
        std::unique_ptr<qx::UiHost> host = qx::MakeUiHost("gtk", &why);
        ASSERT_TRUE(host) << why;
        ASSERT_STREQ(host->Name(), "gtk");
        host_ = host.get();
        previous_ = qx::SetUiHost(std::move(host));
    }
    void TearDown() override {
        for (HWND hwnd : owned_) DestroyWindow(hwnd);
        if (host_) qx::SetUiHost(std::move(previous_));
        CurrentSession() = nullptr;
    }

    // Runs the modal *dialog* while the steps act on it; the result of
    // DialogBoxIndirectParam.
    LRESULT Run(const qx::DialogTemplate& dialog, Session& session, HWND owner = nullptr) {
        session.robot = robot_.get();
        CurrentSession() = &session;
        const LRESULT result = DialogBoxIndirectParam(dialog, owner, SessionProc, 0);
        EXPECT_FALSE(session.timedOut) << "the user's steps stopped at step " << session.next;
        return result;
    }

    // Steps: wait until GTK has mapped the window (then give it the
    // keyboard focus, as a window manager would), click a control's
    // centre, type, press a key, wait for the model.
    Step WaitForWindow(const std::wstring& title) {
        return [this, title](HWND) {
            unsigned long window = 0;
            if (!robot_->FindWindow(qx::WideToUtf8(title), &origin_, &window)) return false;
            window_ = window;
            robot_->Focus(window);
            return true;
        };
    }
    // *fromTop*: that many pixels below the control's top edge instead of
    // its centre (a combo box's field is at the top of its rectangle).
    Step ClickOn(int id, int fromTop = -1) {
        // The pointer goes there first, so that GTK has seen it enter the
        // widget before the button goes down.
        auto moved = std::make_shared<bool>(false);
        return [this, id, fromTop, moved](HWND dialog) {
            if (!*moved) {
                HWND control = GetDlgItem(dialog, id);
                CPoint at = qx::test::CentreOnScreen(control, origin_);
                if (fromTop >= 0) {
                    CRect rect;
                    GetWindowRect(control, &rect);
                    at.y -= rect.Height() / 2 - fromTop;
                }
                robot_->MoveTo(at);
                *moved = true;
                return false;
            }
            robot_->Click();
            return true;
        };
    }
    Step Type(std::string text) {
        return [this, text](HWND) {
            robot_->Type(text);
            return true;
        };
    }
    Step Key(const char* key) {
        return [this, key](HWND) {
            robot_->Key(key);
            return true;
        };
    }
    Step Until(std::function<bool(HWND)> condition) { return condition; }

    // Shows *dialog* modeless; destroyed when the test ends.
    HWND ShowModeless(qx::DialogTemplate dialog) {
        dialog.style |= WS_VISIBLE;
        HWND hwnd = CreateDialogIndirectParam(dialog, nullptr, [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
            return message == WM_INITDIALOG;
        }, 0);
        if (hwnd) owned_.push_back(hwnd);
        return hwnd;
    }

    qx::UiHost* host_ = nullptr;
    std::unique_ptr<qx::test::XRobot> robot_;
    CPoint origin_;
    unsigned long window_ = 0;
    std::vector<HWND> owned_;

private:
    std::unique_ptr<qx::UiHost> previous_;
};

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[128] = {};
    GetDlgItemText(dialog, id, text, 128);
    return text;
}

TEST_F(GtkHostTest, RealInputTypesLinesAndIntoAComboBoxField) {
    const std::wstring title = L"Bemerkung";
    const auto hasCommand = [](const Session& session, int id, int code) {
        return std::find(session.commands.begin(), session.commands.end(), id * 0x10000 + code) != session.commands.end();
    };
    struct Case {
        const char* name;
        DWORD editStyle;
        const wchar_t* text;  // the edit's text when the dialog ended
    };
    // Enter makes a new line in an edit that wants it, and presses the
    // default button in one that does not.
    for (const Case& c : {Case{"wants return", ES_WANTRETURN, L"ab\r\nc"}, Case{"does not", 0, L"ab"}}) {
        SCOPED_TRACE(c.name);
        qx::DialogTemplate dialog = Dialog(title.c_str(), {
            Item(WS_TABSTOP | ES_MULTILINE | WS_VSCROLL | c.editStyle, CRect(7, 7, 193, 40), kEdit, L"Edit", L""),
            Item(WS_TABSTOP | CBS_DROPDOWN, CRect(7, 45, 120, 100), kCombo, L"ComboBox", L""),
            Item(WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(143, 79, 193, 93), IDOK, L"Button", L"OK"),
        });
        Session session;
        session.steps = {WaitForWindow(title), ClickOn(kEdit), Type("ab"), Key("Return")};
        if (c.editStyle & ES_WANTRETURN) {
            const auto lines = [](HWND dialog) { return ItemText(dialog, kEdit) == L"ab\r\nc"; };
            const auto field = [&](HWND dialog) {
                return ItemText(dialog, kCombo) == L"din" && hasCommand(session, kCombo, CBN_EDITCHANGE);
            };
            session.steps.insert(session.steps.end(), {Type("c"), Until(lines), ClickOn(kCombo, 8), Type("din"), Until(field), ClickOn(IDOK)});
        }
        EXPECT_EQ(Run(dialog, session), IDOK);
        EXPECT_EQ(session.textAtCommand, c.text);
        // A multi-line edit notifies the typing as a single-line one does.
        EXPECT_TRUE(hasCommand(session, kEdit, EN_CHANGE));
        if (session.timedOut) break;
    }
}

// The widget the host made for *hwnd* (top-level *top* or a window in it),
// found by the handle it keeps on it.
GtkWidget* WidgetOf(HWND top, HWND hwnd) {
    GtkWidget* found = nullptr;
    if (!top || !hwnd) return nullptr;
    GList* tops = gtk_window_list_toplevels();
    for (GList* it = tops; it && !found; it = it->next) {
        if (g_object_get_data(G_OBJECT(it->data), "qx-hwnd") != top) continue;
        if (hwnd == top) {
            found = GTK_WIDGET(it->data);
            break;
        }
        GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_bin_get_child(GTK_BIN(it->data))));
        for (GList* child = children; child; child = child->next) {
            if (g_object_get_data(G_OBJECT(child->data), "qx-hwnd") == hwnd) found = GTK_WIDGET(child->data);
        }
        g_list_free(children);
    }
    g_list_free(tops);
    return found;
}

// A widget's position on its window's GtkFixed.
CPoint PlacedAt(GtkWidget* widget) {
    int x = -1, y = -1;
    gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget, "x", &x, "y", &y, nullptr);
    return CPoint(x, y);
}

TEST_F(GtkHostTest, RealInputTypesIntoTheEditAndAnswersTheDialog) {
    const std::wstring title = L"Wert eingeben";
    const auto typed = [](HWND dialog) { return ItemText(dialog, kEdit) == L"42"; };
    struct Case {
        const char* name;
        std::vector<Step> finish;  // after "42" was typed into the edit
        LRESULT result;
        int command;  // the WM_COMMAND BN_CLICKED the dialog heard
    };
    const Case cases[] = {
        // A click on a button that is not the default one.
        {"click", {ClickOn(kApply)}, kApply, kApply},
        // Enter in the edit presses the default button.
        {"enter", {Key("Return")}, IDOK, IDOK},
        {"escape", {Key("Escape")}, IDCANCEL, IDCANCEL},
        // The window manager's close button cancels a dialog.
        {"close", {[this](HWND) { robot_->RequestClose(window_); return true; }}, IDCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        session.steps = {WaitForWindow(title), ClickOn(kEdit), Type("42"), Until(typed)};
        session.steps.insert(session.steps.end(), c.finish.begin(), c.finish.end());
        EXPECT_EQ(Run(ValueDialog(), session), c.result);
        if (session.timedOut) break;  // the others would wait as long
        // The model had the typed text when the button's WM_COMMAND came.
        EXPECT_EQ(session.textAtCommand, L"42");
        ASSERT_FALSE(session.commands.empty());
        EXPECT_EQ(session.commands.back(), c.command * 0x10000 + BN_CLICKED);
        // The edit told its parent of each change the typing made.
        int changes = 0;
        for (int command : session.commands) changes += command == kEdit * 0x10000 + EN_CHANGE;
        EXPECT_EQ(changes, 2);
    }
}

TEST_F(GtkHostTest, RealInputChecksABoxAndChoosesAListEntry) {
    const std::wstring title = L"Auswahl";
    qx::DialogTemplate dialog = Dialog(title.c_str(), {
        Item(WS_TABSTOP | BS_AUTOCHECKBOX, CRect(7, 7, 193, 19), kCheck, L"Button", L"&Mit Zuschlag"),
        Item(WS_TABSTOP | LBS_NOTIFY | WS_VSCROLL | WS_BORDER, CRect(7, 24, 193, 74), kList, L"ListBox", L""),
        Item(WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(143, 79, 193, 93), IDOK, L"Button", L"OK"),
    });
    Session session;
    const auto filled = [](HWND dialog) {
        HWND list = GetDlgItem(dialog, kList);
        if (SendMessage(list, LB_GETCOUNT) == 0) {
            for (const wchar_t* entry : {L"Heizung", L"Lüftung", L"Sanitär"}) SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
        return true;
    };
    // The second row of the list, where GTK drew it.
    const auto clickRow = [this](HWND dialog) {
        GtkWidget* scrolled = WidgetOf(dialog, GetDlgItem(dialog, kList));
        GtkWidget* tree = scrolled ? gtk_bin_get_child(GTK_BIN(scrolled)) : nullptr;
        if (!tree || !gtk_widget_get_mapped(tree)) return false;
        GtkTreePath* path = gtk_tree_path_new_from_indices(1, -1);
        GdkRectangle cell{};
        gtk_tree_view_get_cell_area(GTK_TREE_VIEW(tree), path, nullptr, &cell);
        gtk_tree_path_free(path);
        if (cell.height <= 0) return false;
        int x = 0, y = 0;
        gtk_tree_view_convert_bin_window_to_widget_coords(GTK_TREE_VIEW(tree), cell.x + 10, cell.y + cell.height / 2, &x, &y);
        int inWindowX = 0, inWindowY = 0;
        gtk_widget_translate_coordinates(tree, gtk_widget_get_toplevel(tree), x, y, &inWindowX, &inWindowY);
        robot_->MoveTo(CPoint(origin_.x + inWindowX, origin_.y + inWindowY));
        robot_->Click();
        return true;
    };
    const auto checked = [](HWND dialog) { return IsDlgButtonChecked(dialog, kCheck) == BST_CHECKED; };
    // The click also gave the list the model's focus.
    const auto chosen = [](HWND dialog) {
        return SendDlgItemMessage(dialog, kList, LB_GETCURSEL) == 1 && GetFocus() == GetDlgItem(dialog, kList);
    };
    session.steps = {Until(filled), WaitForWindow(title), ClickOn(kCheck), Until(checked), clickRow, Until(chosen), ClickOn(IDOK)};
    EXPECT_EQ(Run(dialog, session), IDOK);
    const std::vector<int> expected = {kCheck * 0x10000 + BN_CLICKED, kList * 0x10000 + LBN_SELCHANGE, IDOK * 0x10000 + BN_CLICKED};
    std::vector<int> clicks;
    for (int command : session.commands) {
        if (command == expected[0] || command == expected[1] || command == expected[2]) clicks.push_back(command);
    }
    EXPECT_EQ(clicks, expected);
}

TEST_F(GtkHostTest, ModelChangesReachTheWidgets) {
    qx::DialogTemplate dialog = Dialog(L"Fortschritt", {
        Item(0, CRect(7, 7, 193, 17), kStatic, L"Static", L"Bitte warten"),
        Item(WS_TABSTOP, CRect(7, 20, 193, 34), kEdit, L"Edit", L"55"),
        Item(0, CRect(7, 38, 193, 48), kProgress, L"msctls_progress32", L""),
        Item(WS_TABSTOP | BS_AUTOCHECKBOX, CRect(7, 52, 100, 62), kCheck, L"Button", L"Protokoll"),
        Item(WS_TABSTOP | CBS_DROPDOWNLIST, CRect(105, 52, 193, 100), kCombo, L"ComboBox", L""),
        Item(WS_TABSTOP | BS_DEFPUSHBUTTON, CRect(7, 79, 57, 93), IDOK, L"Button", L"OK"),
        Item(WS_TABSTOP, CRect(62, 79, 122, 93), kApply, L"Button", L"Weiter"),
    });
    HWND hwnd = ShowModeless(dialog);
    ASSERT_TRUE(hwnd);
    host_->Flush();
    const auto item = [&](int id) { return GetDlgItem(hwnd, id); };
    const auto widget = [&](int id) { return WidgetOf(hwnd, item(id)); };
    for (int id : {kStatic, kEdit, kProgress, kCheck, kCombo, IDOK, kApply}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(widget(id));
    }
    // Where the model put the control, relative to the client area.
    const auto modelPosition = [&](int id) {
        CRect rect;
        GetWindowRect(item(id), &rect);
        CPoint point = rect.TopLeft();
        ScreenToClient(hwnd, &point);
        return point;
    };
    EXPECT_EQ(PlacedAt(widget(kEdit)), modelPosition(kEdit));
    EXPECT_STREQ(gtk_entry_get_text(GTK_ENTRY(widget(kEdit))), "55");
    EXPECT_EQ(gtk_window_get_default_widget(GTK_WINDOW(WidgetOf(hwnd, hwnd))), widget(IDOK));

    struct Case {
        const char* name;
        std::function<void()> change;
        std::function<bool()> shown;
    };
    HWND later = nullptr;
    const Case cases[] = {
        {"caption", [&] { SetWindowText(hwnd, L"Übertragung läuft"); },
         [&] { return std::string(gtk_window_get_title(GTK_WINDOW(WidgetOf(hwnd, hwnd)))) == "Übertragung läuft"; }},
        {"static text", [&] { SetDlgItemText(hwnd, kStatic, L"Datei 3 von 7"); },
         [&] { return std::string(gtk_label_get_text(GTK_LABEL(widget(kStatic)))) == "Datei 3 von 7"; }},
        {"edit text", [&] { SetDlgItemText(hwnd, kEdit, L"60,5"); },
         [&] { return std::string(gtk_entry_get_text(GTK_ENTRY(widget(kEdit)))) == "60,5"; }},
        {"disabled", [&] { EnableWindow(item(kApply), FALSE); }, [&] { return !gtk_widget_get_sensitive(widget(kApply)); }},
        {"enabled again", [&] { EnableWindow(item(kApply), TRUE); }, [&] { return gtk_widget_get_sensitive(widget(kApply)); }},
        {"progress", [&] {
             SendMessage(item(kProgress), PBM_SETRANGE32, 0, 200);
             SendMessage(item(kProgress), PBM_SETPOS, 50);
         },
         [&] { return gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(widget(kProgress))) == 0.25; }},
        {"checked", [&] { CheckDlgButton(hwnd, kCheck, BST_CHECKED); },
         [&] { return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget(kCheck))); }},
        {"hidden", [&] { ShowWindow(item(kStatic), SW_HIDE); }, [&] { return !gtk_widget_get_visible(widget(kStatic)); }},
        {"label with mnemonic", [&] { SetDlgItemText(hwnd, kApply, L"&Weiter && fertig"); },
         [&] { return std::string(gtk_button_get_label(GTK_BUTTON(widget(kApply)))) == "_Weiter & fertig"; }},
        {"moved", [&] { MoveWindow(item(kApply), 150, 120, 90, 30); },
         [&] {
             int width = 0, height = 0;
             gtk_widget_get_size_request(widget(kApply), &width, &height);
             return PlacedAt(widget(kApply)) == CPoint(150, 120) && width == 90 && height == 30;
         }},
        {"combo entries", [&] {
             for (const wchar_t* entry : {L"DIN", L"VDI", L"EN"}) SendDlgItemMessage(hwnd, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
             SendDlgItemMessage(hwnd, kCombo, CB_SETCURSEL, 2);
         },
         [&] {
             gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(widget(kCombo)));
             const bool ok = text && std::string(text) == "EN";
             g_free(text);
             return ok && gtk_combo_box_get_active(GTK_COMBO_BOX(widget(kCombo))) == 2;
         }},
        {"default button", [&] { SendMessage(hwnd, DM_SETDEFID, kApply); },
         [&] { return gtk_window_get_default_widget(GTK_WINDOW(WidgetOf(hwnd, hwnd))) == widget(kApply); }},
        {"focus", [&] { SetFocus(item(kEdit)); },
         [&] { return gtk_window_get_focus(GTK_WINDOW(WidgetOf(hwnd, hwnd))) == widget(kEdit); }},
        // A combo box hands the focus to its button.
        {"focus on a combo box", [&] { SetFocus(item(kCombo)); },
         [&] {
             GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(WidgetOf(hwnd, hwnd)));
             return focus && gtk_widget_is_ancestor(focus, widget(kCombo)) && GetFocus() == item(kCombo);
         }},
        {"created later", [&] { later = CreateWindowEx(0, L"Button", L"Neu", WS_CHILD | WS_VISIBLE, 10, 130, 60, 22, hwnd, 200); },
         [&] {
             GtkWidget* added = WidgetOf(hwnd, later);
             return added && PlacedAt(added) == CPoint(10, 130) && gtk_widget_get_visible(added);
         }},
        {"destroyed", [&] { DestroyWindow(later); }, [&] { return WidgetOf(hwnd, later) == nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        host_->Flush();
        EXPECT_TRUE(c.shown());
    }
}

TEST_F(GtkHostTest, AWindowOfARegisteredClassPaintsOnTheScreenAndHearsTheMouse) {
    struct Swatch {
        COLORREF colour = RGB(200, 30, 40);
        int paints = 0;
        int horzRes = 0;
        std::vector<LPARAM> clicks;
    };
    static Swatch swatch;
    swatch = Swatch();
    RegisterWindowProc(L"QxGtkSwatch", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            CDC* dc = BeginPaint(hwnd, &paint);
            dc->FillSolidRect(paint.rcPaint, swatch.colour);
            swatch.horzRes = dc->GetDeviceCaps(HORZRES);
            ++swatch.paints;
            EndPaint(hwnd, &paint);
            return 0;
        }
        if (message == WM_LBUTTONDOWN) swatch.clicks.push_back(lParam);
        return DefWindowProc(hwnd, message, wParam, lParam);
    });
    qx::DialogTemplate dialog = Dialog(L"Farbe", {Item(WS_BORDER, CRect(7, 7, 107, 57), kSwatch, L"QxGtkSwatch", L"")});
    HWND hwnd = ShowModeless(dialog);
    ASSERT_TRUE(hwnd);
    HWND control = GetDlgItem(hwnd, kSwatch);
    CRect client;
    GetClientRect(control, &client);
    // Waits (a bounded while) for GTK to map and draw.
    const auto waitFor = [&](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i) {
            host_->Flush();
            g_usleep(10000);
        }
        return done();
    };
    CPoint origin;
    ASSERT_TRUE(waitFor([&] { return robot_->FindWindow("Farbe", &origin) && swatch.paints > 0; }));
    // The paint code drew on the widget's own Cairo context, sized to it
    // (the client area and the border).
    EXPECT_EQ(swatch.horzRes, client.Width() + 2);
    const CPoint centre = qx::test::CentreOnScreen(control, origin);
    EXPECT_TRUE(waitFor([&] { return robot_->PixelAt(centre) == 0xC81E28; })) << std::hex << robot_->PixelAt(centre);
    // A repaint the window asks for reaches the screen.
    swatch.colour = RGB(20, 160, 60);
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
    EXPECT_TRUE(waitFor([&] { return robot_->PixelAt(centre) == 0x14A03C; })) << std::hex << robot_->PixelAt(centre);
    // A click lands in the window's client coordinates (inside its border).
    CPoint clientOrigin;
    ClientToScreen(control, &clientOrigin);
    CPoint windowClient;
    ClientToScreen(hwnd, &windowClient);
    robot_->MoveTo(CPoint(origin.x + clientOrigin.x - windowClient.x + 5, origin.y + clientOrigin.y - windowClient.y + 6));
    robot_->Click();
    EXPECT_TRUE(waitFor([&] {
        qx::PumpMessages();
        return !swatch.clicks.empty();
    }));
    ASSERT_FALSE(swatch.clicks.empty());
    EXPECT_EQ(GET_X_LPARAM(swatch.clicks[0]), 5);
    EXPECT_EQ(GET_Y_LPARAM(swatch.clicks[0]), 6);
}

TEST_F(GtkHostTest, AModalDialogIsTransientForItsOwnerWhichHearsNothingMeanwhile) {
    static int ownerCloses = 0;
    ownerCloses = 0;
    RegisterWindowProc(L"QxGtkOwner", [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_SYSCOMMAND || message == WM_CLOSE) ++ownerCloses;
        return DefWindowProc(hwnd, message, wParam, lParam);
    });
    HWND owner = CreateWindowEx(0, L"QxGtkOwner", L"Hauptfenster", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                300, 300, 500, 400, nullptr, 0);
    ASSERT_TRUE(owner);
    owned_.push_back(owner);
    bool modal = false, transient = false;
    Session session;
    unsigned long ownerWindow = 0;
    CPoint ownerOrigin;
    session.steps = {
        WaitForWindow(L"Wert eingeben"),
        [&](HWND dialog) {
            GtkWindow* window = GTK_WINDOW(WidgetOf(dialog, dialog));
            modal = gtk_window_get_modal(window);
            transient = gtk_window_get_transient_for(window) == GTK_WINDOW(WidgetOf(owner, owner));
            return true;
        },
        // The owner's close button while the dialog runs.
        [&](HWND) { return robot_->FindWindow("Hauptfenster", &ownerOrigin, &ownerWindow); },
        [&](HWND) {
            robot_->RequestClose(ownerWindow);
            return true;
        },
        Until([&, polls = 0](HWND) mutable { return ++polls > 5; }),
        ClickOn(IDOK),
    };
    EXPECT_EQ(Run(ValueDialog(), session, owner), IDOK);
    EXPECT_TRUE(modal);
    EXPECT_TRUE(transient);
    EXPECT_EQ(ownerCloses, 0);
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// In a process of its own: GTK keeps the first display it opened.
TEST(GtkHostLoadTest, ADisplayThatCannotBeOpenedGivesNoHostAndAutoFallsBack) {
    if (const char* reason = std::getenv("QX_TEST_GTK_SKIP"); reason && *reason) GTEST_SKIP() << reason;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            qx::test::ScopedEnv display("DISPLAY", ":9876");
            qx::test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
            std::string why;
            const bool none = qx::MakeUiHost("gtk", &why) == nullptr;
            const bool reason = why.find("GTK cannot open the display") != std::string::npos;
            // auto looks further: the terminal when there is one, else batch.
            const std::unique_ptr<qx::UiHost> automatic = qx::MakeUiHost("auto");
            const std::string fallback = qx::StandardInputIsTerminal() && qx::StandardErrorIsTerminal() ? "terminal" : "batch";
            std::exit(none && reason && automatic && automatic->Name() == fallback ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

// The family's message box as a real window (here, as this is the suite
// with a display): a click on one of its buttons is the answer. The steps
// run on a timer of their own, as the box is not the test's dialog.
TEST_F(GtkHostTest, TheFamilysMessageBoxIsAnsweredByAClickOnItsButton) {
    Session session;
    session.robot = robot_.get();
    session.steps = {WaitForWindow(L"Frage"), ClickOn(IDNO)};
    CurrentSession() = &session;
    static int ticks;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        Session* running = CurrentSession();
        HWND box = GetForegroundWindow();
        if (!box) return;
        if (++ticks > 330) {  // about ten seconds: the input went astray
            running->timedOut = true;
            EndDialog(box, kTimedOut);
        } else if (running->next < running->steps.size() && running->steps[running->next](box)) {
            ++running->next;
        }
    });
    const int answer = advMessageBox(L"Die Datei gibt es schon. Ersetzen?", MB_YESNO | MB_ICONQUESTION, L"Frage");
    KillTimer(nullptr, timer);
    EXPECT_FALSE(session.timedOut) << "the user's steps stopped at step " << session.next;
    EXPECT_EQ(answer, IDNO);
}
