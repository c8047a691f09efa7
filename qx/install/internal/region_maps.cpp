#include "qx/install/internal/region_maps.h"

#include <memory>
#include <vector>

#include "qx/install/reg_util.h"
#include "qx/platform/os/file_system.h"
#include "qx/platform/os/path_split.h"
#include "qx/text/find_files.h"
#include "qx/text/sub_str.h"
#include "qx/tree/tree_items.h"

namespace qx::detail {
namespace {

// "C:\\x" as the family writes it, or (POSIX) a path from the root.
bool IsAbsolute(const CString& path) {
    if (path.GetLength() >= 3 && path[1] == L':' && IsPathSeparator(path[2])) return true;
    return !path.IsEmpty() && IsPathSeparator(path[0]);
}

// base + path, with the first ".." folder resolved against the folder in
// front of it: "C:\\inst\\Support\\" + "..\\Data\\a" => "C:\\inst\\Data\\a".
CString Anchored(const CString& path, const CString& base) {
    if (path.IsEmpty() || IsAbsolute(path)) return path;  // an empty value names no file
    std::wstring joined = (base + path).str();
    for (size_t up = joined.find(L".."); up != std::wstring::npos; up = joined.find(L"..", up + 2)) {
        const bool wholeName = up > 0 && IsPathSeparator(joined[up - 1]) && up + 2 < joined.size() &&
                               IsPathSeparator(joined[up + 2]);
        if (!wholeName) continue;
        const size_t before = up - 1;  // the separator ending the folder in front
        const size_t start = before == 0 ? std::wstring::npos : joined.find_last_of(L"\\/", before - 1);
        const size_t from = start == std::wstring::npos ? 0 : start + 1;
        joined.erase(from, up + 3 - from);
        break;
    }
    return CString(std::move(joined));
}

void RewriteFilesLeaf(CLeaf& leaf, const CString& baseFolder) {
    const CString first = LeafValue(leaf, 1);
    const CString second = LeafValue(leaf, 2);
    CString newFirst = first;
    CString newSecond = second;
    // The placeholder test looks at both values together: a pair naming a
    // temporary file keeps its other value as written.
    if ((first + second).Find(L"<TEMP>") >= 0) {
        const CString temp(qx::TempDirectory());
        newFirst.Replace(L"<TEMP>", temp);
        newSecond.Replace(L"<TEMP>", temp);
    } else {
        newFirst = Anchored(first, baseFolder);
        newSecond = Anchored(second, baseFolder);
    }
    if (newFirst == first && newSecond == second) return;
    CQxSubStr builder;
    builder.AddInit(L':');
    builder.Add(newFirst);
    builder.Add(newSecond);
    CString packed;
    builder.AddEnd(packed);
    leaf.SetRawData(std::move(packed));
}

// The first leaf named *name* in *root*'s tree, parents before children.
// Walks with its own stack: data files may be deep.
CLeaf* FindLeafInTree(const CNode& root, const wchar_t* name) {
    std::vector<const CNode*> pending{&root};
    while (!pending.empty()) {
        const CNode* node = pending.back();
        pending.pop_back();
        if (CLeaf* leaf = node->FindLeaf(name)) return leaf;
        std::vector<const CNode*> children;
        for (POSITION pos = node->Children().GetHeadPosition(); pos;) children.push_back(node->Children().GetNext(pos));
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

bool EndsWithX(const CString& name) {
    return !name.IsEmpty() && (name[name.GetLength() - 1] == L'x' || name[name.GetLength() - 1] == L'X');
}

std::wstring CompanyUserKey(const wchar_t* section) {
    CRegUtil::getEnvKeyName(true);  // defaults the company name
    std::wstring key = L"HKEY_CURRENT_USER\\Software\\" + std::wstring(CRegUtil::getRegCompany());
    if (section && *section) key += L"\\" + std::wstring(section);
    return key + L"\\Region";
}

}  // namespace

CString SupportFolderOf(const wchar_t* installDir) {
    CString folder(installDir);
    if (folder.IsEmpty() || !IsPathSeparator(folder[folder.GetLength() - 1])) folder += L'\\';
    return folder + L"Support";
}

CString LeafValue(const CLeaf& leaf, int index) {
    CQxSubStr reader;
    CString value;
    if (!reader.GetInit(leaf.GetRawData(), L':')) return value;
    for (int n = 1; n <= index; ++n) {
        value.Empty();
        const bool more = reader.Get(value);
        if (!more && n < index) return CString();
    }
    return value;
}

CNode* FindRegion(const CNode& merged, const wchar_t* token) {
    if (!token) return nullptr;
    for (POSITION pos = merged.Children().GetHeadPosition(); pos;) {
        CNode* region = merged.Children().GetNext(pos);
        const CLeaf* name = region->FindLeaf(L"Name");
        if (name && LeafValue(*name, 1) == token) return region;
    }
    return nullptr;
}

void MergeRegionMap(CNode& merged, const CNode& map, const CString& baseFolder) {
    for (POSITION pos = map.Children().GetHeadPosition(); pos;) {
        const CNode* source = map.Children().GetNext(pos);
        const CLeaf* name = source->FindLeaf(L"Name");
        if (!name) continue;
        CNode* region = FindRegion(merged, LeafValue(*name, 1));
        if (!region) {
            region = merged.AddChild(L"Region");
            region->AddLeaf(L"Name", name->GetRawData(), true);
        }
        for (POSITION leafPos = source->Leaves().GetHeadPosition(); leafPos;) {
            const CLeaf* leaf = source->Leaves().GetNext(leafPos);
            if (leaf->GetName() != L"Name") region->AddLeaf(leaf->GetName(), leaf->GetRawData(), true);
        }
        for (POSITION childPos = source->Children().GetHeadPosition(); childPos;) {
            const CNode* child = source->Children().GetNext(childPos);
            CNode* target = region->FindChild(child->GetName());
            if (!target) target = region->AddChild(child->GetName());
            const bool files = child->GetName() == L"Files";
            for (POSITION leafPos = child->Leaves().GetHeadPosition(); leafPos;) {
                const CLeaf* leaf = child->Leaves().GetNext(leafPos);
                CLeaf* copy = target->AddLeaf(leaf->GetName(), leaf->GetRawData(), true);
                if (files) RewriteFilesLeaf(*copy, baseFolder);
            }
            // Deeper nodes are the applications' own; merging keeps them.
            for (POSITION deepPos = child->Children().GetHeadPosition(); deepPos;)
                target->AddChild(new CNode(*child->Children().GetNext(deepPos)));
        }
    }
}

std::vector<CString> MergeRegionMaps(CNode& merged, const CString& supportFolder) {
    // The search lists names in upper-cased order, the same on every file
    // system, so the maps merge in a stable, documented order.
    std::vector<CString> names;
    CFindFiles search(supportFolder, L"Map_*.Region?", 1);
    for (CString name; search.GetNext(name);) names.push_back(name);
    std::vector<CString> mergedFiles;
    const CString base = supportFolder + L"\\";
    for (const CString& name : names) {
        std::unique_ptr<CNode> map(CNode::ReadFromFile(base + name, EndsWithX(name)));
        if (!map) continue;
        MergeRegionMap(merged, *map, base);
        mergedFiles.push_back(name);
    }
    return mergedFiles;
}

StartupRegion ChooseStartupRegion(const CNode& merged, const CString& section) {
    const CString ownRegion = CRegUtil::getRegCompanyProfileString(section, L"Region", L"");
    CString common = CRegUtil::getRegCompanyProfileString(L"Env", L"Region", L"");
    std::wstring commonSource = CompanyUserKey(L"Env");
    if (common.IsEmpty()) {
        const CString key = CRegUtil::getEnvKeyName(true);
        CRegUtil::GetProfileStringLMachine(common, key, L"Region");
        commonSource = L"HKEY_LOCAL_MACHINE\\" + key.str() + L"\\Region";
    }
    if (!common.IsEmpty() && FindRegion(merged, common)) return {common, commonSource};
    if (!ownRegion.IsEmpty() && FindRegion(merged, ownRegion)) return {ownRegion, CompanyUserKey(section)};
    const CNode* first = merged.NrOfChildren() ? merged.GetChild(0) : nullptr;
    const CLeaf* name = first ? first->FindLeaf(L"Name") : nullptr;
    if (!name) return {CString(), L"no region maps"};
    return {LeafValue(*name, 1), L"the first region of the maps (no known region stored)"};
}

bool ReadEditionFile(const CString& supportFolder, CString& edition, CString& version) {
    CNode* root = nullptr;
    if (!TreeItems::ReadFromFile(supportFolder + L"\\data.ppx", root, 1)) return false;
    const std::unique_ptr<CNode> owner(root);
    const CLeaf* name = FindLeafInTree(*root, L"Name");
    const CLeaf* versionName = FindLeafInTree(*root, L"VersionName");
    edition = name ? LeafValue(*name, 1) : CString();
    version = versionName ? LeafValue(*versionName, 1) : CString();
    return true;
}

}  // namespace qx::detail
