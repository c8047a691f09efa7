#include "qx/install/localizer.h"

#include "qx/install/internal/region_maps.h"
#include "qx/install/reg_util.h"

namespace {

// The singleton and the names beside it.
struct LocalizerState {
    CLocalizer* localizer = nullptr;
    CString editionName;
    CString versionName;

    static LocalizerState& Instance() {
        static LocalizerState state;
        return state;
    }
};

// The user's "Lang" or "PrintLang" under the company's environment key.
bool UserHasValue(const wchar_t* name) {
    CString value;
    CRegUtil::GetProfileStringCurUser(value, CRegUtil::getEnvKeyName(true), name);
    return !value.IsEmpty();
}

}  // namespace

CLocalizer::CLocalizer() : m_pMergedMap(new CNode(L"MergedRegionMap")) {}

CLocalizer::~CLocalizer() { delete m_pMergedMap; }

CLocalizer& CLocalizer::instance() {
    LocalizerState& state = LocalizerState::Instance();
    if (!state.localizer) state.localizer = new CLocalizer();
    return *state.localizer;
}

void CLocalizer::destroy() {
    LocalizerState& state = LocalizerState::Instance();
    delete state.localizer;
    state.localizer = nullptr;
}

bool CLocalizer::loadMaps(const wchar_t* installDir) {
    // A second init starts afresh: appending the same maps again would
    // double every leaf of every region.
    m_pCurRegion = nullptr;
    m_pMergedMap->DeleteAllChildren();
    m_pMergedMap->DeleteAllLeaves();
    if (!installDir) return false;
    const CString support = qx::detail::SupportFolderOf(installDir);
    const bool merged = !qx::detail::MergeRegionMaps(*m_pMergedMap, support).empty();
    LocalizerState& state = LocalizerState::Instance();
    if (state.editionName.IsEmpty() && state.versionName.IsEmpty())
        qx::detail::ReadEditionFile(support, state.editionName, state.versionName);
    return merged;
}

bool CLocalizer::init(const wchar_t* installDir) {
    const bool merged = loadMaps(installDir);
    const qx::detail::StartupRegion startup = qx::detail::ChooseStartupRegion(*m_pMergedMap, m_regSection);
    if (!startup.token.IsEmpty()) makeCurrent(startup.token, false);
    return merged;
}

bool CLocalizer::inspect(const wchar_t* installDir, const wchar_t* token) {
    if (!loadMaps(installDir)) return false;
    const CString chosen = token ? CString(token) : qx::detail::ChooseStartupRegion(*m_pMergedMap, m_regSection).token;
    m_pCurRegion = qx::detail::FindRegion(*m_pMergedMap, chosen);
    return m_pCurRegion != nullptr;
}

bool CLocalizer::changeRegionTo(const wchar_t* token) {
    if (!qx::detail::FindRegion(*m_pMergedMap, token)) return false;
    makeCurrent(token, true);
    return true;
}

void CLocalizer::makeCurrent(const CString& token, bool forAllApplications) {
    m_pCurRegion = qx::detail::FindRegion(*m_pMergedMap, token);
    if (!m_pCurRegion) return;
    CRegUtil::setRegCompanyProfileString(m_regSection, L"Region", token);
    if (forAllApplications) CRegUtil::setRegCompanyProfileString(L"Env", L"Region", token);
    // The region only suggests languages; a choice the user made stays.
    const CString display = GetDefaultLanguageFor(token);
    if (!display.IsEmpty() && !UserHasValue(L"Lang")) CRegUtil::setLanguage(display);
    const CString print = GetDefaultPrintLanguageFor(token);
    if (!print.IsEmpty() && !UserHasValue(L"PrintLang")) CRegUtil::setPrintLanguage(print);
}

void CLocalizer::GetAvailableRegions(CStringList& list) {
    list.RemoveAll();
    for (POSITION pos = m_pMergedMap->Children().GetHeadPosition(); pos;) {
        const CLeaf* name = m_pMergedMap->Children().GetNext(pos)->FindLeaf(L"Name");
        if (name) list.AddTail(name->GetRawData());
    }
}

CStringList* CLocalizer::GetAvailableRegions() {
    auto* list = new CStringList();
    GetAvailableRegions(*list);
    return list;
}

CNode* CLocalizer::GetRegionsNodeFor(const wchar_t* token) { return qx::detail::FindRegion(*m_pMergedMap, token); }

namespace {

CString FirstValueOf(const CNode* region, const wchar_t* leafName) {
    const CLeaf* leaf = region ? region->FindLeaf(leafName) : nullptr;
    return leaf ? qx::detail::LeafValue(*leaf, 1) : CString();
}

}  // namespace

CString CLocalizer::GetDefaultLanguageFor(const wchar_t* token) {
    return FirstValueOf(GetRegionsNodeFor(token), L"DefaultLanguage");
}

CString CLocalizer::GetDefaultPrintLanguageFor(const wchar_t* token) {
    return FirstValueOf(GetRegionsNodeFor(token), L"DefaultPrintLanguage");
}

CString CLocalizer::GetMyRegionsToken() { return FirstValueOf(m_pCurRegion, L"Name"); }

CString CLocalizer::GetLocalizedMMD(const wchar_t* name) {
    const CString wanted(name);
    const CNode* mmds = m_pCurRegion ? m_pCurRegion->FindChild(L"MMDs") : nullptr;
    if (!mmds) return wanted;
    for (POSITION pos = mmds->Leaves().GetHeadPosition(); pos;) {
        const CLeaf* leaf = mmds->Leaves().GetNext(pos);
        if (qx::detail::LeafValue(*leaf, 1).CompareNoCase(wanted) == 0) return qx::detail::LeafValue(*leaf, 2);
    }
    return wanted;
}

void CLocalizer::SetEditionData(const wchar_t* editionName, const wchar_t* versionName) {
    LocalizerState& state = LocalizerState::Instance();
    state.editionName = editionName;
    state.versionName = versionName;
}

const CString& CLocalizer::GetEditionName() { return LocalizerState::Instance().editionName; }

const CString& CLocalizer::GetVersionName() { return LocalizerState::Instance().versionName; }

namespace qx {

void ResetLocalizer() {
    CLocalizer::destroy();
    LocalizerState::Instance().editionName.Empty();
    LocalizerState::Instance().versionName.Empty();
}

}  // namespace qx
