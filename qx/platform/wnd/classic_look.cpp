#include "qx/platform/wnd/internal/classic_look.h"

#include <algorithm>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/gdi_objects.h"
#include "qx/platform/gfx/picture.h"
#include "qx/platform/gfx/targets.h"
#include "qx/platform/wnd/common_controls.h"
#include "qx/platform/wnd/icons.h"
#include "qx/platform/wnd/system_menu.h"
#include "qx/platform/wnd/internal/host_support.h"
#include "qx/platform/wnd/internal/window_object.h"
#include "qx/platform/wnd/screen.h"
#include "qx/platform/wnd/window.h"

namespace qx::wnd {
namespace {

std::wstring TextOf(HWND hwnd) {
    Window* w = Find(hwnd);
    return w ? w->text : std::wstring();
}

// Selects the control's font (the default GUI font without one) for the
// life of the object.
class FontScope {
public:
    FontScope(CDC& dc, HWND hwnd) : dc_(dc) {
        CFont* font = GetWindowFont(hwnd);
        previous_ = dc.SelectObject(font ? font : &DefaultGuiFont());
    }
    ~FontScope() { dc_.SelectObject(previous_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    CDC& dc_;
    CFont* previous_;
};

CRect ClientOf(HWND hwnd) {
    CRect rect;
    GetClientRect(hwnd, &rect);
    return rect;
}

void Frame(CDC& dc, const CRect& r, COLORREF color) {
    dc.FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), color);
    dc.FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), color);
    dc.FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), color);
    dc.FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), color);
}

// A raised (or, pushed, sunken) 3-D edge.
void Edge(CDC& dc, const CRect& r, bool sunken) {
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF topLeft = sunken ? dark : light, bottomRight = sunken ? light : dark;
    dc.FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), topLeft);
    dc.FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), topLeft);
    dc.FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
    dc.FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}

void Text(CDC& dc, HWND hwnd, const std::wstring& text, CRect rect, unsigned format, bool mnemonics = true) {
    FontScope font(dc, hwnd);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    // Mnemonic ampersands are not drawn; "&&" stands for one.
    const std::wstring shown = mnemonics ? WithoutMnemonics(text) : text;
    dc.DrawText(CString(shown.c_str()), &rect, format | DT_NOPREFIX);
}

void CheckMark(CDC& dc, const CRect& box, int check, bool radio) {
    dc.FillSolidRect(box, GetSysColor(COLOR_WINDOW));
    Frame(dc, box, GetSysColor(COLOR_BTNSHADOW));
    if (check == BST_UNCHECKED) return;
    CRect mark = box;
    mark.DeflateRect(3, 3, 3, 3);
    dc.FillSolidRect(mark, check == BST_INDETERMINATE ? GetSysColor(COLOR_BTNSHADOW)
                                                      : (radio ? RGB(0, 0, 0) : GetSysColor(COLOR_HIGHLIGHT)));
}

// A system icon as a round sign with its mark (a square for other icons).
void PaintIcon(CDC& dc, const CRect& r, HICON icon) {
    struct Sign {
        unsigned id;
        COLORREF fill;
        COLORREF ink;
        const wchar_t* mark;
    };
    static constexpr Sign kSigns[] = {{kIconHand, RGB(200, 30, 30), RGB(255, 255, 255), L"X"},
                                      {kIconQuestion, RGB(30, 90, 200), RGB(255, 255, 255), L"?"},
                                      {kIconExclamation, RGB(240, 190, 20), RGB(0, 0, 0), L"!"},
                                      {kIconAsterisk, RGB(30, 90, 200), RGB(255, 255, 255), L"i"}};
    if (const qx::gfx::Picture* picture = qx::IconPicture(icon)) {
        picture->Draw(dc, r);
        return;
    }
    const unsigned id = qx::SystemIconOf(icon);
    const Sign* sign = nullptr;
    for (const Sign& s : kSigns) {
        if (s.id == id) sign = &s;
    }
    if (!sign) {
        dc.FillSolidRect(r, GetSysColor(COLOR_HIGHLIGHT));
        return;
    }
    CBrush fill(sign->fill);
    CPen outline(PS_SOLID, 1, sign->fill);
    CBrush* oldBrush = dc.SelectObject(&fill);
    CPen* oldPen = dc.SelectObject(&outline);
    dc.RoundRect(r.left, r.top, r.right, r.bottom, r.Width(), r.Height());
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    CFont bold;
    bold.CreateFont(-22, 0, 0, 0, 700, false, false, false, 1, L"Arial");
    CFont* oldFont = dc.SelectObject(&bold);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(sign->ink);
    CRect text = r;
    dc.DrawText(CString(sign->mark), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(oldFont);
}

}  // namespace

int ListItemHeight(HWND hwnd) {
    static CMemoryDC measuring;
    FontScope font(measuring, hwnd);
    TEXTMETRIC metrics{};
    measuring.GetTextMetrics(&metrics);
    return metrics.tmHeight + 2;
}

void PaintButton(CDC& dc, HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    const CRect r = ClientOf(hwnd);
    const DWORD kind = w->style & BS_TYPEMASK;
    const int state = static_cast<int>(SendMessage(hwnd, BM_GETSTATE));
    const std::wstring text = TextOf(hwnd);
    if (kind == BS_GROUPBOX) {
        Frame(dc, CRect(r.left, r.top + 6, r.right, r.bottom), GetSysColor(COLOR_BTNSHADOW));
        FontScope font(dc, hwnd);
        const CSize extent = dc.GetTextExtent(CString(text.c_str()));
        dc.FillSolidRect(CRect(r.left + 6, r.top, r.left + 10 + extent.cx, r.top + extent.cy), GetSysColor(COLOR_BTNFACE));
        Text(dc, hwnd, text, CRect(r.left + 8, r.top, r.right, r.top + extent.cy), DT_LEFT | DT_SINGLELINE);
        return;
    }
    if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_OWNERDRAW || kind == BS_USERBUTTON) {
        dc.FillSolidRect(r, GetSysColor(COLOR_BTNFACE));
        CRect edge = r;
        if (kind == BS_DEFPUSHBUTTON) {
            // The default button's rim.
            Frame(dc, r, RGB(0, 0, 0));
            edge.DeflateRect(1, 1, 1, 1);
        }
        Edge(dc, edge, (state & BST_PUSHED) != 0);
        CRect label = r;
        if (state & BST_PUSHED) label.OffsetRect(1, 1);
        Text(dc, hwnd, text, label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (state & BST_FOCUS) {
            CRect focus = r;
            focus.DeflateRect(4, 4, 4, 4);
            Frame(dc, focus, GetSysColor(COLOR_BTNSHADOW));
        }
        return;
    }
    dc.FillSolidRect(r, GetSysColor(COLOR_BTNFACE));
    const int box = 13;
    const int top = r.top + (r.Height() - box) / 2;
    const bool radio = kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
    CheckMark(dc, CRect(r.left, top, r.left + box, top + box), state & 3, radio);
    Text(dc, hwnd, text, CRect(r.left + box + 4, r.top, r.right, r.bottom),
         DT_LEFT | DT_VCENTER | ((w->style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE));
}

void PaintEdit(CDC& dc, HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    CRect r = ClientOf(hwnd);
    const bool readOnly = (w->style & ES_READONLY) != 0;
    dc.FillSolidRect(r, GetSysColor(readOnly || !IsWindowEnabled(hwnd) ? COLOR_BTNFACE : COLOR_WINDOW));
    std::wstring text = TextOf(hwnd);
    if (w->style & ES_PASSWORD) text.assign(text.size(), L'*');
    r.DeflateRect(2, 1, 2, 1);
    const bool multiline = (w->style & ES_MULTILINE) != 0;
    unsigned format = multiline ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
    if (w->style & ES_CENTER) format |= DT_CENTER;
    if (w->style & ES_RIGHT) format |= DT_RIGHT;
    Text(dc, hwnd, text, r, format);
}

void PaintStatic(CDC& dc, HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    const CRect r = ClientOf(hwnd);
    const DWORD kind = w->style & 0x1F;
    if (kind == SS_ICON) {
        if (w->bigIcon) PaintIcon(dc, CRect(r.left, r.top, r.left + 32, r.top + 32), static_cast<HICON>(w->bigIcon));
        return;
    }
    if (kind == SS_BLACKRECT) {
        dc.FillSolidRect(r, RGB(0, 0, 0));
        return;
    }
    unsigned format = kind == SS_CENTER ? DT_CENTER : kind == SS_RIGHT ? DT_RIGHT : DT_LEFT;
    format |= kind == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
    Text(dc, hwnd, TextOf(hwnd), r, format, !(w->style & SS_NOPREFIX));
}

void PaintListBox(CDC& dc, HWND hwnd) {
    const CRect r = ClientOf(hwnd);
    dc.FillSolidRect(r, GetSysColor(COLOR_WINDOW));
    const int height = ListItemHeight(hwnd);
    const int count = static_cast<int>(SendMessage(hwnd, LB_GETCOUNT));
    const int current = static_cast<int>(SendMessage(hwnd, LB_GETCURSEL));
    for (int i = static_cast<int>(SendMessage(hwnd, LB_GETTOPINDEX)), y = r.top; i < count && y < r.bottom; ++i, y += height) {
        const std::wstring text = ListEntry(hwnd, i);
        const CRect line(r.left, y, r.right, y + height);
        const bool selected = i == current || SendMessage(hwnd, LB_GETSEL, static_cast<WPARAM>(i)) > 0;
        if (selected) dc.FillSolidRect(line, GetSysColor(COLOR_HIGHLIGHT));
        Text(dc, hwnd, text, CRect(line.left + 2, line.top, line.right, line.bottom), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

void PaintComboBox(CDC& dc, HWND hwnd) {
    const CRect r = ClientOf(hwnd);
    const int height = std::min(r.Height(), ListItemHeight(hwnd) + 6);
    const CRect field(r.left, r.top, r.right, r.top + height);
    dc.FillSolidRect(field, GetSysColor(COLOR_WINDOW));
    Frame(dc, field, GetSysColor(COLOR_BTNSHADOW));
    const int arrow = height;
    const CRect button(field.right - arrow, field.top + 1, field.right - 1, field.bottom - 1);
    dc.FillSolidRect(button, GetSysColor(COLOR_BTNFACE));
    Edge(dc, button, false);
    for (int row = 0; row < 4; ++row) {
        const int cx = (button.left + button.right) / 2;
        const int cy = (button.top + button.bottom) / 2 - 2 + row;
        dc.FillSolidRect(CRect(cx - 3 + row, cy, cx + 4 - row, cy + 1), RGB(0, 0, 0));
    }
    Text(dc, hwnd, TextOf(hwnd), CRect(field.left + 3, field.top, button.left - 1, field.bottom), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void PaintProgress(CDC& dc, HWND hwnd) {
    const CRect r = ClientOf(hwnd);
    dc.FillSolidRect(r, GetSysColor(COLOR_3DLIGHT));
    Frame(dc, r, GetSysColor(COLOR_BTNSHADOW));
    PBRANGE range;
    SendMessage(hwnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const long long span = static_cast<long long>(range.iHigh) - range.iLow;
    const long long done = static_cast<long long>(SendMessage(hwnd, PBM_GETPOS)) - range.iLow;
    if (span <= 0 || done <= 0) return;
    const int width = static_cast<int>((r.Width() - 2) * std::min(done, span) / span);
    dc.FillSolidRect(CRect(r.left + 1, r.top + 1, r.left + 1 + width, r.bottom - 1), RGB(6, 176, 37));
}

void PaintListView(CDC& dc, HWND hwnd) {
    const CRect r = ClientOf(hwnd);
    dc.FillSolidRect(r, GetSysColor(COLOR_WINDOW));
    const int height = ListItemHeight(hwnd);
    const auto columns = ListViewColumns(hwnd);
    int x = r.left;
    for (const auto& [title, width] : columns) {
        const CRect header(x, r.top, x + width, r.top + height);
        dc.FillSolidRect(header, GetSysColor(COLOR_BTNFACE));
        Edge(dc, header, false);
        Text(dc, hwnd, title, CRect(header.left + 4, header.top, header.right, header.bottom), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        x += width;
    }
    const int count = static_cast<int>(SendMessage(hwnd, LVM_GETITEMCOUNT));
    for (int i = 0, y = r.top + height; i < count && y < r.bottom; ++i, y += height) {
        const CRect line(r.left, y, r.right, y + height);
        if (SendMessage(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED)) dc.FillSolidRect(line, GetSysColor(COLOR_HIGHLIGHT));
        int left = r.left;
        for (size_t c = 0; c < std::max<size_t>(columns.size(), 1); ++c) {
            wchar_t buffer[256] = {};
            LVITEM item;
            item.iSubItem = static_cast<int>(c);
            item.pszText = buffer;
            item.cchTextMax = 256;
            SendMessage(hwnd, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            const int width = columns.empty() ? r.Width() : columns[c].second;
            Text(dc, hwnd, buffer, CRect(left + 4, line.top, left + width, line.bottom), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            left += width;
        }
    }
}

void PaintFrame(CDC& dc, HWND hwnd) {
    Window* w = Find(hwnd);
    if (!w) return;
    const CRect r(0, 0, w->rect.Width(), w->rect.Height());
    const CRect insets = FrameInsets(w->style, w->exStyle);
    if (IsChildWindow(*w)) {
        // A control's border: sunken for a client edge, a line otherwise.
        if (w->exStyle & WS_EX_CLIENTEDGE) {
            Edge(dc, r, true);
            Frame(dc, CRect(1, 1, r.right - 1, r.bottom - 1), GetSysColor(COLOR_BTNSHADOW));
        } else if (w->style & WS_BORDER) {
            Frame(dc, r, GetSysColor(COLOR_WINDOWFRAME));
        }
        return;
    }
    dc.FillSolidRect(r, GetSysColor(COLOR_BTNFACE));
    if (insets.left > 0) {
        Frame(dc, r, GetSysColor(COLOR_WINDOWFRAME));
        Edge(dc, CRect(1, 1, r.right - 1, r.bottom - 1), false);
    }
    if ((w->style & WS_CAPTION) == WS_CAPTION) {
        const CRect caption(insets.left, insets.left, r.right - insets.right, insets.top);
        dc.FillSolidRect(caption, GetSysColor(COLOR_ACTIVECAPTION));
        FontScope font(dc, hwnd);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_CAPTIONTEXT));
        CRect title(caption.left + 6, caption.top, caption.right - 30, caption.bottom);
        dc.DrawText(CString(w->text.c_str()), &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if ((w->style & WS_SYSMENU) && qx::HasCloseCommand(hwnd)) {
            // The close box: a cross on the caption's right end.
            const int size = caption.Height() - 6;
            const int left = caption.right - size - 4, top = caption.top + 3;
            for (int i = 2; i < size - 2; ++i) {
                dc.FillSolidRect(CRect(left + i, top + i, left + i + 2, top + i + 1), RGB(255, 255, 255));
                dc.FillSolidRect(CRect(left + size - i - 2, top + i, left + size - i, top + i + 1), RGB(255, 255, 255));
            }
        }
    }
}

}  // namespace qx::wnd
