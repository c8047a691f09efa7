// The drawing test card of `qxtool draw-test`: one A4 page that uses every
// primitive of the drawing layer, in the units the print engine draws in.
#pragma once

class CDC;

namespace qxtool {

// Logical units of the card: the print engine's 1322 per inch. The card is
// A4 portrait, kCardWidth x kCardHeight of them.
inline constexpr int kCardUnitsPerInch = 1322;
inline constexpr int kCardWidth = 10930;   // 210 mm
inline constexpr int kCardHeight = 15458;  // 297 mm

// Draws the card on *dc*, whose mapping must already show the card's
// logical units (0, 0)-(kCardWidth, kCardHeight) on the target.
void DrawTestCard(CDC& dc);

}  // namespace qxtool
