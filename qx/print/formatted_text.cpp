#include "qx/print/formatted_text.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "qx/platform/gfx/dc.h"
#include "qx/print/html_markup.h"
#include "qx/print/rotated_text.h"

namespace {

constexpr wchar_t kBullet = L'\u25CF';

int Saturated(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

bool Crosswise(int angle) { return angle == 90 || angle == 270; }

// Height of a line without atoms: that of the mark-up's font size 3.
int EmptyLineHeight(int multiplier) {
    DynamicFontInfo sizeThree;
    sizeThree.size = -3;
    return -qx::FontCharacterHeight(sizeThree, multiplier);
}

}  // namespace

CHtmlLayout::CHtmlLayout(CDC& dc, const CString& markup, const DynamicFontInfo& font, int alignment,
                         const CRect& box)
    : box_(box), angle_(qx::QuarterTurn(font.angle)), alignment_(alignment) {
    lines_.emplace_back();
    lines_.back().alignment = alignment_;
    CFont* previousFont = nullptr;
    for (qx::HtmlToken& token : qx::ParseHtmlMarkup(markup, font)) {
        switch (token.kind) {
            case qx::HtmlToken::Kind::Word: {
                CDynamicFont& cached = qx::GetFont(token.font);
                CFont* selectedBefore = cached.Select(dc, 1);
                if (!previousFont) previousFont = selectedBefore;
                const CSize extent = dc.GetTextExtent(token.text);
                CHtmlAtom atom;
                atom.text = std::move(token.text);
                atom.font = std::move(token.font);
                atom.width = extent.cx;
                atom.height = extent.cy;
                atom.descent = cached.Descent();
                AddAtom(std::move(atom));
                break;
            }
            case qx::HtmlToken::Kind::LineBreak:
                NewLine();
                break;
            case qx::HtmlToken::Kind::Paragraph:
                // A paragraph is set off from the text before it by an empty
                // line, as paragraphs are in HTML.
                alignment_ = token.alignment;
                if (token.startsLine) {
                    if (!lines_.back().atoms.empty()) NewLine();
                    NewLine();
                }
                break;
        }
    }
    if (previousFont) dc.SelectObject(previousFont);
    Arrange(1, false);
}

void CHtmlLayout::NewLine() {
    lines_.emplace_back();
    lines_.back().alignment = alignment_;
    lastLineWidth_ = 0;
}

// An atom joins the last line when the line is empty or the atom still fits
// in the frame's width; a raised bullet joins the atom before it.
void CHtmlLayout::AddAtom(CHtmlAtom atom) {
    const bool lineHasAtoms = !lines_.back().atoms.empty();
    if (atom.font.superscript && lineHasAtoms && atom.text.GetLength() == 1 && atom.text[0] == kBullet) {
        atom.raisedBullet = true;
    } else {
        const int frameWidth = Crosswise(angle_) ? box_.Height() : box_.Width();
        if (lineHasAtoms && lastLineWidth_ + atom.width > frameWidth) NewLine();
        lastLineWidth_ += atom.width;
    }
    lines_.back().atoms.push_back(std::move(atom));
}

int CHtmlLayout::Arrange(int multiplier, bool singleLine) {
    multiplier_ = std::max(multiplier, 1);
    singleLine_ = singleLine;
    const std::int64_t m = multiplier_;
    const std::int64_t frameWidth = (Crosswise(angle_) ? box_.Height() : box_.Width()) * m;
    const std::int64_t frameHeight = (Crosswise(angle_) ? box_.Width() : box_.Height()) * m;

    // Positions along the turned frame first: u along the lines, v down them.
    std::int64_t top = 0;
    for (CHtmlLine& line : lines_) {
        std::int64_t lineHeight = 0;
        std::int64_t lineWidth = 0;
        std::int64_t maxDescent = 0;
        bool hasRoom = false;
        for (const CHtmlAtom& atom : line.atoms) {
            if (atom.raisedBullet) continue;
            hasRoom = true;
            lineHeight = std::max(lineHeight, atom.height * m);
            lineWidth += atom.width * m;
            maxDescent = std::max(maxDescent, atom.descent * m);
        }
        if (!hasRoom) lineHeight = EmptyLineHeight(multiplier_);
        std::int64_t u = 0;
        if (line.alignment == qx::kAlignRight) u = frameWidth - lineWidth;
        if (line.alignment == qx::kAlignCenter) u = (frameWidth - lineWidth) / 2;
        for (size_t k = 0; k < line.atoms.size(); ++k) {
            CHtmlAtom& atom = line.atoms[k];
            if (atom.raisedBullet) {
                const CHtmlAtom& before = line.atoms[k - 1];
                const std::int64_t spare = (static_cast<std::int64_t>(before.width) - atom.width) * m;
                atom.x = Saturated(before.x + spare / 2);
                atom.y = Saturated(before.y - 9 * spare / 6);
                continue;
            }
            std::int64_t v = top + lineHeight - atom.height * m - (maxDescent - atom.descent * m);
            if (atom.font.subscript) v += atom.height * m / 2;
            atom.x = Saturated(u);
            atom.y = Saturated(v);
            u += atom.width * m;
        }
        line.top = Saturated(top);
        line.height = Saturated(lineHeight);
        top += lineHeight;
    }
    height_ = Saturated(top);

    const std::int64_t shift = (singleLine && frameHeight > top) ? (frameHeight - top) / 2 : 0;
    const std::int64_t boxWidth = box_.Width() * m;
    const std::int64_t boxHeight = box_.Height() * m;
    for (CHtmlLine& line : lines_) {
        line.top = Saturated(line.top + shift);
        for (CHtmlAtom& atom : line.atoms) {
            const std::int64_t u = atom.x;
            const std::int64_t v = atom.y + shift;
            switch (angle_) {
                case 90: atom.x = Saturated(boxWidth - v); atom.y = Saturated(u); break;
                case 180: atom.x = Saturated(boxWidth - u); atom.y = Saturated(boxHeight - v); break;
                case 270: atom.x = Saturated(v); atom.y = Saturated(boxHeight - u); break;
                default: atom.y = Saturated(v); break;
            }
        }
    }
    return height_;
}

int CHtmlLayout::Height() const { return height_; }

// The atom's text cell as it lies on the page: its reference point is the
// cell's top-left corner before turning.
CRect CHtmlLayout::CellOf(const CHtmlAtom& atom) const {
    const int w = Saturated(static_cast<std::int64_t>(atom.width) * multiplier_);
    const int h = Saturated(static_cast<std::int64_t>(atom.height) * multiplier_);
    const int x = atom.x;
    const int y = atom.y;
    switch (angle_) {
        case 90: return {x - h, y, x, y + w};
        case 180: return {x - w, y - h, x, y};
        case 270: return {x, y - w, x + h, y};
        default: return {x, y, x + w, y + h};
    }
}

void CHtmlLayout::Draw(CDC& dc, bool monochrome) const {
    const COLORREF colourBefore = dc.GetTextColor();
    CFont* fontBefore = nullptr;
    const int left = Saturated(static_cast<std::int64_t>(box_.left) * multiplier_);
    const int top = Saturated(static_cast<std::int64_t>(box_.top) * multiplier_);
    for (const CHtmlLine& line : lines_) {
        for (const CHtmlAtom& atom : line.atoms) {
            CFont* selectedBefore = qx::GetFont(atom.font).Select(dc, multiplier_);
            if (!fontBefore) fontBefore = selectedBefore;
            dc.SetTextColor(monochrome ? RGB(0, 0, 0) : atom.font.colour);
            dc.TextOut(Saturated(static_cast<std::int64_t>(left) + atom.x),
                       Saturated(static_cast<std::int64_t>(top) + atom.y), atom.text);
        }
    }
    if (fontBefore) dc.SelectObject(fontBefore);
    dc.SetTextColor(colourBefore);
}

std::vector<HtmlTextRun> CHtmlLayout::TakeLines(int heightLimit) {
    std::vector<HtmlTextRun> runs;
    std::int64_t total = 0;
    size_t taken = 0;
    while (taken < lines_.size() && total + lines_[taken].height <= heightLimit) {
        total += lines_[taken].height;
        for (const CHtmlAtom& atom : lines_[taken].atoms) {
            runs.push_back({atom.text, CellOf(atom), atom.font});
        }
        ++taken;
    }
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(taken));
    if (taken > 0) Arrange(multiplier_, singleLine_);
    return runs;
}
