// Taking the folder or the name out of a library path. A backslash and a
// slash both separate folders, as everywhere in the os layer, so a path
// written the Linux way ("/opt/app/Dll") splits like a Windows one.
//
//   FolderPart("C:\a\b.txt") -> "C:\a\"     NamePart("C:\a\b.txt") -> "b.txt"
//   FolderPart("/opt/x/y")   -> "/opt/x/"   NamePart("/opt/x/y")   -> "y"
//   FolderPart("b.txt")      -> ""          NamePart("b.txt")      -> "b.txt"
//   ParentFolder("C:\a\b\")  -> "C:\a\"     ParentFolder("/opt/app") -> "/opt/"
//   ParentFolder("b")        -> ""
#pragma once

#include <string_view>

namespace qx {

constexpr bool IsPathSeparator(wchar_t ch) { return ch == L'\\' || ch == L'/'; }

// The index of the last separator of *path*; npos when it has none.
constexpr size_t LastPathSeparator(std::wstring_view path) { return path.find_last_of(L"\\/"); }

// *path* up to and including its last separator; empty when it has none.
constexpr std::wstring_view FolderPart(std::wstring_view path) {
    const size_t separator = LastPathSeparator(path);
    return separator == std::wstring_view::npos ? std::wstring_view() : path.substr(0, separator + 1);
}

// *path* after its last separator (all of it when it has none).
constexpr std::wstring_view NamePart(std::wstring_view path) {
    const size_t separator = LastPathSeparator(path);
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

// The folder that holds *folder* (final separators do not count), with its
// final separator; empty when *folder* names no parent.
constexpr std::wstring_view ParentFolder(std::wstring_view folder) {
    while (!folder.empty() && IsPathSeparator(folder.back())) folder.remove_suffix(1);
    return FolderPart(folder);
}

}  // namespace qx
