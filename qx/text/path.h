// CPath: a path as text, with the family's operations to split it into drive,
// folder, name and extension, replace those parts, join paths, clean them up
// and express one path relative to another.
//
// The algebra is backslash-based text on every platform, because stored data
// holds such paths; slashes are accepted as separators where said. Nothing
// here touches the file system (see path_system.h for what does).
//
// Terms: a drive is an ASCII letter and a colon at the start ("C:"); a
// network path begins with two backslashes, and its root is the text up to
// the next separator ("\\\\server"). Splitting takes the drive, then the
// folder up to and including the last backslash or slash, then the name up
// to its last point and the extension from there:
//
//   "C:\\a\\b.tar.gz"  drive "C:", folder "\\a\\", name "b.tar", extension ".gz"
//   "\\\\srv\\s\\x"      no drive, folder "\\\\srv\\s\\", name "x"
//   "a."               name "a", extension "." (GetFileExt gives "")
#pragma once

#include <utility>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/text/string_ex.h"

class QX_API CPath : public CString {
public:
    using CString::CString;
    CPath() = default;
    CPath(const CString& text) : CString(text) {}
    CPath(CString&& text) noexcept : CString(std::move(text)) {}

    CPath GetDrive() const;          // "C:" or ""
    CPath GetFilePath() const;       // drive and folder: "C:\\a\\"
    CStringEx GetFileName() const;   // "b.tar.gz"
    CStringEx GetShortFileName() const;  // "b.tar"
    CStringEx GetFileExt() const;    // "gz", without the point
    // 1 when GetFileExt equals *ext* ignoring case ("TXT" for a.txt; ".txt"
    // does not match), else 0.
    int IsFileExt(const wchar_t* ext) const;
    // 1 for "C:x", "C:\\x", "\\\\server\\x", and, since a path beginning with
    // a separator names a place from the root on POSIX, "\\x" and "/x"; 0 for
    // "x" and "".
    int IsAbsolute() const;

    // Replaces the drive letter by the first character of *drive*. A path
    // without a drive letter (relative, rooted or network) is left alone, as
    // is everything for an empty *drive*.
    void SetDrive(const wchar_t* drive);
    // The path becomes *folder* ^ GetFileName().
    void SetFilePath(const CPath& folder);
    // The path becomes GetFilePath() ^ *name*.
    void SetFileName(const wchar_t* name);
    // Replaces the name and keeps the extension: "C:\\a\\b.txt" with "c" =>
    // "C:\\a\\c.txt"; an empty *name* leaves the folder and the extension
    // ("C:\\a\\.txt").
    void SetShortFileName(const wchar_t* name);
    // Replaces the extension, given with or without its point:
    //   "C:\\a\\b.doc" with "txt" or ".txt" => "C:\\a\\b.txt"
    //   "C:\\a\\b.doc" with "", "." or null  => "C:\\a\\b"
    //   "C:\\a\\b"     with "txt"            => "C:\\a\\b.txt"
    void SetFileExt(const wchar_t* ext);

    // Cleans the path in place and returns it. The result ends with no
    // separator (except the root "\\"), and normalising it again changes
    // nothing:
    //   "C:/a//b/"             => "C:\\a\\b"
    //   " C:\\a\\.\\b\\ "      => "C:\\a\\b"
    //   "C:\\a \\ b"           => "C:\\a\\b"  (spaces beside separators go)
    //   "C:\\a\\b\\..\\c"      => "C:\\a\\c"
    //   "C:\\a\\b\\.."         => "C:\\a"
    //   "a\\..\\b"             => "b"
    //   "C:\\..\\x"            => "C:\\..\\x" (nothing above a root)
    //   "..\\a\\..\\x"         => "..\\x"
    //   "..\\x"  "a\\..b"      => unchanged ("..b" is a name)
    //   "C:\\"                 => "C:"
    //   "\\"                   => "\\"
    //   "\\\\srv\\a\\\\b"      => "\\\\srv\\a\\b"
    CPath& Normalize();
    CPath Normalized() const;
    // A copy without leading white space and without trailing backslashes,
    // slashes and white space, in any mix.
    CPath Trimmed() const;
};

// Joins two path parts with exactly one backslash between them:
//   "C:\\data" ^ "x.txt", "C:\\data\\" ^ "\\x.txt", "C:\\data" ^ "\\x.txt"
//                                       => "C:\\data\\x.txt"
//   "" ^ "x" => "x";  "C:\\data" ^ "" (or null) => "C:\\data"
QX_API CPath operator^(const CString& left, const wchar_t* right);

// *path* relative to *base*, or *path* itself when there is no relative form
// (different roots, one absolute and one not, nothing in common, or a "." or
// ".." left in *base* after the common part, whose real name is unknown):
//   "C:\\x\\q" - "C:\\x\\y\\z" => "..\\..\\q"
//   "C:\\x\\y\\z" - "C:\\x"    => "y\\z"
//   "C:\\x" - "C:\\x\\y"       => "..\\"
//   "C:\\x" - "c:\\X"          => ""
//   "D:\\x" - "C:\\x"          => "D:\\x"
QX_API CPath operator-(const CPath& path, const CPath& base);

// If *folder* is not null and *path* is not absolute, *path* moves into
// *folder* (its own folder part is replaced, not kept); then, if *ext* is not
// null and *path* has no extension, it gets *ext*.
QX_API void CompleteFileName(CPath& path, const wchar_t* folder, const wchar_t* ext);

// Removes doubled backslashes (one pass: three become two; a network path
// keeps its leading pair) and resolves ".." folders textually:
//   "C:\\a\\b\\..\\c" => "C:\\a\\c";  "a\\..\\b" => "b"
// A ".." that cannot be resolved stays: at the start ("..\\x"), after a
// root ("C:\\..\\x") or after another "..". Only a whole ".." between
// backslashes counts, so "Report..pdf" is a name.
QX_API void CleanPath(CString& path);
