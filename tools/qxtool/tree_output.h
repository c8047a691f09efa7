// Writing a tree document from the command line: into a file, which is
// replaced only once the whole text is written, or to standard output ("-"),
// piece by piece as the tree is walked. Either way the text is never held
// whole, so a deep document costs memory for its tree, not for its indented
// text.
#pragma once

#include <string>

#include "qx/tree/node.h"

namespace qxtool {

// How a tree file is written.
struct TreeFileForm {
    // An 8-bit code page (0: the default one), or qx::kCpUtf8,
    // qx::kCpUtf16Le or qx::kCpUtf16Be, written with their mark.
    unsigned codePage = 1252;
    bool encoded = false;
    bool indent = true;
};

// The form *file* has for the family's readers: its mark (none: the default
// 8-bit code page they read it in) and the encoded form for a name ending in
// x.
TreeFileForm FormOfFile(const std::string& file);

// Writes *root* to *file* ("-": standard output) in *form*; a name ending in
// .vdi gets the VDI text. Throws Failure, with the file as it was, when the
// tree is not VDI data for such a name, when the code page lacks characters
// of the text (on standard output they have been written as '?' by then)
// or when writing fails.
void WriteTree(const CNode& root, const std::string& file, const TreeFileForm& form);

// Prints *root* as indented text in UTF-8 (no mark) on standard output.
void PrintTree(const CNode& root);

}  // namespace qxtool
