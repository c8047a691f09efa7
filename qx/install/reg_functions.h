// The family's free registry functions and the predefined root keys. Each
// function opens the key, does one thing and leaves nothing open; results
// are 1 for success and 0 for failure. They work on the process's registry
// store (qx/platform/os/registry_store.h); only the roots
// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE are kept, any
// other handle fails. A null key means the root itself, a null or empty
// value name the key's default value.
#pragma once

#include <cstdint>
#include <optional>

#include "qx/platform/base/array.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/os/registry_value.h"

#ifndef HKEY_LOCAL_MACHINE
struct HKEY__;
typedef HKEY__* HKEY;
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000003u)))
#endif

namespace qx {

// The store's root for a predefined key; nullopt for any other handle.
QX_API std::optional<RegRoot> RootOfKey(HKEY root);

}  // namespace qx

// 1 if the key opens and the value exists.
QX_API int RegValueExists(HKEY root, const wchar_t* key, const wchar_t* name);
// Creates the key (with the keys above it), or opens an existing one.
QX_API int RegCreateKeyW(HKEY root, const wchar_t* key);
// Writes a string value, creating the key; a null text writes "".
QX_API int RegSetValueW(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* text);
// Writes a 32-bit number value (the low 32 bits of *number*), creating the key.
QX_API int RegSetValueW(HKEY root, const wchar_t* key, const wchar_t* name, unsigned long number);
QX_API int RegDeleteValueW(HKEY root, const wchar_t* key, const wchar_t* name);
// Reads a string or expandable-string value (unexpanded, up to its first
// zero character, however long); other types fail.
QX_API int RegQueryValueW(HKEY root, const wchar_t* key, const wchar_t* name, CString& text);
// Reads a 32-bit number value; other types fail.
QX_API int RegQueryValueW(HKEY root, const wchar_t* key, const wchar_t* name, unsigned long& number);
// Empties *names*, then appends the names of the key's values in enumeration
// order. 0 when the key does not exist.
QX_API int RegEnumValues(HKEY root, const wchar_t* key, CArray<CString, const CString&>& names);
