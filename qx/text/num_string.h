// CNumString: the text of a numeric input field, which may be a small
// formula instead of a plain number ("2*(3,5+1)" is as good as "9"). It is
// evaluated on demand; the grammar is described in formula_evaluator.h.
//
// Names in a formula resolve through macros (process-wide, see
// formula_state.h) and then through examineVariables, which a derived class
// overrides to supply values. Errors go to ErrorPrint, whose default counts
// the error and shows a message box unless Quiet(1) is in force. An override
// of ErrorPrint must call the default (or the evaluation is taken as
// successful).
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

class QX_API CNumString : public CString {
public:
    // Empty text, format "%.02f".
    CNumString();
    // A *text* containing "%." becomes the format (the text stays empty);
    // any other becomes the text as it stands, and the format stays empty.
    CNumString(const CString& text);

    // Text assignments remove leading and trailing white space.
    CNumString& operator=(const wchar_t* text);
    CNumString& operator=(wchar_t* text);
    CNumString& operator=(CString text);
    // Formatted with the format ("%.02f" when it is empty), trimmed.
    CNumString& operator=(double value);
    CNumString& operator=(float value);
    // Formatted with "%d".
    CNumString& operator=(int value);

    // 0.0 when the text is empty or the evaluation fails.
    double Value() const;
    float Float();
    // The value cut toward zero; values beyond the int range give INT_MAX or
    // INT_MIN, a failed or empty evaluation 0.
    int Int();

    // Process-wide macros: a text that is itself a formula, or a callback
    // that supplies one on demand (tried first). A macro that refers to
    // itself is a syntax error, not a crash.
    static void DefineMacro(const wchar_t* name, const wchar_t* text);
    static void DefineMacro(const wchar_t* name, int (*callback)(const CString& name, CString& text));
    static void deleteContents();
    // Non-zero silences error messages, zero undoes one such call.
    static void Quiet(int on);

    // The two virtual operations keep the family's slot order: ErrorPrint
    // first, examineVariables second.
    virtual void ErrorPrint(const CString& message);
    // Stores the value of *name* in *value* and returns non-zero, or returns
    // 0 when *name* is no variable (the default: there are none).
    virtual int examineVariables(double& value, const wchar_t* name);
    virtual ~CNumString() = default;

    CNumString(const CNumString&) = default;
    CNumString& operator=(const CNumString&) = default;

    // printf-style format of one double, used when a double is assigned.
    CString format;
    // When non-zero, the dialog exchange replaces the formula by its result
    // after a successful evaluation. The constructors set 0.
    int replaceByResult = 0;
};
