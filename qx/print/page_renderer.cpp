#include "qx/print/internal/page_renderer.h"

#include <algorithm>

#include "qx/platform/gfx/dc.h"
#include "qx/platform/gfx/rich_text.h"
#include "qx/print/field_text.h"
#include "qx/print/font_cache.h"
#include "qx/print/formatted_text.h"
#include "qx/print/page_geometry.h"
#include "qx/print/object_font.h"
#include "qx/print/rotated_text.h"
#include "qx/print/wimage.h"

namespace qx {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

CRect BoxOf(const PRINTOBJ& object) { return {object.left, object.top, object.right, object.bottom}; }

// The outline with the object's pen when framed, the inside with its fill
// unless the fill is white; one unit wider to the right and the bottom.
void DrawRectangle(CDC& dc, const PRINTOBJ& object, bool monochrome) {
    CPen pen(PS_SOLID, object.outlineWidth, monochrome ? kBlack : object.color);
    CBrush brush(object.fillColor);
    CPen* oldPen = object.frame ? dc.SelectObject(&pen) : static_cast<CPen*>(dc.SelectStockObject(NULL_PEN));
    CBrush* oldBrush = object.fillColor != kWhite ? dc.SelectObject(&brush)
                                                  : static_cast<CBrush*>(dc.SelectStockObject(NULL_BRUSH));
    if (object.angle > 0) {
        dc.RoundRect(object.left, object.top, object.right + 1, object.bottom + 1, object.cornerSize,
                     object.cornerSize);
    } else {
        dc.Rectangle(object.left, object.top, object.right + 1, object.bottom + 1);
    }
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void DrawLine(CDC& dc, const PRINTOBJ& object, bool monochrome) {
    CPen pen(PS_SOLID, object.size, monochrome ? kBlack : object.color);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(object.x1, object.y1);
    dc.LineTo(object.x2, object.y2);
    dc.SelectObject(old);
}

void DrawPlainText(CDC& dc, const PRINTOBJ& object, const CString& text) {
    unsigned flags = DT_NOPREFIX | DT_WORDBREAK | DT_VCENTER;
    if (object.single) flags |= DT_SINGLELINE;
    if (object.alignment == 1) flags |= DT_CENTER;
    if (object.alignment == 2) flags |= DT_RIGHT;
    CRect box = BoxOf(object);

    if (object.grow) {
        // Drawn line by line, each line as high as the text's extent.
        flags = (flags & ~static_cast<unsigned>(DT_WORDBREAK)) | DT_SINGLELINE;
        const int lineHeight = dc.GetTextExtent(text).cy;
        int start = 0;
        for (int line = 0; start <= text.GetLength(); ++line) {
            int end = text.Find(L'\n', start);
            if (end < 0) end = text.GetLength();
            const CString lineText = text.Mid(start, end - start);
            const int width = dc.GetTextExtent(lineText).cx;
            CRect lineBox(box.left, box.top + line * lineHeight, std::max(box.right, box.left + width),
                          box.top + (line + 1) * lineHeight);
            dc.DrawText(lineText, &lineBox, flags);
            start = end + 1;
        }
        return;
    }
    const int halfW = dc.GetTextExtent(L"W").cx / 2;
    if (object.frame) {
        box.DeflateRect(object.alignment == 0 ? halfW : 2, 2, object.alignment == 2 ? halfW : 2, 2);
    }
    if (object.angle == 0) {
        dc.DrawText(text, &box, flags);
        return;
    }
    const CPoint origin = RotatedTextOrigin(object.angle, dc.GetTextExtent(text), box, object.alignment,
                                            object.single, object.frame ? halfW : 0);
    dc.TextOut(origin.x, origin.y, text);
}

void DrawText(CDC& dc, const PRINTOBJ& object, bool monochrome, const PageNumbers& numbers,
              RichTextBlocks& richText) {
    const CString text = ObjectTextWithPageNumber(object, numbers);
    CFont* oldFont = GetFont(FontOf(object)).Select(dc, 1);
    if (object.fillColor != kWhite) dc.FillSolidRect(BoxOf(object), object.fillColor);
    if (object.frame) DrawRectangle(dc, object, monochrome);
    dc.SetTextColor(monochrome ? kBlack : object.color);

    if (object.richTextBlock != 0) {
        if (const gfx::RichText* control = richText.Load(object.richTextBlock)) {
            control->FormatRange(dc, BoxOf(object), kEngineUnitsPerInch, object.firstChar, object.lastChar, true);
        }
    } else if (object.formatted) {
        CHtmlLayout layout(dc, text, FontOf(object), object.alignment, BoxOf(object));
        layout.Arrange(1, object.single);
        layout.Draw(dc, monochrome);
    } else {
        DrawPlainText(dc, object, text);
    }
    dc.SelectObject(oldFont);
}

}  // namespace

CString ObjectTextWithPageNumber(const PRINTOBJ& object, const PageNumbers& numbers) {
    int number = 0;
    if (object.name == L"PAGE") {
        number = numbers.offset + numbers.display;
    } else if (object.name == L"PREVPAGE") {
        number = numbers.offset + numbers.display - 1;
    } else if (object.name == L"NEXTPAGE") {
        number = numbers.offset + numbers.display + 1;
    } else if (object.name == L"PAGECOUNT") {
        number = numbers.offset + numbers.count;
    } else {
        return object.text;
    }
    CString value;
    value.Format(L"%d", number);
    return FillPlaceholders(object.text, value);
}

void DrawPage(CDC& dc, const LoadedPage& page, bool monochrome, const PageNumbers& numbers,
              RichTextBlocks& richText) {
    for (const auto& object : page.objects) {
        if (object->kind == kPrintRectangle) DrawRectangle(dc, *object, monochrome);
        if (object->kind == kPrintImage && object->image) object->image->Draw(dc, BoxOf(*object), object->single);
    }
    for (const auto& object : page.objects) {
        if (object->kind == kPrintLine) DrawLine(dc, *object, monochrome);
    }
    dc.SetBkMode(TRANSPARENT);
    for (const auto& object : page.objects) {
        if (object->kind == kPrintText) DrawText(dc, *object, monochrome, numbers, richText);
    }
}

}  // namespace qx
