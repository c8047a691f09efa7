#include "qx/ui/adv_msg_box_layout.h"

#include <algorithm>

#include "qx/platform/gfx/dc.h"

namespace qx {
namespace {

constexpr int kMinimumButtonWidth = 74;

int WidthOf(CDC& dc, const std::wstring& text) { return dc.GetTextExtent(CString(text.c_str())).cx; }

// The row of buttons from x = 6 at *top*, each as wide as its label plus 10
// and, with *minimum*, at least 74.
std::vector<CRect> Row(const std::vector<std::wstring>& labels, CDC& dc, int top, bool minimum) {
    std::vector<CRect> row;
    int left = 6;
    for (const std::wstring& label : labels) {
        int width = WidthOf(dc, label) + 10;
        if (minimum) width = std::max(width, kMinimumButtonWidth);
        row.emplace_back(left, top, left + width, top + 23);
        left += width + 6;
    }
    return row;
}

}  // namespace

AdvMsgBoxLayout LayOutAdvMsgBox(const AdvMsgBoxContent& content, CDC& dc, int fullScreenWidth, int captionHeight) {
    AdvMsgBoxLayout layout;
    layout.icon = content.icon ? CRect(12, 11, 44, 43) : CRect(15, 14, 15, 14);

    int width = 0, height = 0;
    for (const std::wstring& line : content.lines) {
        const CSize extent = dc.GetTextExtent(CString(line.empty() ? L" " : line.c_str()));
        width = std::max(width, extent.cx + 6);
        height += extent.cy + 4;
    }
    const int left = content.icon ? layout.icon.right + 18 : 15;
    layout.text = CRect(left, 14, left + width, 14 + height + 14);

    const int belowText = std::max(layout.text.bottom, layout.icon.bottom) + 11;
    if (!content.checkText.empty()) {
        const int checkWidth = std::max(WidthOf(dc, content.checkText) + 20, layout.text.Width());
        layout.check = CRect(left, belowText, left + checkWidth, belowText + 13);
    }
    if (content.input) {
        layout.input = CRect(left, belowText, left + std::max(300, layout.text.Width()), belowText + 20);
    }

    const int rowTop = (!content.checkText.empty() ? layout.check.bottom
                        : content.input           ? layout.input.bottom
                                                  : layout.text.bottom) +
                       17;
    layout.buttons = Row(content.labels, dc, rowTop, true);
    if (!layout.buttons.empty() && layout.buttons.back().right - layout.buttons.front().left > fullScreenWidth) {
        layout.buttons = Row(content.labels, dc, rowTop, false);
    }
    if (!layout.buttons.empty()) {
        // Centred under the text, or from 15 when the row is the wider.
        const int rowWidth = layout.buttons.back().right - layout.buttons.front().left;
        const int space = layout.text.right + 15;
        const int rowLeft = rowWidth > space ? 15 : (space - rowWidth) / 2;
        const int shift = rowLeft - layout.buttons.front().left;
        for (CRect& button : layout.buttons) button.OffsetRect(shift, 0);
    }

    // The check box and the input field count too: an input field is at
    // least 300 wide and would otherwise stand past the box's right edge.
    const int right = std::max({layout.text.right, layout.check.right, layout.input.right,
                                layout.buttons.empty() ? 0 : layout.buttons.back().right});
    const int bottom = layout.buttons.empty() ? rowTop : layout.buttons.back().bottom;
    layout.dialog = CSize(right + 15, captionHeight + bottom + 17);
    return layout;
}

}  // namespace qx
