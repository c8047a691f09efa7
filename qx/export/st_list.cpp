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

CProjectInfo::CProjectInfo() : m_projectNo(L" "), m_projectName(L" "), m_projectDate(L" ") {}
