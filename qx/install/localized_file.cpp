// CLocalizer's search for the localised variant of a file.
#include <optional>
#include <string>

#include "qx/install/localizer.h"
#include "qx/install/reg_util.h"
#include "qx/platform/base/format.h"
#include "qx/platform/os/file_system.h"
#include "qx/text/path.h"

namespace {

// How deep the search has called itself; the edition name replaces the
// prefix only in the outermost call.
struct SearchDepth {
    int depth = 0;
    static SearchDepth& Instance() {
        static SearchDepth state;
        return state;
    }
};

class DepthGuard {
public:
    DepthGuard() : depth_(++SearchDepth::Instance().depth) {}
    ~DepthGuard() { --SearchDepth::Instance().depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool Outermost() const { return depth_ == 1; }

private:
    int depth_;
};

// A file or, for a folder path, the folder.
bool Exists(const CString& path) { return qx::GetFileStatus(path.str()).has_value(); }

}  // namespace

CString CLocalizer::GetLocalizedFile(const wchar_t* file, int displayLanguage) {
    return GetLocalizedFileEx(file, 1, displayLanguage, !displayLanguage, 0, nullptr);
}

CString CLocalizer::GetLocalizedFileEx(const wchar_t* file, int useRegion, int useLanguage, int usePrintLanguage,
                                       int noUnprefixedFallback, const wchar_t* prefix) {
    return searchVariant(CString(file), useRegion, useLanguage, usePrintLanguage, noUnprefixedFallback, CString(prefix));
}

CString CLocalizer::searchVariant(const CString& file, int useRegion, int useLanguage, int usePrintLanguage,
                                  int noUnprefixedFallback, const CString& prefix) {
    const DepthGuard guard;
    const CPath path(file);
    const CString drive = path.GetDrive();
    CString folder = path.GetFilePath().Mid(drive.GetLength());
    const CString name = path.GetShortFileName();
    const CString ext = path.GetFileExt().IsEmpty() ? CString() : L"." + path.GetFileExt();

    const bool prefixInUse = !prefix.IsEmpty();
    const bool editionInUse = prefixInUse && guard.Outermost() && m_pCurRegion && !GetEditionName().IsEmpty();
    CString base = name;
    if (prefixInUse) {
        const CString& variantPrefix = editionInUse ? GetEditionName() : prefix;
        if (name.IsEmpty()) folder += variantPrefix + L"\\";
        else base = variantPrefix + L"_" + name;
    }

    const CString region = useRegion ? GetMyRegionsToken() : CString();
    CString language;
    if (useLanguage) CRegUtil::getLanguage(language, false);
    if (usePrintLanguage) CRegUtil::getPrintLanguage(language, true);

    const wchar_t* d = drive.GetString();
    const wchar_t* p = folder.GetString();
    const wchar_t* b = base.GetString();
    const wchar_t* e = ext.GetString();
    const wchar_t* r = region.GetString();
    for (;;) {
        const wchar_t* l = language.GetString();
        std::optional<CString> found;
        auto tryCandidate = [&found](std::wstring candidate) {
            if (!found && Exists(CString(candidate))) found = CString(std::move(candidate));
        };
        const bool haveRegion = !region.IsEmpty();
        const bool haveLanguage = !language.IsEmpty();
        if (haveRegion && haveLanguage) tryCandidate(qx::Format(L"%s%s%s_%s_%s%s", d, p, b, r, l, e));
        if (haveRegion) tryCandidate(qx::Format(L"%s%s%s_%s%s", d, p, b, r, e));
        if (haveLanguage) tryCandidate(qx::Format(L"%s%s%s_%s%s", d, p, b, l, e));
        if (haveRegion) {
            if (haveLanguage) tryCandidate(qx::Format(L"%s%s%s\\%s_%s%s", d, p, r, b, l, e));
            tryCandidate(qx::Format(L"%s%s%s\\%s%s", d, p, r, b, e));
        }
        if (haveLanguage) {
            if (haveRegion) tryCandidate(qx::Format(L"%s%s%s\\%s_%s%s", d, p, l, b, r, e));
            tryCandidate(qx::Format(L"%s%s%s\\%s%s", d, p, l, b, e));
        }
        if (prefixInUse) tryCandidate(qx::Format(L"%s%s%s%s", d, p, b, e));
        if (found) return *found;

        const bool english = language == L"en";
        if (editionInUse) {
            CString again = searchVariant(file, useRegion, useLanguage, usePrintLanguage, noUnprefixedFallback, prefix);
            if (english || Exists(again)) return again;
        }
        if (!noUnprefixedFallback && prefixInUse) {
            CString again = searchVariant(file, useRegion, useLanguage, usePrintLanguage, noUnprefixedFallback, CString());
            if (english || Exists(again)) return again;
        }
        if ((!useLanguage && !usePrintLanguage) || english || (Exists(file) && !base.IsEmpty())) return file;
        language = L"en";
    }
}
