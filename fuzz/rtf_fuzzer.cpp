// The RTF reader behind RichText with arbitrary bytes, and the layout of
// what it read.
//
// Input: the bytes as the rich text of a report object (RTF when they start
// with "{\rtf", else plain text).
//
// What holds: no fault under the sanitizers; the character count is the
// length of the plain text and never more than the input has bytes; no run
// is empty, a paragraph end is always the last character of its run, and
// every font size is positive; read as plain text the same holds. Laying
// the text out in a small rectangle stops within the text and uses no more
// than the rectangle's height.
//
// Pango keeps memory for every distinct font size it has laid out, which
// LeakSanitizer reports at exit; run with -detect_leaks=0 and
// ASAN_OPTIONS=detect_leaks=0 (faults are still caught).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "qx/platform/gfx/rich_text.h"
#include "qx/platform/gfx/rtf_reader.h"
#include "qx/platform/gfx/targets.h"

namespace {

// Laying out costs far more than reading; longer inputs are only read.
constexpr size_t kMaxLaidOut = 2048;

void CheckRuns(const qx::gfx::RtfDocument& doc) {
    for (const qx::gfx::RtfRun& run : doc.runs) {
        if (run.text.empty()) __builtin_trap();
        const size_t end = run.text.find(L'\n');
        if (end != std::wstring::npos && end + 1 != run.text.size()) __builtin_trap();
        if (run.format.halfPoints <= 0) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    qx::gfx::RichText text;
    text.LoadRtf(input);
    const long count = text.CharacterCount();
    if (count != text.PlainText().GetLength()) __builtin_trap();
    if (static_cast<size_t>(count) > size) __builtin_trap();

    CheckRuns(qx::gfx::ReadRtf(input));
    CheckRuns(qx::gfx::ReadPlainText(input, 1252));

    if (size <= kMaxLaidOut) {
        static CMemoryDC measuring;
        const CRect rect(0, 0, 300, 200);
        const auto result = text.FormatRange(measuring, rect, 96, count / 3, -1, false);
        if (result.nextCharacter < count / 3 || result.nextCharacter > count) __builtin_trap();
        if (result.heightUsed < 0 || result.heightUsed > rect.Height()) __builtin_trap();
    }
    return 0;
}
