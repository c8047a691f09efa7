// Page composition: turns the loaded layout sections and the data trees of
// an engine into page files. One composer runs one WriteTempFile.
#pragma once

#include <cstdint>
#include <deque>
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
    // False when the job cannot be composed (the layout makes no page, or a
    // part finds no room on an empty page); Failure() says why.
    bool ComposeAll();
    const CString& Failure() const { return failure_; }

private:
    bool ComposeTrees();
    // False, with the reason, when the section just loaded cannot be used:
    // the file cannot be read or is rejected for its version, or the first
    // load (*first*) found no section at all.
    bool CheckSection(bool first);
    void ComposeSinglePage(const CDataTree& record);
    // False when a part finds no room on an empty page.
    bool ComposeFlowing(const CDataTree& record);
    // Opens the record's next page, or stays on the previous section's last
    // page when *mayContinue* and the next instance's headers leave room
    // there; says whether it stayed.
    bool StartPage(const CDataTree& record, bool mayContinue);
    int RepeatedHeadersHeight(int level) const;
    void FailNoRoom(const CPagePart& part, int room);
    // Places instances from *next* on the current page; returns the index of
    // the first instance not placed.
    size_t PlaceInstances(size_t next, int& available, bool& pageBreak);
    void PlaceInstance(CPagePart& instance);
    void UpdateRepeatedHeader(const CPagePart& instance);

    void Substitute(CPagePart& part, const CDataTree& node);
    void GrowText(PRINTOBJ& object);
    void GrowImage(PRINTOBJ& object);
    // The instances of a record (group headers and footers of its data
    // levels, in order) are built as composition reaches them, so that only
    // the ones a page still needs are held. Instance numbers count from the
    // record's first.
    void StartInstances(const CDataTree& record);
    // Instance *index*, built when not yet; null after the record's last.
    CPagePart* InstanceAt(size_t index);
    // Releases the instances before *index*: composition has placed them.
    void ReleaseInstancesBefore(size_t index);
    // Builds the next instance; false when the record has no more.
    bool BuildNextInstance();
    // Starts on the children of *node* (at data level *level*) when the
    // layout has that level and the node has children.
    void PushLevel(const CDataTree& node, int level);
    // Copies every repeated group header the record's levels show into the
    // list of repeated headers, in the order of the record's data.
    void RegisterRepeatedHeaders(const CDataTree& node, int level);
    // False when the instance is left out (it has no height).
    bool AppendInstance(CPagePart instance);

    void WritePart(CPagePart& part, int dx, int dy);
    void ApplyRunningTotals(CPagePart& part);
    void WriteFormatted(PRINTOBJ& object, int dx, int dy);
    // The page-file objects of the leading laid-out lines of a formatted text
    // that fit in *heightLimit*: its frame first when it has one, then one
    // plain text a run. The lines are taken out of the layout.
    std::vector<PRINTOBJ> FlattenFormatted(PRINTOBJ& object, int heightLimit);
    CPagePart SplitPart(CPagePart& part, int available);
    // What an empty page shows of a part that fits on no page and cannot be
    // divided: the part cut at *limit*, the bottom of the page's body. The
    // objects are taken out of *part*.
    CPagePart CutPart(CPagePart& part, int limit);
    // Divides a straddling text object at *available*: the piece that fits is
    // returned (null when nothing fits) and *object* keeps the rest.
    std::vector<PRINTOBJ> DivideText(PRINTOBJ& object, int available);
    // The height of a line of the object's text ("Wg" in its font).
    int LineHeight(const PRINTOBJ& object);

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
    // A data node whose children are being turned into instances: the next
    // child, and the child whose group footer comes when its levels are done.
    struct LevelWalk {
        const CDataTree* node = nullptr;
        POSITION next = nullptr;
        int level = 0;
        const CDataTree* open = nullptr;
        bool openIsLast = false;
    };
    std::vector<LevelWalk> walk_;      // as deep as the layout's data levels
    std::deque<CPagePart> instances_;  // built and not yet released
    size_t firstInstance_ = 0;         // the number of instances_.front()
    std::vector<CPagePart> repeatedHeaders_;
    std::map<WrapKey, WrappedText> wrapped_;
    CString failure_;
    int y_ = 0;
    int pageMode_ = 0;
    bool previousFlowing_ = false;
};

}  // namespace qx
