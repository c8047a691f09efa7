// CLocalizer: which region is active, and which variant of a data file to
// open for that region and the user's display or print language.
//
// The regions come from the region maps "Map_*.Region?" in the
// installation's Support folder (a name ending in x is read in the encoded
// form), merged in name order into one tree: one "Region" node per region
// token, holding the leaves and nodes of every map that describes it, the
// first merged map's first. "Files" pairs in a map are anchored at the
// Support folder, or get the temporary folder for "<TEMP>".
//
// One instance per process, created by instance() and deleted by destroy();
// the edition and version names live beside it until the library goes.
// Choosing a region stores it in the registry and gives the user the
// region's default languages where they have none yet. Single-threaded.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/list.h"
#include "qx/tree/node.h"

class QX_API CLocalizer {
public:
    static CLocalizer& instance();
    static void destroy();

    // Loads the region maps of installDir\Support (replacing what an earlier
    // call loaded), selects the start-up region and, while both are empty,
    // reads the edition and version names from Support\data.ppx. True when
    // at least one map was merged. A malformed map throws CExcRead.
    bool init(const wchar_t* installDir);
    // Makes *token* current and stores it for this application and for all
    // applications; false for a token no map describes.
    bool changeRegionTo(const wchar_t* token);

    // The full "Name" values of the merged regions, in map order (*list* is
    // emptied first; the pointer form is the caller's to delete).
    void GetAvailableRegions(CStringList& list);
    CStringList* GetAvailableRegions();
    // The merged region whose first "Name" value is *token* (case matters).
    CNode* GetRegionsNodeFor(const wchar_t* token);
    CString GetDefaultLanguageFor(const wchar_t* token);
    CString GetDefaultPrintLanguageFor(const wchar_t* token);
    // "" while no region is current.
    CString GetMyRegionsToken();

    // The current region's replacement for a data file name (its "MMDs"
    // node, names compared without regard to case), else *name*.
    CString GetLocalizedMMD(const wchar_t* name);
    CString GetLocalizedFile(const wchar_t* file, int displayLanguage);
    // The most specific existing variant of *file*: for Mask.txt in region
    // DEU with language fr, Mask_DEU_fr.txt, Mask_DEU.txt, Mask_fr.txt,
    // DEU\Mask_fr.txt, DEU\Mask.txt, fr\Mask_DEU.txt, fr\Mask.txt, then
    // (unless Mask.txt exists) the same with en, finally *file* itself.
    // With a *prefix* ("Std"), Std_Mask... is looked for first; at the
    // outermost call the edition name takes the prefix's place while a
    // region is current. A folder path (ending in a backslash) gets region
    // and language subfolders.
    CString GetLocalizedFileEx(const wchar_t* file, int useRegion, int useLanguage, int usePrintLanguage,
                               int noUnprefixedFallback, const wchar_t* prefix);

    static void SetEditionData(const wchar_t* editionName, const wchar_t* versionName);
    static const CString& GetEditionName();
    static const CString& GetVersionName();

    // For tools that look at an installation: loads the maps as init does
    // and makes *token* current (the start-up choice when null), storing
    // nothing in the registry. False when no map was merged or the region
    // is unknown.
    bool inspect(const wchar_t* installDir, const wchar_t* token);

    CString m_regSection;          // the application's section under the company's key
    CNode* m_pMergedMap = nullptr; // owned: "MergedRegionMap", one child per region
    CNode* m_pCurRegion = nullptr; // a child of the merged map, or null

private:
    CLocalizer();
    ~CLocalizer();
    CLocalizer(const CLocalizer&) = delete;
    CLocalizer& operator=(const CLocalizer&) = delete;

    bool loadMaps(const wchar_t* installDir);
    void makeCurrent(const CString& token, bool forAllApplications);
    CString searchVariant(const CString& file, int useRegion, int useLanguage, int usePrintLanguage,
                          int noUnprefixedFallback, const CString& prefix);
};

namespace qx {

// Deletes the localiser and forgets the edition and version names (for
// tests).
QX_API void ResetLocalizer();

}  // namespace qx
