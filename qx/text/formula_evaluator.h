// The formula evaluator behind CNumString.
//
//   "2*(3,5+1)" -> 9      "-2^2" -> 4       "2^-1" -> 0.5     "5|2" -> 7
//   "0x10"      -> 16     "2+"   -> 3       "2 SIN 0" -> 0    "1e5" -> error
//
// Tokens: numbers are runs of digits, points, commas (read as points) and
// the letters x and X, of which the first 29 characters count; "0x" starts
// a hexadecimal run of decimal digits (hex letters are not part of it, so
// "0x1F" is 0x1 followed by the name F), wrapped to 32 bits unsigned. Names
// are runs of letters, digits and underscores, of which the first 260
// characters count; SIN, COS and TAN in any case are functions (radians),
// any other name resolves through the callback macro, then the text macro,
// then examineVariables of the formula being evaluated. White space other
// than the line feed is skipped; ';', the line feed and stray characters are
// never accepted.
//
// Grammar, lowest precedence first:
//   expression := term { ("+" | "-" | "|") term }     "|": bitwise or of the
//                                                     sides cut to 32-bit ints
//   term       := power { ("*" | "/") power | SIN power }
//   power      := factor [ "^" factor ]               one "^" only
//   factor     := number | "-" factor | "+" factor | "(" expression ")"
//               | (SIN|COS|TAN) "(" expression ")"
//               | end of text, which counts as 1 and is not consumed
//
// Errors are reported through ErrorPrint as "<text>\r\nin Zeile: 1\r\n<formula>"
// (texts translated): "Syntaxfehler", "Klammer nicht geschlossen" (a missing
// ")") and "Division durch 0"; the erroneous part counts as 59 and parsing
// goes on, so one formula can report more than one error. A formula is one
// line, so the line shown is always 1.
//
// Limits that keep hostile input harmless: macros nest at most
// kMaxMacroDepth deep (so a macro that refers to itself fails instead of
// recursing forever), one formula evaluates at most kMaxMacroEvaluations
// macro texts (so macros that each name the next one twice cannot take
// exponential time), and parentheses, signs and functions nest at most
// kMaxNesting deep across all macro levels. Beyond any of them the whole
// evaluation stops and reports one "Syntaxfehler" for the formula it began
// with; that evaluation fails even when an overridden ErrorPrint does not
// count the error.
#pragma once

#include "qx/platform/base/export.h"

class CNumString;

namespace qx {

inline constexpr int kMaxMacroDepth = 64;
inline constexpr int kMaxMacroEvaluations = 100000;
inline constexpr int kMaxNesting = 256;

// Evaluates the text of *formula*, reporting errors to its ErrorPrint. True
// with the value in *result* when the text is not empty, nothing was
// reported and the whole text was read; otherwise false and *result* is 0.
QX_API bool EvaluateFormula(CNumString& formula, double& result);

// *value* cut toward zero to an int, saturating at INT_MIN and INT_MAX; NaN
// gives 0. (A plain conversion of an out-of-range double is undefined.)
QX_API int CutToInt(double value);

}  // namespace qx
