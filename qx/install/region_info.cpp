#include "qx/install/region_info.h"

#include "qx/install/internal/region_maps.h"
#include "qx/tree/exc.h"

namespace qx {
namespace {

std::wstring Joined(const std::vector<CString>& items) {
    std::wstring text;
    for (const CString& item : items) text += (text.empty() ? L"" : L", ") + item.str();
    return text;
}

std::vector<CString> RegionTokens(const CNode& merged) {
    std::vector<CString> tokens;
    for (POSITION pos = merged.Children().GetHeadPosition(); pos;) {
        const CLeaf* name = merged.Children().GetNext(pos)->FindLeaf(L"Name");
        if (name) tokens.push_back(detail::LeafValue(*name, 1));
    }
    return tokens;
}

void DescribeRegion(const CNode& merged, std::vector<SettingLine>& lines) {
    const detail::StartupRegion startup = detail::ChooseStartupRegion(merged, CString());
    if (startup.token.IsEmpty()) {
        lines.push_back({L"region", L"not found", startup.source});
        return;
    }
    lines.push_back({L"region", startup.token.str(), startup.source});
    const CNode* region = detail::FindRegion(merged, startup.token);
    for (const auto& [what, leafName] : {std::pair{L"region's display language", L"DefaultLanguage"},
                                         std::pair{L"region's print language", L"DefaultPrintLanguage"}}) {
        const CLeaf* leaf = region->FindLeaf(leafName);
        const std::wstring source = L"leaf " + std::wstring(leafName) + L" of region " + startup.token.str() +
                                    L"; applied only while the user has none";
        if (leaf) lines.push_back({what, detail::LeafValue(*leaf, 1).str(), source});
        else lines.push_back({what, L"not found", L"region " + startup.token.str() + L" has no " + leafName});
    }
}

}  // namespace

std::vector<SettingLine> DescribeRegionAndEdition(const CString& installDir) {
    std::vector<SettingLine> lines;
    if (installDir.IsEmpty()) {
        lines.push_back({L"region maps", L"not found", L"no installation folder given"});
        return lines;
    }
    const CString support = detail::SupportFolderOf(installDir);
    CNode merged(L"MergedRegionMap");
    std::vector<CString> files;
    try {
        files = detail::MergeRegionMaps(merged, support);
    } catch (const CExcRead& error) {
        lines.push_back({L"region maps", L"unreadable", support.str() + L": " + error.GetMessage()});
        return lines;
    }
    if (files.empty()) {
        lines.push_back({L"region maps", L"not found", L"no readable Map_*.Region? in " + support.str()});
    } else {
        lines.push_back({L"region maps", Joined(files), support.str() + L", merged in this order"});
        lines.push_back({L"regions", Joined(RegionTokens(merged)), L"the \"Name\" leaves of the merged maps"});
        DescribeRegion(merged, lines);
    }
    CString edition;
    CString version;
    const std::wstring ppx = support.str() + L"\\data.ppx";
    if (detail::ReadEditionFile(support, edition, version)) {
        lines.push_back({L"edition", edition.IsEmpty() ? L"not set" : edition.str(), ppx + L", leaf Name"});
        lines.push_back({L"version", version.IsEmpty() ? L"not set" : version.str(), ppx + L", leaf VersionName"});
    } else {
        lines.push_back({L"edition", L"not found", L"no readable " + ppx});
    }
    return lines;
}

}  // namespace qx
