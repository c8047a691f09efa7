// The encoded form of whole data files: every byte shifted by the family's
// encoding offset (qx/text/encoded_form.h), no header, same length. Files
// are processed piece by piece, so a file of any size needs a fixed amount of
// memory, and the target is replaced only once it is complete (a failure
// leaves the previous target as it was; a file may be its own target).
#pragma once

#include <functional>
#include <string_view>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

// Writes the encoded form of *source* to *target*; non-zero on success. A
// read-only target is made writable first.
QX_API int Codieren(const wchar_t* source, const wchar_t* target);
// Writes the decoded form of *source* to *target*; non-zero on success.
QX_API int Decodieren(const wchar_t* source, const wchar_t* target);

// Makes a decoded copy of the encoded file that belongs to *file*: the source
// is *file*'s drive, folder and name with extension *encodedExt*, the copy is
// named with *decodedExt* and lies in *targetDir* (the source's folder when
// empty). With *full* the whole file is decoded, otherwise only its first
// 100 bytes (the rest of such files is plain). A missing source is reported
// in a message box. Returns the copy's path in every case; the caller checks
// that it exists. *unusedExt* takes no part.
QX_API CString getDeCodedFile(const CString& file, int full, const CString& unusedExt, const CString& encodedExt,
                              const CString& decodedExt, const CString& targetDir);

namespace qx {

// How many leading bytes of a head-encoded file are encoded.
inline constexpr size_t kEncodedHeadLength = 100;

// Writes *source* to *target* with its first kEncodedHeadLength bytes
// decoded and the rest copied; non-zero on success. getDeCodedFile's head
// mode for any two paths.
QX_API int DecodeHead(const wchar_t* source, const wchar_t* target);

enum class ShiftMode {
    Encode,      // Codieren
    Decode,      // Decodieren
    DecodeHead,  // DecodeHead
};

// Hands the bytes of *source*, shifted as *mode* says, to *sink* piece by
// piece (a stream, standard output). False when the source cannot be read
// or the sink returns false; the sink may then have had part of it.
QX_API bool WriteShifted(const wchar_t* source, ShiftMode mode, const std::function<bool(std::string_view)>& sink);

}  // namespace qx
