// Page composition: turns the loaded layout sections and the data trees of
// an engine into page files. One composer runs one WriteTempFile.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "qx/platform/gfx/targets.h"
#include "qx/print/internal/print_engine_state.h"
#include "qx/print/print_object.h"

namespace qx {

class PageComposer {
public:
    explicit PageComposer(PrintEngineState& state);
    // Every registered tree, each child a record of the next layout section.
    void ComposeAll();

private:
    void ComposeSinglePage(const CDataTree& record);
    void ComposeFlowing(const CDataTree& record);
    // Places instances from *next* on the current page; returns the index of
    // the first instance not placed.
    size_t PlaceInstances(size_t next, int& available, bool& pageBreak);
    void PlaceInstance(CPagePart& instance);
    void UpdateRepeatedHeader(const CPagePart& instance);

    void Substitute(CPagePart& part, const CDataTree& node);
    void GrowText(PRINTOBJ& object);
    void GrowImage(PRINTOBJ& object);
    void BuildInstances(const CDataTree& node, int level);
    void AppendInstance(CPagePart instance);

    void WritePart(CPagePart& part, int dx, int dy);
    void ApplyRunningTotals(CPagePart& part);
    void WriteFormatted(PRINTOBJ& object, int dx, int dy);
    // The page-file objects of the leading laid-out lines of a formatted text
    // that fit in *heightLimit*: its frame first when it has one, then one
    // plain text a run. The lines are taken out of the layout.
    std::vector<PRINTOBJ> FlattenFormatted(PRINTOBJ& object, int heightLimit);
    CPagePart SplitPart(CPagePart& part, int available);
    // Divides a straddling text object at *available*: the piece that fits is
    // returned (null when nothing fits) and *object* keeps the rest.
    std::vector<PRINTOBJ> DivideText(PRINTOBJ& object, int available);

    // Plain growing texts wrapped so far, by font (its cache entry, which
    // lives as long as the composition), box width and text: a text that
    // comes again, as a unit or a description does, is measured once.
    using WrapKey = std::tuple<std::uintptr_t, int, std::wstring>;
    struct WrappedText {
        CString text;
        int height = 0;
    };
    const WrappedText& WrapPlain(const PRINTOBJ& object, const CString& text);

    PrintEngineState& state_;
    LayoutState& layout_;
    CMemoryDC measure_;
    std::vector<CPagePart> instances_;
    std::vector<CPagePart> repeatedHeaders_;
    std::map<WrapKey, WrappedText> wrapped_;
    int y_ = 0;
    int pageMode_ = 0;
    bool previousFlowing_ = false;
};

}  // namespace qx
