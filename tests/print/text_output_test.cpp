#include "qx/print/text_output.h"

#include <gtest/gtest.h>

#include <climits>

namespace qx {
namespace {

std::vector<std::wstring> Place(std::wstring_view text, CellBox box, int alignment, size_t rows = 6,
                                size_t columns = 12) {
    std::vector<std::wstring> grid(rows, std::wstring(columns, L'.'));
    PlaceTextInCells(grid, text, box, alignment);
    return grid;
}

TEST(TextOutputTest, ChunksEndAtLineFeedsSpacesOrTheBoxWidth) {
    struct Case {
        const char* what;
        std::wstring_view text;
        CellBox box;
        int alignment;
        std::vector<std::wstring> rows;
    };
    const Case cases[] = {
        {"hard cut, a space ends a chunk", L"Hello world", {1, 1, 4, 5}, 0,
         {L"............", L".Hel........", L".lo.........", L".wor........", L".ld.........", L"............"}},
        {"right aligned", L"ab", {1, 0, 11, 1}, 2,
         {L".........ab.", L"............", L"............", L"............", L"............", L"............"}},
        {"centred", L"abc\nde", {0, 0, 8, 2}, 1,
         {L"..abc.......", L"...de.......", L"............", L"............", L"............", L"............"}},
        {"line feeds, empty lines stay", L"a\n\nb", {0, 0, 5, 6}, 0,
         {L"a...........", L"............", L"b...........", L"............", L"............", L"............"}},
        {"stops at the box bottom", L"aa bb cc", {0, 0, 2, 2}, 0,
         {L"aa..........", L"bb..........", L"............", L"............", L"............", L"............"}},
        {"clipped at the grid", L"abcdef gh", {9, 4, 15, 9}, 0,
         {L"............", L"............", L"............", L"............", L".........abc", L".........gh."}},
        {"a box above the grid", L"1 2 3 4", {0, -2, 1, 3}, 0,
         {L"3...........", L"4...........", L"............", L"............", L"............", L"............"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Place(c.text, c.box, c.alignment), c.rows);
    }
}

TEST(TextOutputTest, BoxesWithoutWidthOrFarOutsideCostNothing) {
    const std::vector<std::wstring> empty(6, std::wstring(12, L'.'));
    EXPECT_EQ(Place(L"abc", {5, INT_MIN, 5, INT_MAX}, 0), empty);
    EXPECT_EQ(Place(L"abc", {5, 0, 2, 6}, 2), empty);
    EXPECT_EQ(Place(L"abc", {INT_MAX, 0, INT_MIN, 6}, 1), empty);
}

PRINTOBJ TextObject(const CString& text, int left, int top, int right, int bottom) {
    PRINTOBJ o;
    o.text = text;
    o.left = left;
    o.top = top;
    o.right = right;
    o.bottom = bottom;
    o.fillColor = kWhite;
    return o;
}

TEST(TextOutputTest, PagesBecomeTrimmedRows) {
    LoadedPage page;
    page.objects.push_back(std::make_unique<PRINTOBJ>(TextObject(L"Seite %s", 20, 0, 200, 10)));
    page.objects.back()->name = L"PAGE";
    page.objects.push_back(std::make_unique<PRINTOBJ>(TextObject(L"a\r\nb", 0, 20, 100, 40)));
    page.objects.push_back(std::make_unique<PRINTOBJ>(TextObject(L"hidden", 0, 40, 100, 50)));
    page.objects.back()->color = kWhite;
    page.objects.push_back(std::make_unique<PRINTOBJ>(TextObject(L"line", 0, 40, 100, 50)));
    page.objects.back()->kind = kPrintLine;
    const auto fill = [](const PRINTOBJ& o) {
        CString text = o.text;
        if (o.name == L"PAGE") text.Replace(L"%s", L"3");
        return text;
    };
    // 10 x 10 units a cell: 6 rows of 15 columns.
    const std::vector<CString> rows = PageToTextRows(page, 155, 69, 10, 10, fill);
    EXPECT_EQ(rows, (std::vector<CString>{L"  Seite 3", L"", L"a", L"b", L"", L""}));
    EXPECT_TRUE(PageToTextRows(page, 155, 69, 0, 10, fill).empty());
}

}  // namespace
}  // namespace qx
