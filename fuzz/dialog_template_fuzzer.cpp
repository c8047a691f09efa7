// Dialog templates from arbitrary input, as a language module may carry
// them: read, written and read again, and made into a dialog.
//
// What holds: reading never reads past the input; a template that reads is
// written in a form that reads back to the same description; a dialog made
// from it (under the batch host, never shown) is destroyed again without a
// fault, whatever its styles, classes, rectangles and font say.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "qx/platform/wnd/dialog_box.h"
#include "qx/platform/wnd/dialog_template.h"
#include "qx/platform/wnd/ui_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool hostInstalled = [] {
        qx::SetUiHost(qx::MakeUiHost("batch"));
        return true;
    }();
    (void)hostInstalled;
    std::optional<qx::DialogTemplate> read = qx::ReadDialogTemplate(data, size);
    if (!read) return 0;
    const std::vector<std::uint8_t> written = qx::WriteDialogTemplate(*read);
    std::optional<qx::DialogTemplate> again = qx::ReadDialogTemplate(written.data(), written.size());
    if (!again) __builtin_trap();
    // The written form always carries a font; compare with that in place.
    qx::DialogTemplate expected = *read;
    expected.style |= DS_SETFONT;
    if (!(*again == expected)) __builtin_trap();
    // Making the dialog is bounded by the template: a few hundred controls
    // at most are worth the time of a run.
    if (read->items.size() <= 256) {
        read->style &= ~WS_VISIBLE;
        if (HWND dialog = CreateDialogIndirectParam(*read, nullptr, nullptr, 0)) DestroyWindow(dialog);
    }
    return 0;
}
