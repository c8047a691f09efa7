// Dialog templates: the binary form dialogs are kept in (in memory or in a
// resource module), read into a description and written from one. Both the
// classic form and the extended one (signature 0xFFFF) are read; the
// extended one is written. Coordinates are dialog units; the template's font
// sets their size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "qx/platform/base/export.h"
#include "qx/platform/wnd/window_types.h"

namespace qx {

struct DialogItemTemplate {
    DWORD style = 0;  // WS_CHILD is added when the dialog is made
    DWORD exStyle = 0;
    CRect rect;       // dialog units: left, top, right, bottom
    int id = 0;
    std::wstring className;  // "Button", "Edit", "Static", "ListBox", "ComboBox", or a registered class
    std::wstring text;
    DWORD helpId = 0;

    friend bool operator==(const DialogItemTemplate&, const DialogItemTemplate&) = default;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rect;  // dialog units
    std::wstring className;  // empty: the dialog class
    std::wstring title;
    // With DS_SETFONT: the font of the dialog and its controls.
    int pointSize = 8;
    int weight = 400;
    bool italic = false;
    std::wstring faceName = L"MS Shell Dlg";
    DWORD helpId = 0;
    std::vector<DialogItemTemplate> items;

    friend bool operator==(const DialogTemplate&, const DialogTemplate&) = default;
};

// Reads a template of *size* bytes; nullopt with *why* for one that is cut
// short, names a menu (dialogs here have none) or is otherwise malformed.
QX_API std::optional<DialogTemplate> ReadDialogTemplate(const void* data, size_t size, std::string* why = nullptr);
// The extended binary form of *dialog*; ReadDialogTemplate gives it back.
QX_API std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog);

}  // namespace qx
