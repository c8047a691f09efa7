// The parts-list data both parts-list exports write: articles, the project
// they belong to, and the list of articles in the order they are written.
// The application creates and owns the articles; a list only points at
// them, and the exports leave both the list and its articles unchanged.
#pragma once

#include "qx/platform/base/cstring.h"
#include "qx/platform/base/export.h"
#include "qx/platform/base/list.h"

class QX_API CArticle {
public:
    CArticle();
    CArticle(const CArticle& other);
    // Copies every member, the line cursor included.
    CArticle& operator=(const CArticle& other);
    ~CArticle();

    // 1 plus the line feeds of m_text (1 for an empty text).
    int GetLineCount() const;

    int m_nPos;            // position number; -1: none
    double m_dQuantity;    // quantity; -1.0: none
    CString m_unit;
    CString m_text;        // description; lines separated by line feeds
    CString m_articleNo;
    double m_dPrice;       // price; -1.0: none
    CString m_currency;
    // The family's cursor into m_text for writing it line by line; the
    // exports keep their own and leave it alone.
    int m_nLineCursor;
};

// What the headers and footers of a parts list put in for the project
// fields; each is a single space until set.
class QX_API CProjectInfo {
public:
    CProjectInfo();

    CString m_projectNo;
    CString m_projectName;
    CString m_projectDate;
};

// The articles of a parts list, in list order. The list does not own them.
class CStList : public CList<CArticle*> {
public:
    using CList<CArticle*>::CList;
};
