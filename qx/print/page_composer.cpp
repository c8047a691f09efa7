#include "qx/print/internal/page_composer.h"

#include <algorithm>
#include <string>

#include "qx/platform/base/checked_length.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/gfx/rich_text.h"
#include "qx/print/field_text.h"
#include "qx/print/font_cache.h"
#include "qx/print/layout_reader.h"
#include "qx/print/page_geometry.h"
#include "qx/print/formatted_text.h"
#include "qx/print/internal/int_range.h"
#include "qx/print/object_font.h"
#include "qx/print/page_file_reader.h"
#include "qx/print/wimage.h"

namespace qx {
namespace {

constexpr int kContinueGap = 10;        // between two flowing sections on one page
constexpr int kRichTextMeasureHeight = 99000;
constexpr size_t kMaxWrappedTexts = 4096;  // remembered wrapped texts, at most

bool IsPageNumberName(const CString& name) {
    return name == L"STATIC" || name == L"PAGE" || name == L"PREVPAGE" || name == L"NEXTPAGE" ||
           name == L"PAGECOUNT";
}

// "SUM(key;decimals)" with its bracket right after "SUM".
bool IsRunningTotalName(const CString& name) { return name.str().starts_with(L"SUM("); }

CString RunningTotalKey(const CString& name) {
    const int semicolon = name.Find(L';');
    return semicolon < 0 ? name.Mid(4) : name.Mid(4, semicolon - 4);
}

bool IsRichText(const CString& text) { return text.str().starts_with(L"{\\rtf"); }

int LargestBottom(const CPagePart& part) {
    int bottom = 0;
    for (const auto& object : part.objects) bottom = std::max(bottom, object->bottom);
    return bottom;
}

void ApplyVerticalAnchors(CPagePart& part) {
    for (auto& object : part.objects) {
        const int height = object->bottom - object->top;
        if (object->verticalAnchor == 0) {
            object->top = 0;
        } else if (object->verticalAnchor == 1) {
            object->top += part.height - object->bottom;
        } else {
            continue;
        }
        object->bottom = object->top + height;
    }
}

// Shortens a line object to its part above *limit*; false when none of it is.
bool ClipLineAbove(PRINTOBJ& line, int limit) {
    if (line.y1 > limit && line.y2 > limit) return false;
    const auto clipEnd = [limit](int& x, int& y, int otherX, int otherY) {
        if (y <= limit) return;
        // otherY <= limit < y: the point where the line crosses the limit.
        const double share = static_cast<double>(limit - static_cast<long long>(otherY)) /
                             static_cast<double>(static_cast<long long>(y) - otherY);
        x = detail::ClampToInt(otherX + share * (static_cast<double>(x) - otherX));
        y = limit;
    };
    clipEnd(line.x1, line.y1, line.x2, line.y2);
    clipEnd(line.x2, line.y2, line.x1, line.y1);
    line.bottom = std::min(line.bottom, limit);
    return true;
}

// Selects the object's font on *dc* for measuring and puts the old one back
// when it goes.
class MeasuringFont {
public:
    MeasuringFont(CDC& dc, const PRINTOBJ& object) : dc_(dc) {
        previous_ = GetFont(FontOf(object)).Select(dc, 1);
    }
    ~MeasuringFont() { dc_.SelectObject(previous_); }
    MeasuringFont(const MeasuringFont&) = delete;
    MeasuringFont& operator=(const MeasuringFont&) = delete;

private:
    CDC& dc_;
    CFont* previous_;
};

// Lines of *text* broken to *width* at spaces (a space is a token of its
// own) and kept at line feeds. A space that would begin a wrapped line is
// dropped, so that wrapped lines start flush.
std::wstring WrapPlainText(CDC& dc, const std::wstring& text, int width, int& lineCount) {
    std::wstring result;
    std::wstring line;
    lineCount = 1;
    auto endLine = [&] {
        result += line;
        result += L'\n';
        line.clear();
        ++lineCount;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == L'\n') {
            endLine();
            ++pos;
            continue;
        }
        size_t end = pos + 1;
        if (text[pos] != L' ') {
            while (end < text.size() && text[end] != L' ' && text[end] != L'\n') ++end;
        }
        const std::wstring token = text.substr(pos, end - pos);
        pos = end;
        if (line.empty()) {
            line = token;
            continue;
        }
        const std::wstring candidate = line + token;
        if (dc.GetTextExtent(candidate.c_str(), qx::CheckedLength<int>(candidate.size())).cx <= width) {
            line = candidate;
        } else {
            endLine();
            if (token != L" ") line = token;
        }
    }
    result += line;
    return result;
}

}  // namespace

PageComposer::PageComposer(PrintEngineState& state) : state_(state), layout_(state.section) {}

bool PageComposer::ComposeAll() {
    const bool composed = ComposeTrees();
    state_.pages.ClosePageFile();
    ClearFontCache();
    return composed;
}

bool PageComposer::ComposeTrees() {
    for (CDataTree* tree : state_.trees) {
        if (tree == nullptr) continue;
        int next = LoadSection(layout_, state_.layout, 0);
        if (!CheckSection(true)) return false;
        POSITION pos = tree->Children.GetHeadPosition();
        while (pos != nullptr && !layout_.parts.empty()) {
            const CDataTree* record = tree->Children.GetNext(pos);
            pageMode_ = layout_.pageMode;
            if (record->Printable != 0) {
                if (layout_.pageMode == 0) {
                    ComposeSinglePage(*record);
                } else if (!ComposeFlowing(*record)) {
                    return false;
                }
            }
            previousFlowing_ = layout_.pageMode == 1;
            walk_.clear();
            instances_.clear();
            repeatedHeaders_.clear();
            if (next == 0) break;
            next = LoadSection(layout_, state_.layout, next);
            if (!CheckSection(false)) return false;
        }
    }
    return true;
}

bool PageComposer::CheckSection(bool first) {
    switch (layout_.found) {
        case SectionFound::kSection:
            return true;
        case SectionFound::kNone:
            if (!first) return true;  // the records after the last section
            failure_ = L"the layout has no page section (PAG record)";
            return false;
        case SectionFound::kOldVersion:
            failure_ = L"the layout's version is below 2.0";
            return false;
        case SectionFound::kUnreadable:
            failure_ = L"the layout cannot be read";
            return false;
    }
    return false;
}

void PageComposer::ComposeSinglePage(const CDataTree& record) {
    CPagePart part = layout_.parts.front();
    if (part.objects.empty()) return;
    state_.pages.NewPageFile(pageMode_);
    Substitute(part, record);
    WritePart(part, 0, 0);
    state_.pages.ClosePageFile();
}

bool PageComposer::ComposeFlowing(const CDataTree& record) {
    const int footerHeight = layout_.parts.back().height;
    const int pageHeight = layout_.pageHeight;

    RegisterRepeatedHeaders(record, 0);
    StartInstances(record);
    bool mayContinue = layout_.continueSection && previousFlowing_ && state_.pages.PageCount() > 0;
    layout_.continueSection = false;
    size_t next = 0;
    while (InstanceAt(next) != nullptr) {
        ReleaseInstancesBefore(next);
        const bool continued = StartPage(record, mayContinue);
        mayContinue = false;
        for (CPagePart& header : repeatedHeaders_) {
            if (header.level >= InstanceAt(next)->level) continue;
            WritePart(header, 0, y_);
            y_ = detail::ClampToInt(static_cast<long long>(y_) + header.height);
        }
        int available = detail::ClampToInt(static_cast<long long>(pageHeight) - y_ - footerHeight);
        if (available < 1) {
            FailNoRoom(*InstanceAt(next), available);
            return false;
        }

        const int availableAtStart = available;
        bool pageBreak = false;
        const size_t firstOnPage = next;
        next = PlaceInstances(next, available, pageBreak);

        if (CPagePart* const remaining = InstanceAt(next)) {
            CPagePart& rest = *remaining;
            if (rest.height > availableAtStart) rest.splittable = 1;
            if (!pageBreak && rest.splittable != 0) {
                const int heightBefore = rest.height;
                CPagePart piece = SplitPart(rest, available);
                const bool progress = !piece.objects.empty() || rest.height < heightBefore;
                WritePart(piece, 0, y_);
                y_ += piece.height;
                // Neither placed on an empty page nor divided: written cut at
                // the bottom of the body, so that composition moves on. A
                // continued page is not empty; the part gets a page of its own.
                if (!progress && next == firstOnPage && !continued) {
                    CPagePart cut = CutPart(rest, available);
                    if (cut.objects.empty()) {
                        FailNoRoom(rest, available);
                        return false;
                    }
                    WritePart(cut, 0, y_);
                    ++next;
                }
            }
        }

        CPagePart footer = layout_.parts.back();
        Substitute(footer, record);
        WritePart(footer, 0, pageHeight - footerHeight);
    }
    return true;
}

bool PageComposer::StartPage(const CDataTree& record, bool mayContinue) {
    if (mayContinue) {
        const long long room = static_cast<long long>(layout_.pageHeight) - y_ - kContinueGap -
                               RepeatedHeadersHeight(instances_.front().level) - layout_.parts.back().height;
        if (room >= 1) {
            y_ += kContinueGap;
            return true;
        }
    }
    state_.pages.NewPageFile(pageMode_);
    CPagePart header = layout_.parts.front();
    Substitute(header, record);
    WritePart(header, 0, 0);
    y_ = layout_.parts.front().height;
    return false;
}

int PageComposer::RepeatedHeadersHeight(int level) const {
    long long height = 0;
    for (const CPagePart& header : repeatedHeaders_) {
        if (header.level < level) height += header.height;
    }
    return detail::ClampToInt(height);
}

void PageComposer::FailNoRoom(const CPagePart& part, int room) {
    failure_ = Format(L"the page part \"%s\" (level %d, %d units high) cannot be placed: the page's headers and "
                      L"footer leave %d of its %d units",
                      part.name.GetString(), part.level, part.height, std::max(room, 0), layout_.pageHeight);
}

size_t PageComposer::PlaceInstances(size_t next, int& available, bool& pageBreak) {
    bool placedAny = false;
    while (InstanceAt(next) != nullptr) {
        const CPagePart& first = *InstanceAt(next);
        if (first.height > available) break;
        // A group (an unsplittable instance of level 2 or deeper with the
        // deeper instances that follow it) is kept together where it can be.
        // The run is followed only until it no longer fits: placing stops
        // at the same instance either way.
        int need = first.height;
        const int firstLevel = first.level;
        size_t runEnd = next + 1;
        if (first.splittable == 0 && firstLevel >= 2) {
            for (const CPagePart* member = InstanceAt(runEnd);
                 member != nullptr && member->level > firstLevel && need <= available; member = InstanceAt(runEnd)) {
                need += member->height;
                ++runEnd;
            }
        }
        if (need > available && placedAny) break;
        while (next < runEnd && InstanceAt(next)->height <= available) {
            CPagePart& instance = *InstanceAt(next);
            PlaceInstance(instance);
            available -= instance.height;
            placedAny = true;
            ++next;
            if (instance.breakAfter != 0) {
                y_ = layout_.pageHeight - layout_.parts.back().height;
                pageBreak = true;
                return next;
            }
        }
        if (next < runEnd) break;  // the rest of the group goes on the next page
    }
    return next;
}

void PageComposer::PlaceInstance(CPagePart& instance) {
    WritePart(instance, 0, y_);
    y_ += instance.height;
    if (instance.repeat == 1) UpdateRepeatedHeader(instance);
}

void PageComposer::UpdateRepeatedHeader(const CPagePart& instance) {
    for (CPagePart& header : repeatedHeaders_) {
        if (header.level != instance.level || header.name != instance.name) continue;
        for (const auto& source : instance.objects) {
            if (source->name == L"STATIC") continue;
            for (auto& target : header.objects) {
                if (target->name == source->name) target->text = source->text;
            }
        }
    }
}

void PageComposer::Substitute(CPagePart& part, const CDataTree& node) {
    for (auto& object : part.objects) {
        if (!IsPageNumberName(object->name) && !IsRunningTotalName(object->name)) {
            object->text = SubstituteField(object->text, node.LookupValue(object->name),
                                           node.LookupExtra(object->name));
        }
        if (!object->grow) continue;
        if (object->kind == kPrintImage) GrowImage(*object);
        if (object->kind == kPrintText) GrowText(*object);
    }
    part.height = LargestBottom(part);
    ApplyVerticalAnchors(part);
}

void PageComposer::GrowImage(PRINTOBJ& object) {
    std::shared_ptr<const CWImage> image = state_.images.Get(ResolveImagePath(object.text, state_.layout.folder));
    if (!image) return;
    // The picture's own height on the screen, in engine units.
    const int screenDpi = measure_.GetDeviceCaps(LOGPIXELSY);
    object.bottom = object.top + static_cast<int>(static_cast<long long>(image->SizePixels().cy) *
                                                  kEngineUnitsPerInch / screenDpi);
    object.image = std::move(image);
}

void PageComposer::GrowText(PRINTOBJ& object) {
    const int width = object.right - object.left;
    if (IsRichText(object.text)) {
        const std::string rtf = WideToCodePage(object.text.str(), 1252);
        object.richTextBlock = state_.richText.Add(rtf);
        object.firstChar = 0;
        object.lastChar = -1;
        object.text.Empty();
        const gfx::RichText* control = state_.richText.Load(object.richTextBlock);
        const auto result = control->FormatRange(measure_, CRect(0, 0, width, kRichTextMeasureHeight),
                                                 kEngineUnitsPerInch, 0, -1, false);
        object.bottom = object.top + result.heightUsed;
        return;
    }
    if (object.formatted) {
        const CRect box(object.left, object.top, object.right, object.bottom);
        object.layout = std::make_unique<CHtmlLayout>(measure_, object.text, FontOf(object), object.alignment, box);
        object.bottom = object.top + object.layout->Arrange(1, false);
        return;
    }
    CString text = object.text;
    text.TrimRight();
    text.Replace(L"\r\n", L"\n");
    const WrappedText& wrapped = WrapPlain(object, text);
    object.text = wrapped.text;
    object.bottom = object.top + wrapped.height;
}

const PageComposer::WrappedText& PageComposer::WrapPlain(const PRINTOBJ& object, const CString& text) {
    const int width = object.right - object.left;
    WrapKey key(reinterpret_cast<std::uintptr_t>(&GetFont(FontOf(object))), width, text.str());
    const auto found = wrapped_.find(key);
    if (found != wrapped_.end()) return found->second;
    MeasuringFont font(measure_, object);
    int lines = 1;
    WrappedText wrapped;
    wrapped.text = WrapPlainText(measure_, std::get<2>(key), width, lines);
    int lineHeight = measure_.GetTextExtent(wrapped.text).cy;
    if (lineHeight == 0) lineHeight = measure_.GetTextExtent(L"W").cy;
    wrapped.height = lineHeight * lines;
    // A report of distinct texts would keep every one: the memory is bounded.
    if (wrapped_.size() >= kMaxWrappedTexts) wrapped_.clear();
    return wrapped_.emplace(std::move(key), std::move(wrapped)).first->second;
}

void PageComposer::StartInstances(const CDataTree& record) {
    walk_.clear();
    instances_.clear();
    firstInstance_ = 0;
    PushLevel(record, 0);
}

CPagePart* PageComposer::InstanceAt(size_t index) {
    if (index < firstInstance_) return nullptr;  // released: composition does not go back
    while (index - firstInstance_ >= instances_.size()) {
        if (!BuildNextInstance()) return nullptr;
    }
    return &instances_[index - firstInstance_];
}

void PageComposer::ReleaseInstancesBefore(size_t index) {
    while (firstInstance_ < index && !instances_.empty()) {
        instances_.pop_front();
        ++firstInstance_;
    }
}

void PageComposer::PushLevel(const CDataTree& node, int level) {
    const int levels = (static_cast<int>(layout_.parts.size()) - 2) / 2;
    if (level >= levels || node.Children.GetCount() == 0) return;
    walk_.push_back({&node, node.Children.GetHeadPosition(), level, nullptr, false});
}

// Each printable child of a node gives its level's group header, the
// instances of its own children and its group footer; a child that is not
// printable gives only its children's.
bool PageComposer::BuildNextInstance() {
    const int partCount = static_cast<int>(layout_.parts.size());
    while (!walk_.empty()) {
        LevelWalk& walk = walk_.back();
        const int level = walk.level;
        if (walk.open != nullptr) {
            const CDataTree& child = *walk.open;
            CPagePart footer = layout_.parts[static_cast<size_t>(partCount - level - 2)];
            footer.lastSibling = walk.openIsLast ? 1 : 0;
            walk.open = nullptr;
            Substitute(footer, child);
            if (AppendInstance(std::move(footer))) return true;
            continue;
        }
        if (walk.next == nullptr) {
            walk_.pop_back();
            continue;
        }
        const CDataTree* child = walk.node->Children.GetNext(walk.next);
        if (child->Printable == 0) {
            PushLevel(*child, level + 1);
            continue;
        }
        walk.open = child;
        walk.openIsLast = walk.next == nullptr;
        CPagePart header = layout_.parts[static_cast<size_t>(level + 1)];
        header.lastSibling = walk.openIsLast ? 1 : 0;
        Substitute(header, *child);
        PushLevel(*child, level + 1);  // after the last use of `walk`
        if (AppendInstance(std::move(header))) return true;
    }
    return false;
}

void PageComposer::RegisterRepeatedHeaders(const CDataTree& node, int level) {
    const int levels = (static_cast<int>(layout_.parts.size()) - 2) / 2;
    if (level >= levels || node.Children.GetCount() == 0) return;
    // The walk ends once no header of this level or a deeper one is left to
    // register, so that it does not visit every record for nothing.
    const auto pending = [&] {
        for (int deeper = level; deeper < levels; ++deeper) {
            const CPagePart& header = layout_.parts[static_cast<size_t>(deeper + 1)];
            if (header.repeat == 1 && header.registered == 0) return true;
        }
        return false;
    };
    POSITION pos = node.Children.GetHeadPosition();
    while (pos != nullptr && pending()) {
        const CDataTree* child = node.Children.GetNext(pos);
        if (child->Printable != 0) {
            CPagePart& headerTemplate = layout_.parts[static_cast<size_t>(level + 1)];
            if (headerTemplate.repeat == 1 && headerTemplate.registered == 0) {
                repeatedHeaders_.push_back(headerTemplate);
                headerTemplate.registered = 1;
            }
        }
        RegisterRepeatedHeaders(*child, level + 1);
    }
}

bool PageComposer::AppendInstance(CPagePart instance) {
    if (instance.height < 1) return false;
    if (instance.hasPageWrap != 0) {
        instance.breakAfter = 1;
        std::erase_if(instance.objects, [](const auto& object) { return object->name == L"PAGE_WRAP"; });
    }
    instances_.push_back(std::move(instance));
    return true;
}

void PageComposer::WritePart(CPagePart& part, int dx, int dy) {
    ApplyRunningTotals(part);
    for (auto& object : part.objects) {
        if (object->formatted && object->layout) {
            WriteFormatted(*object, dx, dy);
        } else {
            state_.pages.WriteObject(*object, dx, dy);
        }
    }
}

void PageComposer::ApplyRunningTotals(CPagePart& part) {
    for (auto& object : part.objects) {
        if (IsRunningTotalName(object->name)) {
            const CString key = RunningTotalKey(object->name);
            for (const SUM& sum : layout_.sums) {
                if (sum.key != key) continue;
                object->text = FillPlaceholders(object->text, FormatRunningTotal(sum.total, sum.decimals));
                break;
            }
        } else if (object->kind == kPrintText) {
            for (SUM& sum : layout_.sums) {
                if (sum.key == object->name) sum.total += ReadTotalAmount(object->text);
            }
        }
    }
}

void PageComposer::WriteFormatted(PRINTOBJ& object, int dx, int dy) {
    for (const PRINTOBJ& piece : FlattenFormatted(object, object.bottom - object.top)) {
        state_.pages.WriteObject(piece, dx, dy);
    }
}

std::vector<PRINTOBJ> PageComposer::FlattenFormatted(PRINTOBJ& object, int heightLimit) {
    std::vector<PRINTOBJ> pieces;
    if (object.frame) {
        PRINTOBJ frame;
        frame.kind = kPrintRectangle;
        frame.left = object.left;
        frame.top = object.top;
        frame.right = object.right;
        frame.bottom = std::min(object.bottom, object.top + heightLimit);
        frame.frame = true;
        frame.color = object.color;
        frame.fillColor = object.fillColor;
        frame.outlineWidth = object.outlineWidth;
        frame.size = object.outlineWidth;
        pieces.push_back(std::move(frame));
    }
    for (const HtmlTextRun& run : object.layout->TakeLines(heightLimit)) {
        PRINTOBJ text;
        text.kind = kPrintText;
        text.text = run.text;
        text.fontFace = run.font.face;
        const bool reduced = run.font.superscript || run.font.subscript;
        text.size = reduced ? run.font.size * 3 / 4 : run.font.size;
        text.color = run.font.colour;
        text.bold = run.font.bold;
        text.italic = run.font.italic;
        text.underline = run.font.underline;
        text.left = object.left + run.box.left;
        text.top = object.top + run.box.top;
        text.right = object.left + run.box.right;
        text.bottom = object.top + run.box.bottom;
        text.fillColor = object.fillColor;
        text.name = object.name;
        text.alignment = object.alignment;
        text.angle = object.angle;
        text.verticalAnchor = object.verticalAnchor;
        text.grow = object.grow;
        pieces.push_back(std::move(text));
    }
    return pieces;
}

CPagePart PageComposer::SplitPart(CPagePart& part, int available) {
    CPagePart piece;
    piece.name = part.name;
    piece.level = part.level;
    std::vector<std::unique_ptr<PRINTOBJ>> remaining;
    for (auto& object : part.objects) {
        if (object->bottom <= available) {
            piece.objects.push_back(std::move(object));
            continue;
        }
        if (object->kind == kPrintText && object->top <= available && object->verticalAnchor != 0) {
            for (PRINTOBJ& taken : DivideText(*object, available)) {
                piece.objects.push_back(std::make_unique<PRINTOBJ>(std::move(taken)));
            }
        }
        remaining.push_back(std::move(object));
    }
    part.objects = std::move(remaining);

    piece.height = LargestBottom(piece);
    ApplyVerticalAnchors(piece);
    for (auto& object : part.objects) {
        if (object->top < available) continue;
        object->top -= available;
        object->bottom -= available;
    }
    // What is left is as high as its content after the cut.
    part.height = LargestBottom(part);
    return piece;
}

int PageComposer::LineHeight(const PRINTOBJ& object) {
    MeasuringFont font(measure_, object);
    return measure_.GetTextExtent(L"Wg").cy;
}

CPagePart PageComposer::CutPart(CPagePart& part, int limit) {
    CPagePart cut;
    cut.name = part.name;
    cut.level = part.level;
    for (auto& object : part.objects) {
        if (object->top >= limit) continue;
        if (object->bottom > limit) {
            // Texts laid out line by line keep the lines that fit; a text
            // drawn in its box (clipped there) keeps the part of its box
            // above the limit when a line of it fits there; a shape or a
            // picture keeps the part of its box above the limit.
            const bool byLines = object->kind == kPrintText &&
                                 (object->grow || object->richTextBlock != 0 || (object->formatted && object->layout));
            if (byLines) {
                for (PRINTOBJ& taken : DivideText(*object, limit)) {
                    cut.objects.push_back(std::make_unique<PRINTOBJ>(std::move(taken)));
                }
                continue;
            }
            if (object->kind == kPrintText && limit - object->top < LineHeight(*object)) continue;
            if (object->kind == kPrintLine && !ClipLineAbove(*object, limit)) continue;
            object->bottom = limit;
        }
        cut.objects.push_back(std::move(object));
    }
    part.objects.clear();
    cut.height = LargestBottom(cut);
    return cut;
}

std::vector<PRINTOBJ> PageComposer::DivideText(PRINTOBJ& object, int available) {
    const int room = available - object.top;
    std::vector<PRINTOBJ> pieces;
    if (object.richTextBlock != 0) {
        const gfx::RichText* control = state_.richText.Load(object.richTextBlock);
        if (control == nullptr) return pieces;
        const auto result = control->FormatRange(measure_, CRect(0, 0, object.right - object.left, room),
                                                 kEngineUnitsPerInch, object.firstChar, object.lastChar, false);
        if (result.nextCharacter <= object.firstChar || result.heightUsed <= 0) return pieces;
        PRINTOBJ piece = object;
        piece.lastChar = static_cast<int>(result.nextCharacter);  // the end, as the control counts
        piece.bottom = piece.top + result.heightUsed;
        object.firstChar = static_cast<int>(result.nextCharacter);
        object.bottom -= result.heightUsed;
        pieces.push_back(std::move(piece));
        return pieces;
    }
    if (object.formatted && object.layout) {
        const int before = object.layout->Height();
        pieces = FlattenFormatted(object, room);
        object.bottom -= before - object.layout->Height();
        return pieces;
    }
    const int lineHeight = LineHeight(object);
    if (lineHeight <= 0) return pieces;
    const std::wstring text = object.text.str();
    size_t cut = 0;
    int taken = 0;
    while (taken + lineHeight <= room) {
        const size_t lineEnd = text.find(L'\n', cut);
        taken += lineHeight;
        if (lineEnd == std::wstring::npos) {
            cut = text.size();
            break;
        }
        cut = lineEnd + 1;
    }
    if (taken == 0) return pieces;
    // The piece ends before the line feed that ends its last line.
    const size_t pieceEnd = cut < text.size() ? cut - 1 : cut;
    PRINTOBJ piece = object;
    piece.text = text.substr(0, pieceEnd);
    piece.bottom = piece.top + taken;
    object.text = text.substr(cut);
    object.bottom -= taken;
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace qx
