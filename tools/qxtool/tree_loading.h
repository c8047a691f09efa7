// Reading a tree document named on the command line, for every command that
// takes one.
#pragma once

#include <memory>
#include <string>

#include "qx/tree/node.h"

namespace qxtool {

// A tree file as read, with what is needed to write it back in its form.
struct LoadedTree {
    std::unique_ptr<CNode> root;
    bool encoded = false;
    bool unicode = false;
};

// The family's readers take a name ending in x (either case) as encoded.
bool IsEncodedName(const std::wstring& path);

// Reads *file* in any form the tree reader accepts (a name ending in x is
// read as encoded); throws Failure with the reader's reason. A VDI file
// must import whole (a stopped import is a truncated copy of the file):
// Failure "FILE: import stopped at line N: ..." otherwise. With
// *keepUnknownVdiRecords* its records outside the placement table are kept.
LoadedTree LoadTree(const std::string& file, bool keepUnknownVdiRecords = false);

}  // namespace qxtool
