// Native path helpers shared by the os layer's implementation files. The two
// directory primitives live in native_path_posix.cpp, so that the case
// matching logic around them stays portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx::detail {

// True when *nativePath* names an entry (a dangling symbolic link counts).
bool NativeEntryExists(const std::string& nativePath);

// An entry of a folder listing. *plain*: the folder said it is a file or a
// folder itself (not a symbolic link, not of a kind it does not tell), so
// that it exists as it stands without asking about it again.
struct NativeName {
    std::string name;
    bool plain = false;
};

// The entries of folder *nativePath* without "." and "..", in no
// particular order; nullopt when it cannot be listed.
std::optional<std::vector<NativeName>> ListNativeFolder(const std::string& nativePath);

// *nativePath*, which does not exist as written, with each component that
// is missing replaced by its single case variant (see ToNativePath).
// *holderIsFolder*, when given, tells whether the folder that holds the last
// name was found to be a folder (false also when it was not looked at).
std::string ResolveNativeCase(std::string_view nativePath, bool* holderIsFolder = nullptr);

// The folder that holds *nativePath*: "/a/b/" => "/a", "/a" => "/", "a" => ".".
std::string NativeParentFolder(std::string_view nativePath);

}  // namespace qx::detail
