// Fixtures shared by the print tests: layout files in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/utf.h"
#include "qx/print/page_geometry.h"
#include "tests/support/test_support.h"

namespace qx::test {

// An object record of 28 fields: a text named *name* at (left, top), 100 x
// *height*, anchor 2 (stays).
inline std::wstring TextObject(const std::wstring& name, int top, int height = 10, int left = 0) {
    return Format(L"OBJ(0,%s,Arial,10,%d,0,0,%d,0,0,100,%d,0,0,2,0,0,0,0,0,0,%s,0,0,0,255,255,255)",
                  name.c_str(), left, top, height, name.c_str());
}

class PrintTest : public ::testing::Test {
protected:
    PrintTest() { ResetPageGeometry(); }
    ~PrintTest() override { ResetPageGeometry(); }

    // Writes *lines* (CR LF after each) in code page 1252 or as UTF-16LE with
    // its mark, and returns the file's library path.
    std::wstring WriteLines(const std::string& name, const std::vector<std::wstring>& lines, bool utf16 = false) const {
        std::wstring text;
        for (const std::wstring& line : lines) text += line + L"\r\n";
        WriteBytes(dir_.path() / name, utf16 ? "\xFF\xFE" + WideToUtf16Bytes(text, false) : WideToCodePage(text, 1252));
        return dir_.Wide(name);
    }
    std::wstring Folder() const { return dir_.path().wstring() + L"/"; }

    TempDir dir_;
};

}  // namespace qx::test
