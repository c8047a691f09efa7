// Packed value strings: a list of values in one line, joined by a separator,
// with the characters that would break the list or the line escaped.
//
//   values  a | b:c | x<CR><LF>y   built with ':'   gives   a:b®c:x&r&ny
//
// Inside a value a colon is stored as U+00AE (whatever the separator is), a
// carriage return as "&r" and a line feed as "&n". Reading stops at a line
// end, and a value that begins with U+2248 (≈) is read without it.
//
// Process-wide state: every CQxSubStr builds in one shared build buffer, so
// only one list can be built at a time in the whole process; a second
// AddInit discards the list in progress. Reading may interleave, since each
// object has its own cursor. Single-threaded, like the rest of the tree API.
// The buffers grow as needed: lists and values of any length are built and
// read whole.
#pragma once

#include <cstddef>

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CQxSubStr {
public:
    CQxSubStr() = default;
    ~CQxSubStr() = default;

    void AddInit(wchar_t separator);
    // *separatorText* belongs to the caller and must outlive the list.
    void AddInit(wchar_t* separatorText);
    void Add(const wchar_t* value);  // null adds nothing
    void Add(int value);             // "%d"
    void Add(const double& value);   // "0" for zero, otherwise "%g"
    // Ends the list (dropping the last separator), hands it out and empties
    // the build buffer. A list longer than a CString can hold raises
    // CMemoryException.
    void AddEnd(CString& out);

    // False when *text* is null or begins with a zero, CR or LF.
    bool GetInit(const wchar_t* text, wchar_t separator);
    // Each Get reads the next value and returns whether a further value
    // follows; past the end it keeps delivering "" and false.
    bool Get(CString& out);
    // An empty value leaves *out* as it was unless *force* (then 0).
    bool Get(int& out, bool force);
    // Commas read as decimal points; the result is rounded to 10 decimals.
    bool Get(double& out, bool force);
    // Non-zero integer value; an empty value gives false.
    bool Get(bool& out, bool flag);

    // Reading state. The write position is an index into the shared build
    // buffer, which moves when it grows.
    const wchar_t* m_readCursor = nullptr;
    size_t m_writePosition = 0;
    wchar_t m_separator = L':';                 // 0: the separator text is used
    const wchar_t* m_separatorText = nullptr;
    size_t m_separatorLength = 0;

private:
    void WriteSeparator();
};

// Static access to the one process-wide CQxSubStr.
class QX_API qxSubStrUtil {
public:
    static void AddInit(wchar_t separator);
    static void Add(const wchar_t* value);
    static void Add(int value);
    static void AddEnd(CString& out);
    static bool GetInit(const wchar_t* text, wchar_t separator);
    static bool GetInit(const wchar_t* text, wchar_t* separatorText);
    static bool Get(CString& out);
    static bool Get(int& out, bool force);
    static bool Get(double& out, bool force);
    static bool Get(bool& out, bool flag);
};

namespace qx {

// The value rounding of the packed reader: halves away from zero at the tenth
// decimal; values too large for that (|v| * 1e10 beyond 64 bits) stay as
// they are.
QX_API double RoundTo10Decimals(double value);

// The number conversions of read values: integers by the standard rule;
// doubles with commas read as points, rounded to 10 decimals. "" gives 0.
QX_API int PackedValueToInt(const CString& value);
QX_API double PackedValueToDouble(CString value);

// Puts the process-wide builder, reader and their buffers back to their
// state at load time (and releases grown buffers). For tests.
QX_API void ResetPackedValueState();

}  // namespace qx
