// Where the family's message box puts its parts: the icon, the message, the
// check box, the input field and the row of buttons, and how large the box
// is. Pure geometry in pixels, measured in the font selected into the
// measuring context, so tests and every host get the same rectangles.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/gfx/gdi_types.h"

class CDC;

namespace qx {

struct AdvMsgBoxContent {
    std::vector<std::wstring> lines;  // the message, split at line ends
    bool icon = false;
    std::wstring checkText;  // empty: no check box
    bool input = false;
    std::vector<std::wstring> labels;  // the buttons, in order
};

struct AdvMsgBoxLayout {
    CRect icon;
    CRect text;
    CRect check;  // empty without a check box
    CRect input;  // empty without an input field
    std::vector<CRect> buttons;
    CSize dialog;  // the window's size, caption included, wide enough for every part
};

// *fullScreenWidth* is the screen's full-screen client width (a row wider
// than it is measured again without the buttons' minimum width);
// *captionHeight* the height of a caption.
QX_API AdvMsgBoxLayout LayOutAdvMsgBox(const AdvMsgBoxContent& content, CDC& dc, int fullScreenWidth, int captionHeight);

}  // namespace qx
