#include "qx/print/prx_file.h"

#include "qx/platform/base/codepage.h"
#include "qx/platform/base/list.h"
#include "qx/platform/os/file_system.h"
#include "qx/print/prx_scramble.h"
#include "qx/text/str_util.h"
#include "qx/text/text_codec.h"

namespace qx {
namespace {

constexpr unsigned kLayoutCodePage = 1252;

// Code page 1252 when it carries the text unchanged, else UTF-16.
std::string EncodeLayoutText(const std::wstring& text) {
    bool lossy = false;
    std::string bytes = WideToCodePage(text, kLayoutCodePage, &lossy);
    if (!lossy && CodePageToWide(bytes, kLayoutCodePage) == text) return bytes;
    return EncodeUtf16WithMark(text);
}

}  // namespace

bool ConvertLayoutFile(const std::wstring& from, const std::wstring& to, ScrambleDirection direction,
                       std::wstring& problem) {
    CStringList lines;
    if (!qxStrUtil::readStringlistFromFile(lines, from.c_str(), kLayoutCodePage, 0)) {
        problem = L"cannot read " + from;
        return false;
    }
    std::wstring text;
    int number = 1;
    for (POSITION pos = lines.GetHeadPosition(); pos; ++number) {
        const std::wstring& line = lines.GetNext(pos).str();
        const std::wstring converted =
            direction == ScrambleDirection::kScramble ? ScrambleLine(line) : UnscrambleLine(line);
        if (converted.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos) {
            problem = L"line " + std::to_wstring(number) + L" would hold a line end or a zero character";
            return false;
        }
        text += converted;
        text += L"\r\n";
    }
    if (!WriteFileAtomically(to, EncodeLayoutText(text))) {
        problem = L"cannot write " + to;
        return false;
    }
    return true;
}

}  // namespace qx
