// CLocalizer's search for the localised variant of a file.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "qx/install/localizer.h"
#include "qx/install/reg_util.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/name_probe.h"
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

    // Candidates are joined from the parts directly: they are built for
    // every search, most of them name files that do not exist, in one or two
    // folders, which the probe looks at once each.
    qx::NameProbe probe;
    const std::wstring_view d = drive.str(), p = folder.str(), b = base.str(), e = ext.str(), r = region.str();
    for (;;) {
        const std::wstring_view l = language.str();
        std::optional<CString> found;
        auto tryCandidate = [&found, &probe](std::initializer_list<std::wstring_view> parts) {
            if (found) return;
            size_t length = 0;
            for (const std::wstring_view part : parts) length += part.size();
            std::wstring candidate;
            candidate.reserve(length);
            for (const std::wstring_view part : parts) candidate += part;
            if (probe.Exists(candidate)) found = CString(std::move(candidate));
        };
        const bool haveRegion = !region.IsEmpty();
        const bool haveLanguage = !language.IsEmpty();
        if (haveRegion && haveLanguage) tryCandidate({d, p, b, L"_", r, L"_", l, e});
        if (haveRegion) tryCandidate({d, p, b, L"_", r, e});
        if (haveLanguage) tryCandidate({d, p, b, L"_", l, e});
        if (haveRegion) {
            if (haveLanguage) tryCandidate({d, p, r, L"\\", b, L"_", l, e});
            tryCandidate({d, p, r, L"\\", b, e});
        }
        if (haveLanguage) {
            if (haveRegion) tryCandidate({d, p, l, L"\\", b, L"_", r, e});
            tryCandidate({d, p, l, L"\\", b, e});
        }
        if (prefixInUse) tryCandidate({d, p, b, e});
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
