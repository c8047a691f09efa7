#include "qx/print/print_engine.h"

#include "qx/platform/base/exceptions.h"
#include "qx/platform/gfx/targets.h"
#include "qx/print/font_cache.h"
#include "qx/print/internal/page_composer.h"
#include "qx/print/internal/page_renderer.h"
#include "qx/print/page_geometry.h"
#include "qx/print/text_output.h"
#include "qx/text/str_util.h"

namespace {

int MulDivRounded(int value, int numerator, int denominator) {
    if (denominator == 0) return 0;
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + denominator / 2) / denominator);
}

// Monochrome pages: a printing context with two colours at most that is not
// a raster printer (-1 means more colours than a palette holds).
bool IsMonochrome(const CDC& dc) {
    const int colors = dc.GetDeviceCaps(NUMCOLORS);
    return dc.IsPrinting() && colors > 0 && colors <= 2 && dc.GetDeviceCaps(TECHNOLOGY) != DT_RASPRINTER;
}

}  // namespace

CPrintEngine* CPrintEngine::newInstance() { return new CPrintEngine(); }

CPrintEngine::CPrintEngine() : state_(std::make_unique<qx::PrintEngineState>()) {}

CPrintEngine::~CPrintEngine() { state_->Reset(); }

CDC* CPrintEngine::SetEngineDC(CDC* dc) {
    CDC* previous = state_->dc;
    state_->dc = dc;
    return previous;
}

int CPrintEngine::SetMaskFilePath(CString path) {
    state_->trees.clear();
    return state_->layout.Set(path) ? 1 : 0;
}

void CPrintEngine::SetDataPtr(CDataTree* tree) { state_->trees.push_back(tree); }

CDataTree* CPrintEngine::GetDataPtr() { return state_->trees.empty() ? nullptr : state_->trees.front(); }

int CPrintEngine::WriteTempFile(int page) {
    state_->currentPage = page;
    state_->Reset();
    state_->composeError.Empty();
    if (state_->dc != nullptr && state_->dc->HasAttributeContext()) {
        const CDC& dc = *state_->dc;
        qx::SharedPageGeometry().width =
            MulDivRounded(dc.GetDeviceCaps(PHYSICALWIDTH), qx::kEngineUnitsPerInch, dc.GetDeviceCaps(LOGPIXELSX));
        state_->section.pageHeight =
            MulDivRounded(dc.GetDeviceCaps(PHYSICALHEIGHT), qx::kEngineUnitsPerInch, dc.GetDeviceCaps(LOGPIXELSY));
    }
    qx::PageComposer composer(*state_);
    if (composer.ComposeAll()) return 1;
    // Pages made before the job stopped are no result.
    state_->Reset();
    state_->composeError = composer.Failure();
    return 0;
}

CString CPrintEngine::GetComposeError() const { return state_->composeError; }

int CPrintEngine::GetPageCount() { return state_->pages.PageCount(); }

void CPrintEngine::SetCurPage(int page) {
    if (page < 0) throw CInvalidArgException();
    state_->pages.ClosePageFile();
    state_->loaded.reset();
    state_->currentPage = page;
    if (page > GetPageCount() - 1) return;
    state_->loaded = std::make_unique<qx::LoadedPage>(
        qx::ReadPageFile(state_->pages.PagePath(page).c_str(), state_->layout.folder));
    if (!state_->loadImages) return;
    for (auto& object : state_->loaded->objects) {
        if (object->kind == qx::kPrintImage) object->image = state_->images.Get(object->text);
    }
}

void CPrintEngine::RenderPage(int stretch, int pageOffset) {
    state_->pageOffset = pageOffset;
    state_->pages.ClosePageFile();
    if (state_->dc == nullptr) return;
    CDC& dc = *state_->dc;
    const int saved = dc.SaveDC();
    const bool monochrome = IsMonochrome(dc);
    const qx::PageNumbers numbers{state_->currentPage + 1, GetPageCount(), pageOffset};
    auto drawPage = [&](CDC& target) {
        if (state_->loaded) qx::DrawPage(target, *state_->loaded, monochrome, numbers, state_->richText);
    };

    if (!dc.IsPrinting()) {
        drawPage(dc);
    } else {
        const int pageWidth = state_->loaded ? state_->loaded->width : qx::SharedPageGeometry().width;
        const int pageHeight = state_->loaded ? qx::PageHeightFor(state_->loaded->width, state_->loaded->landscape != 0)
                                              : state_->section.pageHeight;
        CSize target(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        if (stretch == 0 && target.cx > 0 && target.cy > 0) {
            const float rw = static_cast<float>(pageWidth) / static_cast<float>(target.cx);
            const float rh = static_cast<float>(pageHeight) / static_cast<float>(target.cy);
            if (rh >= rw) {
                target.cx = static_cast<int>(static_cast<float>(pageWidth) / rh);
            } else {
                target.cy = static_cast<int>(static_cast<float>(pageHeight) / rw);
            }
        }
        // The page is recorded in engine units and played into the printable
        // area; the two white pixels make the recording span the whole page,
        // whose frame the recording is also given.
        const CRect frame(0, 0, pageWidth + 1, pageHeight + 1);
        CMetaFileDC recording(nullptr, &frame);
        recording.SetPixel(0, 0, RGB(255, 255, 255));
        recording.SetPixel(pageWidth, pageHeight, RGB(255, 255, 255));
        drawPage(recording);
        const std::unique_ptr<CEnhMetaFile> metafile = recording.CloseEnhanced();
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.DPtoLP(&target);
        if (metafile) dc.PlayMetaFile(*metafile, CRect(0, 0, target.cx, target.cy));
    }
    dc.RestoreDC(saved);
    qx::ClearFontCache();
}

void CPrintEngine::OutputToTextFile(const wchar_t* path, int append) {
    state_->loadImages = false;
    CStringList lines;
    if (append != 0) qxStrUtil::readStringlistFromFile(lines, path, 1252, 0);

    // The cell of the fixed-pitch font as the screen shows it, in engine
    // units, so that a page becomes a page of text at that font's size.
    CMemoryDC screen;
    screen.SelectStockObject(ANSI_FIXED_FONT);
    const CSize cell = screen.GetTextExtent(L"W");
    const int cellWidth = MulDivRounded(cell.cx, qx::kEngineUnitsPerInch, screen.GetDeviceCaps(LOGPIXELSX));
    const int cellHeight = MulDivRounded(cell.cy, qx::kEngineUnitsPerInch, screen.GetDeviceCaps(LOGPIXELSY));

    for (int page = 0; page < GetPageCount(); ++page) {
        SetCurPage(page);
        const qx::LoadedPage& loaded = *state_->loaded;
        const qx::PageNumbers numbers{page + 1, GetPageCount(), state_->pageOffset};
        for (const CString& row : qx::PageToTextRows(
                 loaded, loaded.width, qx::PageHeightFor(loaded.width, loaded.landscape != 0), cellWidth, cellHeight,
                 [&](const PRINTOBJ& object) { return qx::ObjectTextWithPageNumber(object, numbers); })) {
            lines.AddTail(row);
        }
    }
    qxStrUtil::writeStringlistToFile(lines, path, 65001);
    state_->loadImages = true;
    state_->Reset();
}
