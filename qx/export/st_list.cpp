#include "qx/export/st_list.h"

CArticle::CArticle() : m_nPos(-1), m_dQuantity(-1.0), m_dPrice(-1.0), m_nLineCursor(0) {}

CArticle::CArticle(const CArticle& other) = default;
CArticle& CArticle::operator=(const CArticle& other) = default;
CArticle::~CArticle() = default;

int CArticle::GetLineCount() const {
    int lines = 1;
    for (wchar_t c : m_text.str()) lines += c == L'\n' ? 1 : 0;
    return lines;
}

bool CArticle::HasNextLine() const { return m_nLineCursor >= 0 && m_nLineCursor <= m_text.GetLength(); }

CString CArticle::GetNextLine() {
    if (!HasNextLine()) return CString();
    const std::wstring& text = m_text.str();
    const size_t start = static_cast<size_t>(m_nLineCursor);
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    // The cursor goes past the end after the last line.
    m_nLineCursor = static_cast<int>(end) + 1;
    if (end > start && text[end - 1] == L'\r') --end;
    return CString(text.substr(start, end - start));
}

CProjectInfo::CProjectInfo() : m_projectNo(L" "), m_projectName(L" "), m_projectDate(L" ") {}
