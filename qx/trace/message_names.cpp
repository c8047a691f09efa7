#include "qx/trace/internal/message_names.h"

#include <initializer_list>
#include <unordered_map>

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

std::wstring JoinFlags(unsigned flags, std::initializer_list<CodeName> names) {
    std::wstring text;
    for (const CodeName& flag : names) {
        if ((flags & flag.code) == 0) continue;
        if (!text.empty()) text += L" | ";
        text += flag.name;
        flags &= ~flag.code;
    }
    if (flags != 0) {
        if (!text.empty()) text += L" | ";
        text += Format(L"0x%X", flags);
    }
    return text;
}

}  // namespace

const wchar_t* FindCodeName(unsigned code, std::initializer_list<CodeName> names) {
    for (const CodeName& named : names)
        if (named.code == code) return named.name;
    return nullptr;
}

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
    const wchar_t* name = FindCodeName(
        code, {QX_NAMED(NM_CLICK), QX_NAMED(NM_DBLCLK), QX_NAMED(NM_RETURN), QX_NAMED(NM_RCLICK),
               QX_NAMED(NM_RDBLCLK), QX_NAMED(NM_SETFOCUS), QX_NAMED(NM_KILLFOCUS), QX_NAMED(NM_CUSTOMDRAW),
               QX_NAMED(NM_HOVER), QX_NAMED(NM_NCHITTEST), QX_NAMED(NM_KEYDOWN), QX_NAMED(NM_SETCURSOR),
               QX_NAMED(NM_CHAR), QX_NAMED(TTN_GETDISPINFO), QX_NAMED(TTN_SHOW), QX_NAMED(TTN_POP),
               QX_NAMED(TTN_LINKCLICK)});
    if (name != nullptr) return name;
    // Notification codes count down from zero; signed they read as the
    // platform's documentation gives them.
    return Format(L"%i", static_cast<int>(code));
}

std::wstring MouseKeyFlags(unsigned flags) {
    return JoinFlags(flags, {QX_NAMED(MK_LBUTTON), QX_NAMED(MK_RBUTTON), QX_NAMED(MK_SHIFT), QX_NAMED(MK_CONTROL),
                             QX_NAMED(MK_MBUTTON), QX_NAMED(MK_XBUTTON1), QX_NAMED(MK_XBUTTON2)});
}

std::wstring DialogCodeFlags(unsigned flags) {
    return JoinFlags(flags, {QX_NAMED(DLGC_WANTARROWS), QX_NAMED(DLGC_WANTTAB), QX_NAMED(DLGC_WANTALLKEYS),
                             QX_NAMED(DLGC_HASSETSEL), QX_NAMED(DLGC_DEFPUSHBUTTON), QX_NAMED(DLGC_UNDEFPUSHBUTTON),
                             QX_NAMED(DLGC_RADIOBUTTON), QX_NAMED(DLGC_WANTCHARS), QX_NAMED(DLGC_STATIC),
                             QX_NAMED(DLGC_BUTTON)});
}

std::wstring UiStateFlags(unsigned flags) {
    return JoinFlags(flags, {QX_NAMED(UISF_HIDEFOCUS), QX_NAMED(UISF_HIDEACCEL)});
}

}  // namespace qx
