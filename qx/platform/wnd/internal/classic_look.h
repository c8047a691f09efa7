// The plain classic look the standard controls paint themselves in (the
// image host shows it; the GTK host uses native widgets instead). Painters
// read the control through its messages, as any view would.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "qx/platform/wnd/window_types.h"

class CDC;

namespace qx::wnd {

void PaintButton(CDC& dc, HWND hwnd);
void PaintEdit(CDC& dc, HWND hwnd);
void PaintStatic(CDC& dc, HWND hwnd);
void PaintListBox(CDC& dc, HWND hwnd);
void PaintComboBox(CDC& dc, HWND hwnd);
void PaintProgress(CDC& dc, HWND hwnd);
void PaintListView(CDC& dc, HWND hwnd);
// The frame, caption and client background of a top-level window, drawn
// with the context's origin at the window's top-left corner.
void PaintFrame(CDC& dc, HWND hwnd);

// The height of one entry of a list in the control's font.
int ListItemHeight(HWND hwnd);
std::vector<std::pair<std::wstring, int>> ListViewColumns(HWND hwnd);

}  // namespace qx::wnd
