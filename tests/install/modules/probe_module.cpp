// A family module for the module loader's tests: it exports the entry points
// a loader calls after loading and records every call, readable through
// probeCalls().
#include <string>

#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::wstring calls;
}

PROBE_EXPORT void setRegCompany(const wchar_t* company) {
    calls += L"setRegCompany(" + std::wstring(company ? company : L"<null>") + L");";
}

PROBE_EXPORT void initLanguage(int reason, const wchar_t* language) {
    calls += L"initLanguage(" + std::to_wstring(reason) + L"," + std::wstring(language ? language : L"<null>") + L");";
}

PROBE_EXPORT void changeLanguage(const wchar_t* language) {
    calls += L"changeLanguage(" + std::wstring(language ? language : L"<null>") + L");";
}

PROBE_EXPORT const wchar_t* probeCalls() { return calls.c_str(); }
