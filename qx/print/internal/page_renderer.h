// Drawing a loaded page on a context in engine units, and the page numbers
// its texts show.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/rich_text_blocks.h"

class CDC;

namespace qx {

struct PageNumbers {
    int display = 1;  // the current page, counted from 1
    int count = 0;
    int offset = 0;
};

// The text of *object* with its page number filled in when its name is
// "PAGE", "PREVPAGE", "NEXTPAGE" or "PAGECOUNT"; otherwise its own text.
CString ObjectTextWithPageNumber(const PRINTOBJ& object, const PageNumbers& numbers);

// Draws *page* in three passes: rectangles and images, then lines, then
// texts. With *monochrome*, colours of outlines, lines and texts become
// black; fills keep theirs.
void DrawPage(CDC& dc, const LoadedPage& page, bool monochrome, const PageNumbers& numbers,
              RichTextBlocks& richText);

}  // namespace qx
