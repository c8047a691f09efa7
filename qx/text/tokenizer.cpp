#include "qx/text/tokenizer.h"

#include <string_view>

#include "qx/platform/base/number_parse.h"

namespace {

// Calls *visit* with each token of *text* in turn until it returns true;
// returns whether one did.
template <class Visit>
bool ForEachToken(std::wstring_view text, std::wstring_view delimiter, Visit visit) {
    if (delimiter.empty()) return visit(text);
    for (size_t from = 0;;) {
        size_t at = text.find(delimiter, from);
        if (visit(text.substr(from, at == std::wstring_view::npos ? std::wstring_view::npos : at - from))) return true;
        if (at == std::wstring_view::npos) return false;
        from = at + delimiter.size();
    }
}

}  // namespace

CString GetToken(const wchar_t* text, const wchar_t* delimiter, unsigned index) {
    if (!text) return CString();
    CString token;
    unsigned i = 0;
    ForEachToken(text, delimiter ? delimiter : L"", [&](std::wstring_view t) {
        if (i++ != index) return false;
        token = std::wstring(t);
        return true;
    });
    return token;
}

int GetNotEmptyToken(const wchar_t* text, const wchar_t* delimiter, unsigned index, CString& token) {
    token = GetToken(text, delimiter, index);
    return token.IsEmpty() ? 0 : 1;
}

CTokenizer::CTokenizer(const CString& text, const CString& delimiter, int returnEmpty)
    : m_text(text), m_delimiter(delimiter), m_returnEmpty(returnEmpty), m_position(0) {}

int CTokenizer::GetNext(CString& token) {
    if (m_position == -1) {
        // The round is over: answer "no more" once, then start again.
        m_position = 0;
        token.Empty();
        return 0;
    }
    if (m_position == 0 && (m_text.IsEmpty() || m_delimiter.IsEmpty())) return 0;
    int at = m_text.Find(m_delimiter, m_position);
    if (at >= 0) {
        token = m_text.Mid(m_position, at - m_position);
        m_position = at + m_delimiter.GetLength();
    } else {
        token = m_text.Mid(m_position);
        m_position = -1;
    }
    return (m_returnEmpty || !token.IsEmpty()) ? 1 : 0;
}

int CTokenizer::GetNext(int& value) {
    if (!GetNext(m_token)) return 0;
    value = qx::ParseInt(m_token);
    return 1;
}

int CTokenizer::GetNext(double& value) {
    if (!GetNext(m_token)) return 0;
    value = qx::ParseDouble(m_token);
    return 1;
}

int CTokenizer::Contains(const CString& word, int caseSensitive) const {
    if (m_text.IsEmpty() || m_delimiter.IsEmpty()) return 0;
    return ForEachToken(m_text.str(), m_delimiter.str(), [&](std::wstring_view t) {
        CString token(std::wstring{t});
        return caseSensitive ? token == word : token.CompareNoCase(word) == 0;
    }) ? 1 : 0;
}
