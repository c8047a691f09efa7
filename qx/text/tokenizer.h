// Splitting a text at a delimiter text (matched as a whole, not as a set of
// characters).
//
//   GetToken(L"a;;b", L";", 0..3)      -> "a", "", "b", ""
//
// CTokenizer hands out the tokens one by one. After the last token it
// answers 0 once and then starts again from the beginning. Without
// returnEmpty an empty token counts as the end, so a loop over GetNext stops
// there: "a,,b" gives "a" only.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"

// Token *index* (from 0); "" when there are fewer tokens or *text* is null.
// A null or empty delimiter leaves the text one token.
QX_API CString GetToken(const wchar_t* text, const wchar_t* delimiter, unsigned index);

// *token* = GetToken(...); 1 when it is not empty.
QX_API int GetNotEmptyToken(const wchar_t* text, const wchar_t* delimiter, unsigned index, CString& token);

class QX_API CTokenizer {
public:
    CTokenizer(const CString& text, const CString& delimiter, int returnEmpty);

    // The next token: 1 when there was one (an empty one only counts with
    // returnEmpty), else 0. An empty text or delimiter has no tokens and
    // leaves *token* as it was.
    int GetNext(CString& token);
    // The next token read as a number (leading blanks, sign, digits; a comma
    // is not a decimal point); 0 with *value* unchanged when there is none.
    int GetNext(int& value);
    int GetNext(double& value);

    // Whether any token of the text equals *word* (exactly, or ignoring case
    // when *caseSensitive* is 0). Does not move the tokenizer.
    int Contains(const CString& word, int caseSensitive) const;

private:
    CString m_text;
    CString m_delimiter;
    int m_returnEmpty;
    CString m_token;   // scratch for the numeric forms
    int m_position;    // 0 at the start, -1 after the last token
};
