// Registry values as the Windows registry holds them: a type number and the
// raw bytes. Text is UTF-16LE with a terminating zero, a number four bytes
// little-endian, so that any value read from a regedit export (also types
// this library never interprets) is written back byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qx/platform/base/export.h"

namespace qx {

// The three roots the library keeps.
enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine };

// Value types, with the numbers of Windows.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegResourceList = 8;
inline constexpr std::uint32_t kRegFullResourceDescriptor = 9;
inline constexpr std::uint32_t kRegResourceRequirementsList = 10;
inline constexpr std::uint32_t kRegQword = 11;

struct QX_API RegValue {
    std::uint32_t type = kRegNone;
    std::string data;

    // A text value (kRegSz or kRegExpandSz), stored with its terminating zero.
    static RegValue Text(std::wstring_view text, std::uint32_t type = kRegSz);
    static RegValue Number(std::uint32_t number);
    static RegValue Bytes(std::string bytes, std::uint32_t type = kRegBinary);

    // The text of a kRegSz or kRegExpandSz value, up to its first zero
    // (unexpanded); nullopt for other types.
    std::optional<std::wstring> AsText() const;
    // The number of a kRegDword value of at least four bytes; nullopt otherwise.
    std::optional<std::uint32_t> AsNumber() const;
    // The number of a kRegQword value of exactly eight bytes; nullopt otherwise.
    std::optional<std::uint64_t> AsQword() const;
    // The strings of a kRegMultiSz value, each ended by a zero, the list by
    // one more (a missing final zero is forgiven); an empty string inside
    // the list is kept. nullopt for other types and an odd number of bytes.
    std::optional<std::vector<std::wstring>> AsStrings() const;

    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT".
QX_API const wchar_t* RegRootName(RegRoot root);

// The root a key path begins with, with its long or short name in any case
// ("HKCU\\Software", "hkey_local_machine"); *rest* receives the path after
// the root and its separator. nullopt for other roots (HKEY_USERS) or text.
QX_API std::optional<RegRoot> SplitRegRoot(std::wstring_view path, std::wstring_view* rest = nullptr);

// The limits of Windows, in UTF-16 code units as Windows counts them: a key
// name has at most 255, a key's path below its root at most 32,767, keys
// nest at most 512 deep, and a value name has at most 16,383.
inline constexpr size_t kMaxRegKeyNameLength = 255;
inline constexpr size_t kMaxRegKeyPathLength = 32767;
inline constexpr size_t kMaxRegKeyDepth = 512;
inline constexpr size_t kMaxRegValueNameLength = 16383;

// The key path in its stored form: separators at the ends removed. nullopt
// for a path no key can have: an empty name between two separators, a name,
// path or depth beyond the limits, or a line break or zero character, which
// the file form cannot hold.
QX_API std::optional<std::wstring> NormalizeRegKey(std::wstring_view key);

// Whether *name* can be a value name ("" is the default value): within the
// length limit, and without a line break or zero character.
QX_API bool IsValidRegValueName(std::wstring_view name);

// The key path or value name folded for comparison: names compare without
// regard to case, by simple case folding.
QX_API std::wstring FoldRegName(std::wstring_view name);

}  // namespace qx
