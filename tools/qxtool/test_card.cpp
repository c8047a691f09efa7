#include "tools/qxtool/test_card.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/rich_text.h"
#include "qx/platform/gfx/targets.h"

namespace qxtool {
namespace {

int Mm(double mm) { return static_cast<int>(std::lround(mm * kCardUnitsPerInch / 25.4)); }
// A font height (character height, negative) for a size in points.
int Pt(double points) { return -static_cast<int>(std::lround(points * kCardUnitsPerInch / 72.0)); }

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(150, 150, 150);
constexpr COLORREF kLightGrey = RGB(215, 215, 215);
constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kBlue = RGB(30, 70, 200);
constexpr COLORREF kGreen = RGB(20, 150, 60);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

struct FontStyle {
    int height = Pt(9);
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    int escapement = 0;
    const wchar_t* face = L"Arial";
};

// Selects a font, pen or brush for as long as it lives.
class UseFont {
public:
    UseFont(CDC& dc, const FontStyle& style) : dc_(dc) {
        font_.CreateFont(style.height, 0, style.escapement, 0, style.weight, style.italic, style.underline, false,
                         DEFAULT_CHARSET, style.face);
        old_ = dc_.SelectObject(&font_);
    }
    ~UseFont() { dc_.SelectObject(old_); }

private:
    CDC& dc_;
    CFont font_;
    CFont* old_;
};

class UsePen {
public:
    UsePen(CDC& dc, int style, int width, COLORREF color) : dc_(dc), pen_(style, width, color) {
        old_ = dc_.SelectObject(&pen_);
    }
    ~UsePen() { dc_.SelectObject(old_); }

private:
    CDC& dc_;
    CPen pen_;
    CPen* old_;
};

class UseBrush {
public:
    UseBrush(CDC& dc, COLORREF color) : dc_(dc), brush_(color) { old_ = dc_.SelectObject(&brush_); }
    // No brush: shapes get an outline only.
    explicit UseBrush(CDC& dc) : dc_(dc) {
        old_ = static_cast<CBrush*>(dc_.SelectStockObject(NULL_BRUSH));
    }
    ~UseBrush() { dc_.SelectObject(old_); }

private:
    CDC& dc_;
    CBrush brush_;
    CBrush* old_;
};

void Text(CDC& dc, int x, int y, const wchar_t* text, const FontStyle& style = {}, COLORREF color = kBlack) {
    UseFont font(dc, style);
    dc.SetTextColor(color);
    dc.TextOut(x, y, CString(text));
}

void Heading(CDC& dc, double xMm, double yMm, const wchar_t* text) {
    Text(dc, Mm(xMm), Mm(yMm), text, {.height = Pt(11), .weight = FW_BOLD}, kBlue);
}

// Squares of two greys, so that what is left out of a fill shows.
void Checkerboard(CDC& dc, const CRect& area, int square) {
    for (int y = area.top; y < area.bottom; y += square) {
        for (int x = area.left; x < area.right; x += square) {
            const bool dark = ((x - area.left) / square + (y - area.top) / square) % 2 == 0;
            dc.FillSolidRect(CRect(x, y, std::min(x + square, area.right), std::min(y + square, area.bottom)),
                             dark ? kGrey : kLightGrey);
        }
    }
}

// A hair cross through (x, y) with an open square around the point.
void MarkPoint(CDC& dc, int x, int y, int size, COLORREF color) {
    UsePen pen(dc, PS_SOLID, 0, color);
    UseBrush none(dc);
    dc.MoveTo(x - size, y);
    dc.LineTo(x + size, y);
    dc.MoveTo(x, y - size);
    dc.LineTo(x, y + size);
    dc.Rectangle(x - size / 4, y - size / 4, x + size / 4, y + size / 4);
}

// A report rectangle with a thin black outline: as the report renderer
// does, a white fill selects no brush at all, so it draws nothing.
void FilledRectangle(CDC& dc, const CRect& rect, COLORREF fill) {
    UsePen pen(dc, PS_SOLID, 0, kBlack);
    std::unique_ptr<UseBrush> brush =
        fill == RGB(255, 255, 255) ? std::make_unique<UseBrush>(dc) : std::make_unique<UseBrush>(dc, fill);
    dc.Rectangle(rect);
}

void DrawTitle(CDC& dc) {
    Text(dc, Mm(10), Mm(7), L"qxbase drawing test card", {.height = Pt(20), .weight = FW_BOLD});
    Text(dc, Mm(10), Mm(15),
         L"A4 portrait in MM_ANISOTROPIC, 1322 units per inch; every primitive of the drawing layer.",
         {.height = Pt(8)}, kGrey);
    UsePen pen(dc, PS_SOLID, 0, kBlack);
    UseBrush none(dc);
    dc.Rectangle(Mm(4), Mm(4), Mm(206), Mm(293));
}

void DrawTextAlignments(CDC& dc) {
    Heading(dc, 10, 20, L"DrawText alignments");
    struct Box {
        unsigned format;
        const wchar_t* label;
    };
    const Box boxes[] = {
        {DT_LEFT | DT_TOP, L"left top"},
        {DT_CENTER | DT_TOP, L"centre top"},
        {DT_RIGHT | DT_TOP, L"right top"},
        {DT_LEFT | DT_VCENTER | DT_SINGLELINE, L"left vcentre"},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, L"centre vcentre"},
        {DT_RIGHT | DT_VCENTER | DT_SINGLELINE, L"right vcentre"},
        {DT_LEFT | DT_BOTTOM | DT_SINGLELINE, L"left bottom"},
        {DT_CENTER | DT_BOTTOM | DT_SINGLELINE, L"centre bottom"},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, L"right bottom"},
        {DT_LEFT | DT_WORDBREAK, L"word break: a longer text wraps at spaces inside the box, line after line"},
        {DT_CENTER | DT_WORDBREAK, L"centred word break: each line centred on its own width"},
        {DT_RIGHT | DT_WORDBREAK, L"right word break with\nan explicit line feed"},
    };
    CBrush frame(kGrey);
    UseFont font(dc, {.height = Pt(9)});
    dc.SetTextColor(kBlack);
    for (int k = 0; k < 12; ++k) {
        CRect box(Mm(10 + 64.0 * (k % 3)), Mm(27 + 17.0 * (k / 3)), 0, 0);
        box.right = box.left + Mm(58);
        box.bottom = box.top + Mm(14);
        dc.FrameRect(box, &frame);
        box.DeflateRect(Mm(1), Mm(1), Mm(1), Mm(1));
        dc.DrawText(CString(boxes[k].label), &box, boxes[k].format | DT_NOPREFIX);
    }
}

void DrawRotations(CDC& dc) {
    Heading(dc, 10, 98, L"TextOut escapement (reference point marked)");
    const int x = Mm(55);
    const int y = Mm(132);
    const struct {
        int escapement;
        const wchar_t* text;
    } turns[] = {{0, L"0: Heizung"}, {900, L"900: Lueftung"}, {1800, L"1800: Sanitaer"}, {2700, L"2700: Kaelte"}};
    const COLORREF colors[] = {kBlack, kBlue, kGreen, kRed};
    for (int k = 0; k < 4; ++k) {
        Text(dc, x, y, turns[k].text, {.height = Pt(10), .escapement = turns[k].escapement}, colors[k]);
    }
    MarkPoint(dc, x, y, Mm(5), kRed);
}

void DrawFixedHeights(CDC& dc) {
    Heading(dc, 110, 98, L"Fixed heights of the report fonts");
    const int heights[] = {-86, -115, -134, -152, -204, -270};
    int y = Mm(106);
    for (int height : heights) {
        const std::wstring label = std::to_wstring(height) + L"  Rohrnetz AaBbQq 0123";
        Text(dc, Mm(110), y, label.c_str(), {.height = height});
        y += -height * 3 / 2;
    }
}

void DrawFontStyles(CDC& dc) {
    Heading(dc, 10, 160, L"Styles and faces");
    const struct {
        const wchar_t* text;
        FontStyle style;
    } samples[] = {
        {L"Regular", {.height = Pt(11)}},
        {L"Bold", {.height = Pt(11), .weight = FW_BOLD}},
        {L"Italic", {.height = Pt(11), .italic = true}},
        {L"Underline", {.height = Pt(11), .underline = true}},
        {L"Bold italic underlined", {.height = Pt(11), .weight = FW_BOLD, .italic = true, .underline = true}},
        {L"Arial", {.height = Pt(11), .face = L"Arial"}},
        {L"Times New Roman", {.height = Pt(11), .face = L"Times New Roman"}},
        {L"Courier New", {.height = Pt(11), .face = L"Courier New"}},
    };
    for (int k = 0; k < 8; ++k) {
        const double x = k < 5 ? 10 + 33.0 * k : 10 + 50.0 * (k - 5);
        Text(dc, Mm(x), Mm(k < 5 ? 167 : 174), samples[k].text, samples[k].style);
    }
}

void DrawShapes(CDC& dc) {
    Heading(dc, 10, 182, L"Pens, brushes, rounded corners, fills");
    const struct {
        int style;
        int width;
        COLORREF pen;
        COLORREF brush;
    } rects[] = {
        {PS_SOLID, 0, kBlack, RGB(255, 230, 150)},
        {PS_SOLID, 20, kBlue, RGB(200, 220, 255)},
        {PS_SOLID, 60, kRed, RGB(255, 200, 200)},
        {PS_DASH, 0, kBlack, RGB(220, 255, 220)},
        {PS_DOT, 0, kGreen, RGB(240, 240, 240)},
    };
    for (int k = 0; k < 5; ++k) {
        UsePen pen(dc, rects[k].style, rects[k].width, rects[k].pen);
        UseBrush brush(dc, rects[k].brush);
        const int left = Mm(10 + 20.0 * k);
        dc.Rectangle(left, Mm(189), left + Mm(16), Mm(203));
    }
    {
        UsePen pen(dc, PS_SOLID, 15, kBlue);
        UseBrush brush(dc, RGB(255, 240, 200));
        dc.RoundRect(Mm(110), Mm(189), Mm(140), Mm(203), Mm(6), Mm(6));
        UseBrush none(dc);
        dc.RoundRect(Mm(144), Mm(189), Mm(174), Mm(203), Mm(14), Mm(10));
    }
    {
        UsePen nullPen(dc, PS_NULL, 0, kBlack);
        UseBrush brush(dc, kGreen);
        dc.Rectangle(Mm(178), Mm(189), Mm(198), Mm(203));
    }
    // Lines of every width.
    for (int k = 0; k < 5; ++k) {
        UsePen pen(dc, PS_SOLID, k * 15, k % 2 ? kRed : kBlack);
        dc.MoveTo(Mm(10), Mm(207 + 2.0 * k));
        dc.LineTo(Mm(60), Mm(207 + 2.0 * k));
    }
    for (int k = 0; k < 5; ++k) dc.SetPixel(Mm(62 + k), Mm(211), kRed);

    // A white fill leaves the background as it is; a fill one step off
    // white covers it.
    const CRect background(Mm(70), Mm(206), Mm(140), Mm(218));
    Checkerboard(dc, background, Mm(2));
    FilledRectangle(dc, CRect(Mm(73), Mm(208), Mm(103), Mm(216)), RGB(255, 255, 255));
    FilledRectangle(dc, CRect(Mm(107), Mm(208), Mm(137), Mm(216)), RGB(255, 255, 254));
    Text(dc, Mm(74), Mm(209.5), L"fill white", {.height = Pt(8)});
    Text(dc, Mm(108), Mm(209.5), L"fill 255,255,254", {.height = Pt(8)});

    dc.FillSolidRect(CRect(Mm(146), Mm(206), Mm(198), Mm(218)), RGB(255, 220, 120));
    Text(dc, Mm(148), Mm(208), L"InvertRect", {.height = Pt(9), .weight = FW_BOLD});
    dc.InvertRect(CRect(Mm(172), Mm(206), Mm(198), Mm(218)));
}

// Bottom-up rows padded to four bytes.
struct Dib {
    BITMAPINFOHEADER header;
    std::vector<std::uint8_t> bits;
    std::vector<RGBQUAD> palette;
};

Dib PaletteDib() {
    Dib dib;
    dib.header.biWidth = 16;
    dib.header.biHeight = 16;
    dib.header.biBitCount = 8;
    for (int k = 0; k < 256; ++k) {
        dib.palette.push_back(RGBQUAD{static_cast<std::uint8_t>(k % 16 * 16), static_cast<std::uint8_t>(128),
                                      static_cast<std::uint8_t>(k / 16 * 16), 0});
    }
    for (int row = 0; row < 16; ++row) {
        for (int x = 0; x < 16; ++x) dib.bits.push_back(static_cast<std::uint8_t>((15 - row) * 16 + x));
    }
    return dib;
}

// 30 pixels wide, so that every row carries two bytes of padding.
Dib TrueColourDib(bool transparentCorners) {
    Dib dib;
    dib.header.biWidth = 30;
    dib.header.biHeight = 30;
    dib.header.biBitCount = 24;
    for (int row = 0; row < 30; ++row) {
        const int y = 29 - row;
        for (int x = 0; x < 30; ++x) {
            const bool outside = std::abs(x - 15) + std::abs(y - 15) > 14;
            if (transparentCorners && outside) {
                dib.bits.insert(dib.bits.end(), {255, 0, 255});
            } else {
                dib.bits.insert(dib.bits.end(), {static_cast<std::uint8_t>(255 - y * 8),
                                                 static_cast<std::uint8_t>(y * 8), static_cast<std::uint8_t>(x * 8)});
            }
        }
        dib.bits.insert(dib.bits.end(), {0, 0});
    }
    return dib;
}

void DrawBitmaps(CDC& dc) {
    Heading(dc, 10, 222, L"Bitmaps: 8-bit, 24-bit, transparent");
    const Dib palette = PaletteDib();
    dc.StretchDIBits(Mm(10), Mm(229), Mm(24), Mm(24), 0, 0, 16, 16, palette.bits.data(), palette.header,
                     palette.palette.data());
    const Dib colour = TrueColourDib(false);
    dc.StretchDIBits(Mm(38), Mm(229), Mm(24), Mm(24), 0, 0, 30, 30, colour.bits.data(), colour.header, nullptr);
    const CRect behind(Mm(66), Mm(229), Mm(90), Mm(253));
    Checkerboard(dc, behind, Mm(3));
    const Dib keyed = TrueColourDib(true);
    dc.TransparentDIBits(behind.left, behind.top, behind.Width(), behind.Height(), 0, 0, 30, 30,
                         keyed.bits.data(), keyed.header, nullptr, kMagenta);
}

void DrawMetafile(CDC& dc) {
    Heading(dc, 110, 222, L"Recorded metafile, played back twice");
    const CRect frame(0, 0, 1000, 600);
    CMetaFileDC recorder(&dc, &frame);
    {
        UsePen pen(recorder, PS_SOLID, 20, kBlue);
        UseBrush brush(recorder, RGB(200, 220, 255));
        recorder.Rectangle(0, 0, 1000, 600);
        UsePen red(recorder, PS_SOLID, 30, kRed);
        recorder.MoveTo(0, 600);
        recorder.LineTo(1000, 0);
        recorder.SetBkMode(TRANSPARENT);
        Text(recorder, 60, 60, L"EMF", {.height = -200, .weight = FW_BOLD});
    }
    const std::unique_ptr<CEnhMetaFile> metafile = recorder.CloseEnhanced();
    if (!metafile) return;
    dc.PlayMetaFile(*metafile, CRect(Mm(110), Mm(229), Mm(150), Mm(253)));
    dc.PlayMetaFile(*metafile, CRect(Mm(156), Mm(235), Mm(176), Mm(247)));
}

void DrawRichText(CDC& dc) {
    Heading(dc, 10, 258, L"Rich text");
    qx::gfx::RichText text;
    text.LoadRtf(
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
        R"({\colortbl ;\red200\green30\blue30;\red30\green70\blue200;})"
        R"(\fs20 A rich text paragraph laid out by the layer's own reader: \b bold\b0 , \i italic\i0 , )"
        R"(\ul underlined\ulnone , {\cf1 red} and {\cf2 blue} runs, {\f1\fs28 a larger serif face}, )"
        R"(umlauts from code page escapes (\'c4\'d6\'dc \'e4\'f6\'fc \'df) and Unicode (\u8364? \u8486?). )"
        R"(The words wrap into the framed box and stop at its bottom.\par )"
        R"(\qc A second, centred paragraph.\par})");
    const CRect box(Mm(10), Mm(265), Mm(200), Mm(288));
    CBrush frame(kGrey);
    dc.FrameRect(box, &frame);
    CRect inside = box;
    inside.DeflateRect(Mm(1.5), Mm(1.5), Mm(1.5), Mm(1.5));
    dc.SetTextColor(kBlack);
    text.FormatRange(dc, inside, kCardUnitsPerInch, 0, -1, true);
}

}  // namespace

void DrawTestCard(CDC& dc) {
    dc.SetBkMode(TRANSPARENT);
    DrawTitle(dc);
    DrawTextAlignments(dc);
    DrawRotations(dc);
    DrawFixedHeights(dc);
    DrawFontStyles(dc);
    DrawShapes(dc);
    DrawBitmaps(dc);
    DrawMetafile(dc);
    DrawRichText(dc);
}

}  // namespace qxtool
