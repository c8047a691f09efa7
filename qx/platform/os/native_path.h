// Library paths to native paths and back.
//
// A library path is Windows-style wide text as the family stores it
// ("C:\\Data\\Region.ppx", "..\\Support\\"). Every file-system call of the os
// layer maps it to a native path first; nothing else in the library builds
// native paths. Native paths are UTF-8 bytes.
//
// The drive map comes from the environment variable QX_DRIVES, read at first
// use: entries "letter=folder" separated by ';' ("C=/srv/qx/c;D=/mnt/d").
// Letters are case-insensitive, a trailing slash on the folder does not
// matter, entries whose folder is not absolute are ignored, and a later entry
// for the same letter wins. The map is process-wide state; SetDriveMap and
// ResetDriveMap replace it (for tests and tools).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "qx/platform/base/export.h"

namespace qx {

// The native path for *libraryPath*, with C=/srv/qx/c:
//
//   "C:\\Data\\a.txt"     => "/srv/qx/c/Data/a.txt"
//   "c:/Data/"            => "/srv/qx/c/Data/"
//   "C:"  "C:\\"          => "/srv/qx/c/"
//   "C:a.txt"             => "/srv/qx/c/a.txt"   (no per-drive current folder)
//   "\\tmp\\a.txt"        => "/tmp/a.txt"        (leading separator: absolute)
//   "Data\\a.txt"         => "Data/a.txt"        (relative to the current folder)
//   "..\\a.txt"           => "../a.txt"
//   "Q:\\a.txt"           => nullopt, kErrorPathNotFound (Q is not mapped)
//   "\\\\server\\share\\x" => nullopt, kErrorBadNetPath   (UNC, also "\\\\?\\")
//   ""                    => nullopt, kErrorPathNotFound
//   text with a zero char => nullopt, kErrorInvalidName
//
// Doubled separators, "." and ".." are passed through for the system to
// resolve. With *resolveCase*, a path that does not exist as written is
// matched component by component the way a Windows file system would: a
// component that does not exist exactly is replaced by the one entry of its
// folder that equals it under simple case folding. When no entry or more than
// one entry matches ("Readme.txt" and "README.TXT" beside each other), the
// component and everything after it stay as written, so the caller's
// operation reports the file missing or creates it with the given name.
//
// The folder listings read for this are kept process-wide with each
// folder's modification time and read again when it changes;
// ResetFolderListingCache drops them (for tests).
QX_API std::optional<std::string> ToNativePath(std::wstring_view libraryPath, bool resolveCase = true);

// The library path for *nativePath*: '/' becomes '\\', and an absolute path
// inside a mapped drive folder gets its drive letter (the longest matching
// folder wins):
//
//   "/srv/qx/c/Data/a.txt" => "C:\\Data\\a.txt"
//   "/srv/qx/c"            => "C:\\"
//   "/srv/qx/cc/a.txt"     => "\\srv\\qx\\cc\\a.txt"
//   "Data/a.txt"           => "Data\\a.txt"
//
// Bytes that are not valid UTF-8 become the characters U+DC80..U+DCFF, which
// ToNativePath turns back into the same bytes, so every name a folder listing
// yields can be opened again.
QX_API std::wstring FromNativePath(std::string_view nativePath);

// Drops the folder listings kept for matching names without regard to case.
QX_API void ResetFolderListingCache();

// Replaces the drive map by *spec* (QX_DRIVES syntax; "" maps no drive).
QX_API void SetDriveMap(std::string_view spec);
// Drops a map set by SetDriveMap; QX_DRIVES is read again at the next use.
QX_API void ResetDriveMap();

}  // namespace qx
