// Printer settings from a queue's capabilities: what GetDeviceCaps of a
// queue job reports is what the queue says it prints.
#include "qx/platform/gfx/targets.h"
#include "qx/platform/os/print_queues.h"

namespace qx {

bool PrinterSettingsForQueue(const CString& name, PrinterSettings* settings, CString* error) {
    PrintQueue queue;
    std::wstring why;
    if (!FindPrintQueue(name.str(), &queue, &why)) {
        *error = why.c_str();
        return false;
    }
    settings->queue = queue.name.c_str();
    if (!queue.media.empty()) {
        const PrintMedia* paper = &queue.media.front();  // the default comes first
        for (const PrintMedia& media : queue.media) {
            if (!settings->paperName.IsEmpty() && settings->paperName.str() == media.name) paper = &media;
        }
        settings->paperName = paper->name.c_str();
        settings->paperWidthMm = paper->widthMm;
        settings->paperHeightMm = paper->lengthMm;
        settings->marginLeftMm = paper->leftMm;
        settings->marginTopMm = paper->topMm;
        settings->marginRightMm = paper->rightMm;
        settings->marginBottomMm = paper->bottomMm;
    }
    if (queue.dpiX > 0) settings->dpi = queue.dpiX;
    settings->monochrome = !queue.color;
    settings->duplex = settings->duplex && queue.duplex;
    return true;
}

}  // namespace qx
