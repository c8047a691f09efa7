// What one CPrintEngine holds between calls: the layout and its loaded
// section, the data trees, the contexts, the page files of the job and the
// page loaded for drawing.
#pragma once

#include <memory>
#include <vector>

#include "qx/print/data_tree.h"
#include "qx/print/image_cache.h"
#include "qx/print/layout_reader.h"
#include "qx/print/page_file.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/rich_text_blocks.h"

class CDC;

namespace qx {

struct PrintEngineState {
    LayoutFile layout;
    LayoutState section;
    std::vector<CDataTree*> trees;  // not owned
    CDC* dc = nullptr;              // not owned

    PageFileSet pages;
    RichTextBlocks richText;
    ImageCache images;  // the job's pictures, for composing and drawing

    int currentPage = 0;                // 0-based
    std::unique_ptr<LoadedPage> loaded;  // the current page, when loaded
    bool loadImages = true;             // off while writing text
    int pageOffset = 0;                 // added to every page number shown
    CString composeError;               // why the last composition failed

    // Page files deleted, loaded page, rich texts and pictures released.
    void Reset() {
        loaded.reset();
        pages.Reset();
        richText.Reset();
        images.Reset();
    }
};

}  // namespace qx
