// qxStrUtil: the family's static helpers for whole text files, lists of
// lines and small string operations.
//
// Code page arguments of the file functions: 0 is the system's default 8-bit
// code page, 65001 UTF-8; the value with all bits set ((unsigned)-1) means
// UTF-16 in the writers and code page 1252 in the readers, which also map
// 3332 to 1252 and 3331 to the OEM code page. Encoded files have every byte
// shifted by the family's encoding offset (qx/text/encoded_form.h).
#pragma once

#include <string>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/list.h"

class QX_API qxStrUtil {
public:
    // Text files.
    static bool isUnicodeFile(const wchar_t* path, int encoded);
    // *text* receives a buffer from new[] that the caller frees with delete[].
    static bool readStringBufferFromFile(wchar_t*& text, const wchar_t* path, unsigned codePage, int encoded);
    static bool readStringBufferFromFile(CString& text, const wchar_t* path, unsigned codePage, int encoded);
    static bool readStringlistFromFile(CStringList& lines, const wchar_t* path, unsigned codePage, int encoded);
    static bool writeStringBufferToFile(const wchar_t* text, const wchar_t* path, bool unicode, unsigned codePage,
                                        bool encode);
    static bool writeStringlistToFile(CStringList& lines, const wchar_t* path, unsigned codePage);

    // String helpers.
    static CString SubStrLeftFromFirstOccurence(const CString& text, wchar_t ch);
    static CString SubStrLeftFromLastOccurence(const CString& text, wchar_t ch);
    static CString SubStrRightFromFirstOccurence(const CString& text, wchar_t ch);
    static CString SubStrRightFromLastOccurence(const CString& text, wchar_t ch);
    static CString GetSubStr(const wchar_t* text, long n, wchar_t separator);
    static CString GetSubStr(const wchar_t* text, long n, wchar_t* separatorText);
    static CString removeAllNonNumeric(const CString& text);
    static void FindAndReplace(CString& text, const CString& find, const CString& replace);
    static bool MatchesWildcardPattern(const wchar_t* text, const wchar_t* pattern, int caseSensitive);
    static std::string translateDecoratedName(const CString& name);
    static void bstrcpy(unsigned char* target, const wchar_t* source);
    static void bstrncpy(unsigned char* target, const wchar_t* source, unsigned n);
};
