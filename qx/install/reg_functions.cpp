#include "qx/install/reg_functions.h"

#include "qx/platform/os/registry_store.h"

namespace qx {

std::optional<RegRoot> RootOfKey(HKEY root) {
    if (root == HKEY_CLASSES_ROOT) return RegRoot::ClassesRoot;
    if (root == HKEY_CURRENT_USER) return RegRoot::CurrentUser;
    if (root == HKEY_LOCAL_MACHINE) return RegRoot::LocalMachine;
    return std::nullopt;
}

}  // namespace qx

namespace {

const wchar_t* OrEmpty(const wchar_t* text) { return text ? text : L""; }

std::optional<qx::RegValue> Query(HKEY root, const wchar_t* key, const wchar_t* name) {
    const auto r = qx::RootOfKey(root);
    if (!r) return std::nullopt;
    return qx::Registry().GetValue(*r, OrEmpty(key), OrEmpty(name));
}

int Set(HKEY root, const wchar_t* key, const wchar_t* name, qx::RegValue value) {
    const auto r = qx::RootOfKey(root);
    return r && qx::Registry().SetValue(*r, OrEmpty(key), OrEmpty(name), std::move(value));
}

}  // namespace

int RegValueExists(HKEY root, const wchar_t* key, const wchar_t* name) { return Query(root, key, name).has_value(); }

int RegCreateKeyW(HKEY root, const wchar_t* key) {
    const auto r = qx::RootOfKey(root);
    return r && qx::Registry().CreateKey(*r, OrEmpty(key));
}

int RegSetValueW(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* text) {
    return Set(root, key, name, qx::RegValue::Text(OrEmpty(text)));
}

int RegSetValueW(HKEY root, const wchar_t* key, const wchar_t* name, unsigned long number) {
    return Set(root, key, name, qx::RegValue::Number(static_cast<std::uint32_t>(number)));
}

int RegDeleteValueW(HKEY root, const wchar_t* key, const wchar_t* name) {
    const auto r = qx::RootOfKey(root);
    return r && qx::Registry().DeleteValue(*r, OrEmpty(key), OrEmpty(name));
}

int RegQueryValueW(HKEY root, const wchar_t* key, const wchar_t* name, CString& text) {
    const auto value = Query(root, key, name);
    const auto result = value ? value->AsText() : std::nullopt;
    if (!result) return 0;
    text = *result;
    return 1;
}

int RegQueryValueW(HKEY root, const wchar_t* key, const wchar_t* name, unsigned long& number) {
    const auto value = Query(root, key, name);
    const auto result = value ? value->AsNumber() : std::nullopt;
    if (!result) return 0;
    number = *result;
    return 1;
}

int RegEnumValues(HKEY root, const wchar_t* key, CArray<CString, const CString&>& names) {
    names.RemoveAll();
    const auto r = qx::RootOfKey(root);
    if (!r) return 0;
    const auto found = qx::Registry().ValueNames(*r, OrEmpty(key));
    if (!found) return 0;
    for (const std::wstring& name : *found) names.Add(CString(name));
    return 1;
}
