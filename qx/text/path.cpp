#include "qx/text/path.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "qx/platform/base/ascii.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/os/path_split.h"

namespace {

bool HasDrive(std::wstring_view path) { return path.size() >= 2 && path[1] == L':' && qx::IsAsciiLetter(path[0]); }

bool IsNetworkPath(std::wstring_view path) { return path.starts_with(L"\\\\"); }

struct Parts {
    std::wstring_view drive, folder, name, ext;
};

Parts Split(std::wstring_view path) {
    Parts parts;
    if (HasDrive(path)) {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    parts.folder = qx::FolderPart(path);
    path.remove_prefix(parts.folder.size());
    const size_t point = path.rfind(L'.');
    parts.name = path.substr(0, point);
    if (point != std::wstring_view::npos) parts.ext = path.substr(point);
    return parts;
}

CString Text(std::wstring_view text) { return CString(std::wstring(text)); }

// operator^ on views, so that text after a zero character inside a path
// being normalised is not lost.
CPath Join(std::wstring_view left, std::wstring_view right) {
    if (left.empty()) return Text(right);
    if (right.empty()) return Text(left);
    const bool leftEnds = qx::IsPathSeparator(left.back());
    const bool rightStarts = qx::IsPathSeparator(right.front());
    std::wstring joined(left);
    if (leftEnds && rightStarts) right.remove_prefix(1);
    else if (!leftEnds && !rightStarts) joined += L'\\';
    return CPath(joined.append(right));
}

// The root operator- compares: the network root ("\\\\server") or the drive.
std::wstring_view RootOf(std::wstring_view path) {
    if (!IsNetworkPath(path)) return Split(path).drive;
    const size_t end = path.find_first_of(L"\\/", 2);
    return path.substr(0, end);
}

// The position of the first ".." that is a whole folder name (between
// backslashes or the ends of the text) at or after *from*; -1 when none.
int FindParentFolder(const CString& path, int from) {
    const std::wstring& text = path.str();
    for (size_t pos = text.find(L"..", static_cast<size_t>(from)); pos != std::wstring::npos;
         pos = text.find(L"..", pos + 1)) {
        const bool starts = pos == 0 || text[pos - 1] == L'\\';
        const bool ends = pos + 2 == text.size() || text[pos + 2] == L'\\';
        if (starts && ends) return static_cast<int>(pos);
    }
    return -1;
}

// Resolves one "..": *head* is the text before it (ending with a backslash),
// *tail* the text after it. The folder name at the end of *head* goes, unless
// there is none to leave: a root ("C:\\", "\\", "\\\\server\\"), the start of
// the text, "." or "..". A relative path stays relative: "a\\" + "\\b" gives
// "b", not "\\b", which would name a file at the root.
std::optional<CPath> ResolveParent(std::wstring_view head, std::wstring_view tail) {
    if (head.empty()) return std::nullopt;
    const std::wstring_view body = head.substr(0, head.size() - 1);
    const Parts parts = Split(body);
    const size_t keep = parts.drive.size() + parts.folder.size();
    const std::wstring_view last = body.substr(keep);
    const bool serverName = IsNetworkPath(body) && keep == 2;
    if (last.empty() || last == L"." || last == L".." || serverName) return std::nullopt;
    const std::wstring_view rest = body.substr(0, keep);
    if (rest.empty()) {
        if (!tail.empty() && tail.front() == L'\\') tail.remove_prefix(1);
        return CPath(Text(tail));
    }
    return Join(rest, tail);
}

// Resolves, from the left, every ".." that can be resolved; those that
// cannot stay and the search goes on after them.
CString ResolveParentFolders(CString path) {
    for (int from = 0, pos; (pos = FindParentFolder(path, from)) >= 0;) {
        const std::wstring_view text = path.str();
        const auto resolved =
            ResolveParent(text.substr(0, static_cast<size_t>(pos)), text.substr(static_cast<size_t>(pos) + 2));
        if (resolved) {
            path = *resolved;
            from = 0;
        } else {
            from = pos + 2;
        }
    }
    return path;
}

// The folder names of *path* after its first *rootLength* characters.
std::vector<CString> FolderNames(std::wstring_view path, size_t rootLength) {
    std::wstring_view rest = path.substr(std::min(rootLength, path.size()));
    std::vector<CString> names;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find(L'\\'), rest.size());
        if (end > 0) names.push_back(Text(rest.substr(0, end)));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return names;
}

bool IsTrimmedAtEnd(wchar_t ch) { return qx::IsPathSeparator(ch) || qx::IsSpace(ch); }

// Trimmed, except that a root ("\\", "/" or several of them) stays "\\": the
// empty path would name the current folder instead.
CPath TrimmedKeepingRoot(const CPath& path) {
    CPath trimmed = path.Trimmed();
    if (trimmed.IsEmpty() && path.FindOneOf(L"\\/") >= 0) return CPath(L"\\");
    return trimmed;
}

// Deletes *count* characters at each occurrence of *what* (from *skip* on
// inside it) at or after *from*, until none is left, as long as the path has
// at least *minLength* characters.
void DeleteRepeatedly(CString& path, const wchar_t* what, int skip, int count, int from, int minLength) {
    for (int pos; path.GetLength() >= minLength && (pos = path.Find(what, from)) >= 0;)
        path.Delete(pos + skip, count);
}

}  // namespace

CPath CPath::GetDrive() const { return Text(Split(str()).drive); }

CPath CPath::GetFilePath() const {
    const Parts parts = Split(str());
    return Text(std::wstring_view(str()).substr(0, parts.drive.size() + parts.folder.size()));
}

CStringEx CPath::GetFileName() const {
    const Parts parts = Split(str());
    return Text(std::wstring(parts.name) + std::wstring(parts.ext));
}

CStringEx CPath::GetShortFileName() const { return Text(Split(str()).name); }

CStringEx CPath::GetFileExt() const {
    const std::wstring_view ext = Split(str()).ext;
    return Text(ext.empty() ? ext : ext.substr(1));
}

int CPath::IsFileExt(const wchar_t* ext) const { return GetFileExt().CompareNoCase(ext ? ext : L"") == 0 ? 1 : 0; }

int CPath::IsAbsolute() const {
    const std::wstring& path = str();
    return HasDrive(path) || (!path.empty() && qx::IsPathSeparator(path[0])) ? 1 : 0;
}

void CPath::SetDrive(const wchar_t* drive) {
    if (drive && *drive && HasDrive(str())) SetAt(0, drive[0]);
}

void CPath::SetFilePath(const CPath& folder) { *this = folder ^ GetFileName(); }

void CPath::SetFileName(const wchar_t* name) { *this = GetFilePath() ^ name; }

void CPath::SetShortFileName(const wchar_t* name) {
    const CStringEx ext = GetFileExt();
    const bool endsWithPoint = ext.IsEmpty() && str().ends_with(L'.');
    CPath result = GetFilePath();
    if (name && *name) {
        result = result ^ name;
    } else if (!result.IsEmpty() && !qx::IsPathSeparator(result.str().back())) {
        result += L'\\';
    }
    if (!ext.IsEmpty()) result += L'.' + ext;
    else if (endsWithPoint) result += L'.';
    *this = result;
}

void CPath::SetFileExt(const wchar_t* ext) {
    const int current = GetFileExt().GetLength();
    if (current > 0) Truncate(GetLength() - current);
    if (ext && *ext && std::wstring_view(ext) != L".") {
        if (!IsEmpty() && !str().ends_with(L'.')) *this += L'.';
        *this += ext[0] == L'.' ? ext + 1 : ext;
    } else {
        TrimRight(L'.');
    }
}

CPath CPath::Trimmed() const {
    std::wstring text = str();
    size_t begin = 0;
    while (begin < text.size() && qx::IsSpace(text[begin])) ++begin;
    size_t end = text.size();
    while (end > begin && IsTrimmedAtEnd(text[end - 1])) --end;
    return CPath(text.substr(begin, end - begin));
}

CPath& CPath::Normalize() {
    Replace(L'/', L'\\');
    *this = TrimmedKeepingRoot(*this);
    // The two backslashes that open a network path are its mark; everywhere
    // else spaces beside a backslash, a doubled backslash and "\\.\\" go, in
    // this order, since each removal may only bring the next kind together
    // ("a \\ \\b" => "a\\\\b" => "a\\b").
    const int from = IsNetworkPath(str()) ? 2 : 0;
    DeleteRepeatedly(*this, L" \\", 0, 1, from, 3);
    DeleteRepeatedly(*this, L"\\ ", 1, 1, from, 3);
    DeleteRepeatedly(*this, L"\\\\", 0, 1, from, 3);
    DeleteRepeatedly(*this, L"\\.\\", 0, 2, from, 3);
    // Resolving a ".." at the end leaves a separator there, and trimming it
    // may bare white space or another "..": the two take turns until the
    // path stays as it is, so that normalising a normalised path changes
    // nothing.
    for (CPath previous; previous != *this;) {
        previous = *this;
        *this = TrimmedKeepingRoot(ResolveParentFolders(*this));
    }
    return *this;
}

CPath CPath::Normalized() const {
    CPath copy(*this);
    return copy.Normalize();
}

CPath operator^(const CString& left, const wchar_t* right) { return Join(left.str(), right ? right : L""); }

CPath operator-(const CPath& path, const CPath& base) {
    // Both are compared as normalised, so "//srv/s" counts as the network
    // path it becomes and " C:\\x" as absolute.
    const CPath from = path.Normalized(), to = base.Normalized();
    if (from.IsAbsolute() != to.IsAbsolute() || IsNetworkPath(from.str()) != IsNetworkPath(to.str())) return path;
    const std::wstring_view root = RootOf(from.str());
    if (Text(root).CompareNoCase(Text(RootOf(to.str()))) != 0) return path;

    const std::vector<CString> pathNames = FolderNames(from.str(), root.size());
    const std::vector<CString> baseNames = FolderNames(to.str(), root.size());
    size_t common = 0;
    while (common < pathNames.size() && common < baseNames.size() &&
           pathNames[common].CompareNoCase(baseNames[common]) == 0)
        ++common;
    if (common == 0) return path;
    // Going up from a "." or a ".." that normalising left in place would need
    // the name of the folder it stands for, which the text does not hold.
    for (size_t i = common; i < baseNames.size(); ++i)
        if (baseNames[i] == L"." || baseNames[i] == L"..") return path;

    CPath relative;
    for (size_t i = common; i < baseNames.size(); ++i) relative = Join(relative.str(), L"..\\");
    for (size_t i = common; i < pathNames.size(); ++i) relative = Join(relative.str(), pathNames[i].str());
    return relative;
}

void CompleteFileName(CPath& path, const wchar_t* folder, const wchar_t* ext) {
    if (folder && !path.IsAbsolute()) path.SetFilePath(CPath(folder));
    if (ext && path.GetFileExt().IsEmpty()) path.SetFileExt(ext);
}

void CleanPath(CString& path) {
    // The pairs are replaced in one pass from the left, keeping the pair
    // that marks a network path.
    const int keep = IsNetworkPath(path.str()) ? 2 : 0;
    CString rest = path.Mid(keep);
    rest.Replace(L"\\\\", L"\\");
    path = ResolveParentFolders(path.Left(keep) + rest);
}
