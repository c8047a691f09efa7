// The region maps behind CLocalizer, for the localiser and for the tools
// that describe an installation without changing the user's settings.
// Internal to qx/install.
#pragma once

#include <string>
#include <vector>

#include "qx/platform/base/cstring.h"
#include "qx/tree/node.h"

namespace qx::detail {

// installDir + "\\Support" (one backslash between them).
CString SupportFolderOf(const wchar_t* installDir);

// The index-th value of *leaf* (from 1), read with a cursor of its own so
// that a list the application is reading is not disturbed; "" when missing.
CString LeafValue(const CLeaf& leaf, int index);

// The merged region whose first "Name" value is *token* (compared exactly).
CNode* FindRegion(const CNode& merged, const wchar_t* token);

// Merges every "Map_*.Region?" file of *supportFolder* into *merged*, in the
// folder's name order, and gives the names of the files merged. A map that
// cannot be opened is skipped; a malformed one throws CExcRead.
std::vector<CString> MergeRegionMaps(CNode& merged, const CString& supportFolder);

// Merges the regions of one map (its root's child nodes) into *merged*;
// relative "Files" paths are anchored at *baseFolder*.
void MergeRegionMap(CNode& merged, const CNode& map, const CString& baseFolder);

// The region an application with registry section *section* starts in, and
// where that choice came from. Reads the registry only.
struct StartupRegion {
    CString token;       // "" when the merged map is empty
    std::wstring source;
};
StartupRegion ChooseStartupRegion(const CNode& merged, const CString& section);

// Edition and version name from supportFolder\data.ppx (leaves "Name" and
// "VersionName", wherever they are in the tree); false when the file cannot
// be read.
bool ReadEditionFile(const CString& supportFolder, CString& edition, CString& version);

}  // namespace qx::detail
