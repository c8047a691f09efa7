// The names the message tracer writes: messages, hit-test codes, virtual
// keys, notification codes and flag sets, each from the list that declares
// the constants, so a name cannot drift from its value.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

namespace qx {

// One entry of the message table: a named window message.
struct TraceEntry {
    unsigned id;
    const wchar_t* name;
};

// A code or flag bit and its published name; QX_NAMED(BN_CLICKED) makes one
// from the constant, so name and value come from the same declaration.
struct CodeName {
    unsigned code;
    const wchar_t* name;
};
#define QX_NAMED(name) ::qx::CodeName{static_cast<unsigned>(name), L"" #name}

// The name of *code* among *names*; nullptr when none has it.
const wchar_t* FindCodeName(unsigned code, std::initializer_list<CodeName> names);

// The table in ascending order of identifier (the order of message_list.h).
const TraceEntry* TraceTable();
std::size_t TraceTableSize();
// The table entry of *message* (nullptr when the table does not name it).
const TraceEntry* FindTraceEntry(unsigned message);

// The table name of *message*; otherwise the family the identifier falls in
// and its value ("HDM_ 0x1234"), with no family name outside the control
// ranges (" 0x8001").
std::wstring MessageName(unsigned message);

std::wstring HitTestName(int code);       // "HTCLIENT"; unknown codes as "%i"
std::wstring VirtualKeyName(unsigned key);  // "VK_RETURN", 'A', '7'; others "%u"
std::wstring NotifyCodeName(unsigned code);  // WM_NOTIFY codes; others "%i"

// The names of the set bits joined by " | " ("" for none); bits without a
// name follow as one hexadecimal value, so nothing set is hidden.
std::wstring MouseKeyFlags(unsigned flags);
std::wstring DialogCodeFlags(unsigned flags);
std::wstring UiStateFlags(unsigned flags);

}  // namespace qx
