#include "qx/trace/internal/message_names.h"

#include <initializer_list>
#include <unordered_map>
#include <utility>

#include "qx/platform/base/format.h"
#include "qx/platform/wnd/window_constants.h"

namespace qx {

namespace {

#define QX_MESSAGE_ENTRY(name, value) {value, L"" #name},
constexpr TraceEntry kMessages[] = {QX_WINDOW_MESSAGES(QX_MESSAGE_ENTRY)};
#undef QX_MESSAGE_ENTRY

// The table is looked up by identifier: each one must be named once.
constexpr bool StrictlyAscending() {
    for (std::size_t i = 1; i < sizeof kMessages / sizeof kMessages[0]; ++i)
        if (kMessages[i - 1].id >= kMessages[i].id) return false;
    return true;
}
static_assert(StrictlyAscending(), "message_list.h must be in strictly ascending order of identifier");

// A flag's bit and its name.
using FlagName = std::pair<unsigned, const wchar_t*>;

std::wstring JoinFlags(unsigned flags, std::initializer_list<FlagName> names) {
    std::wstring text;
    for (const auto& [bit, name] : names) {
        if ((flags & bit) == 0) continue;
        if (!text.empty()) text += L" | ";
        text += name;
        flags &= ~bit;
    }
    if (flags != 0) {
        if (!text.empty()) text += L" | ";
        text += Format(L"0x%X", flags);
    }
    return text;
}

}  // namespace

const TraceEntry* TraceTable() { return kMessages; }
std::size_t TraceTableSize() { return sizeof kMessages / sizeof kMessages[0]; }

const TraceEntry* FindTraceEntry(unsigned message) {
    // Built on first use; read-only afterwards, so any thread may look up.
    static const std::unordered_map<unsigned, const TraceEntry*> index = [] {
        std::unordered_map<unsigned, const TraceEntry*> built;
        built.reserve(TraceTableSize());
        for (const TraceEntry& entry : kMessages) built.emplace(entry.id, &entry);
        return built;
    }();
    auto found = index.find(message);
    return found == index.end() ? nullptr : found->second;
}

std::wstring MessageName(unsigned message) {
    if (const TraceEntry* entry = FindTraceEntry(message)) return entry->name;

    // Unnamed messages of the common controls keep their family's prefix.
    const wchar_t* family = L"";
    if (message >= 0x1001 && message <= 0x21FF) {
        if (message >= 0x2000) family = L"CCM_";
        else if (message >= 0x1400) family = L"PGM_";
        else if (message >= 0x1300) family = L"TCM_";
        else if (message >= 0x1200) family = L"HDM_";
        else if (message >= 0x1100) family = L"TM_";
        else family = L"LVM_";
    }
    return Format(L"%s 0x%X", family, message);
}

std::wstring HitTestName(int code) {
#define QX_NAME_CASE(name, value) \
    case value: return L"" #name;
    switch (code) {
        QX_HIT_TEST_CODES(QX_NAME_CASE)
    }
    return Format(L"%i", code);
}

std::wstring VirtualKeyName(unsigned key) {
    switch (key) {
        QX_VIRTUAL_KEYS(QX_NAME_CASE)
    }
#undef QX_NAME_CASE
    // Digits and letters have no VK_ names: their key codes are the
    // characters themselves.
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return Format(L"'%c'", static_cast<wchar_t>(key));
    return Format(L"%u", key);
}

std::wstring NotifyCodeName(unsigned code) {
#define QX_NOTIFY_CASE(name) \
    case name: return L"" #name;
    switch (code) {
        QX_NOTIFY_CASE(NM_CLICK)
        QX_NOTIFY_CASE(NM_DBLCLK)
        QX_NOTIFY_CASE(NM_RETURN)
        QX_NOTIFY_CASE(NM_RCLICK)
        QX_NOTIFY_CASE(NM_RDBLCLK)
        QX_NOTIFY_CASE(NM_SETFOCUS)
        QX_NOTIFY_CASE(NM_KILLFOCUS)
        QX_NOTIFY_CASE(NM_CUSTOMDRAW)
        QX_NOTIFY_CASE(NM_HOVER)
        QX_NOTIFY_CASE(NM_NCHITTEST)
        QX_NOTIFY_CASE(NM_KEYDOWN)
        QX_NOTIFY_CASE(NM_SETCURSOR)
        QX_NOTIFY_CASE(NM_CHAR)
        QX_NOTIFY_CASE(TTN_GETDISPINFO)
        QX_NOTIFY_CASE(TTN_SHOW)
        QX_NOTIFY_CASE(TTN_POP)
        QX_NOTIFY_CASE(TTN_LINKCLICK)
    }
#undef QX_NOTIFY_CASE
    // Notification codes count down from zero; signed they read as the
    // platform's documentation gives them.
    return Format(L"%i", static_cast<int>(code));
}

std::wstring MouseKeyFlags(unsigned flags) {
    return JoinFlags(flags, {{MK_LBUTTON, L"MK_LBUTTON"},
                             {MK_RBUTTON, L"MK_RBUTTON"},
                             {MK_SHIFT, L"MK_SHIFT"},
                             {MK_CONTROL, L"MK_CONTROL"},
                             {MK_MBUTTON, L"MK_MBUTTON"},
                             {MK_XBUTTON1, L"MK_XBUTTON1"},
                             {MK_XBUTTON2, L"MK_XBUTTON2"}});
}

std::wstring DialogCodeFlags(unsigned flags) {
    return JoinFlags(flags, {{DLGC_WANTARROWS, L"DLGC_WANTARROWS"},
                             {DLGC_WANTTAB, L"DLGC_WANTTAB"},
                             {DLGC_WANTALLKEYS, L"DLGC_WANTALLKEYS"},
                             {DLGC_HASSETSEL, L"DLGC_HASSETSEL"},
                             {DLGC_DEFPUSHBUTTON, L"DLGC_DEFPUSHBUTTON"},
                             {DLGC_UNDEFPUSHBUTTON, L"DLGC_UNDEFPUSHBUTTON"},
                             {DLGC_RADIOBUTTON, L"DLGC_RADIOBUTTON"},
                             {DLGC_WANTCHARS, L"DLGC_WANTCHARS"},
                             {DLGC_STATIC, L"DLGC_STATIC"},
                             {DLGC_BUTTON, L"DLGC_BUTTON"}});
}

std::wstring UiStateFlags(unsigned flags) {
    return JoinFlags(flags, {{UISF_HIDEFOCUS, L"UISF_HIDEFOCUS"}, {UISF_HIDEACCEL, L"UISF_HIDEACCEL"}});
}

}  // namespace qx
