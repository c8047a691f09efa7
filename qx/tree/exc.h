// Exceptions of the tree reader. CExcRead carries one of the reader's four
// constant messages; they are not translated.
#pragma once

#include "qx/platform/base/export.h"

class QX_API CExc {
public:
    explicit CExc(const wchar_t* message) : m_message(message) {}
    virtual ~CExc();
    const wchar_t* GetMessage() const { return m_message; }

protected:
    const wchar_t* m_message;  // a constant text, never freed
};

class QX_API CExcRead : public CExc {
public:
    using CExc::CExc;
    ~CExcRead() override;
};

namespace qx {

// The reader's messages.
inline constexpr const wchar_t* kReadErrorNoStartBracket = L"Start bracket [ not found!";
inline constexpr const wchar_t* kReadErrorNoEndBracket = L"EOF reached before end bracket ] found!";
inline constexpr const wchar_t* kReadErrorLeafIncomplete = L"EOF reached before leaf complete!";
inline constexpr const wchar_t* kReadErrorWrongEnd = L"Wrong ending node!";

}  // namespace qx
