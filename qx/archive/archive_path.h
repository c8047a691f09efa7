// The path rules of the archive layer: how a requested path is normalised and
// where the extracted copy of a file lies in the cache folder.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

namespace qx {

// Normalises a requested path: slashes become backslashes, runs of
// backslashes after the first two characters shrink to one (a network path
// keeps its leading pair), and ".." folders are resolved:
//
//   "C:/data//sub/../a.txt"   => "C:\\data\\a.txt"
//   "\\\\srv\\share\\\\a.txt" => "\\\\srv\\share\\a.txt"
QX_API CString NormalizeArchivePath(const CString& path);

// The folder of the cache for the file *normalizedPath*, relative to the
// cache folder: its folder without drive letter, and for a network path
// without the two backslashes and the server. Empty, "." and ".." parts are
// left out, so the result never leads out of the cache:
//
//   "C:\\data\\sub\\a.txt"         => "data\\sub"
//   "\\\\srv\\share\\data\\a.txt"  => "share\\data"
//   "C:\\a.txt"                    => ""
//   "C:\\..\\..\\etc\\a.txt"       => "etc"
QX_API CString CacheRelativeFolder(const CString& normalizedPath);

// The cache folder: the temporary folder (TMPDIR) + "TempCpr", without a
// final backslash.
QX_API CString ArchiveCacheFolder();

}  // namespace qx
